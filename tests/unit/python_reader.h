#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command_output.h"

namespace velmor::test {

// Runs a Python script with the system's interpreter (the one with Debian's modules) and
// gives what it printed; the readers of exported files that share nothing with the writers.
inline std::string RunPython(const std::filesystem::path& scratch, const std::string& script,
                             const std::vector<std::string>& arguments) {
    const std::filesystem::path file = scratch / "reader.py";
    std::ofstream(file) << script;
    std::string command = std::string(VELMOR_SYSTEM_PYTHON) + " " + Quoted(file.string());
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    const std::string output = RunShell(command).text;
    std::filesystem::remove(file);
    return output;
}

// The lines of a text, without their line breaks.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace velmor::test
