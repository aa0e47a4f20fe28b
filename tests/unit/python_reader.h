#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velmor::test {

// Runs a Python script with the system's interpreter (the one with Debian's modules) and
// gives what it printed; the readers of exported files that share nothing with the writers.
inline std::string RunPython(const std::filesystem::path& scratch, const std::string& script,
                             const std::vector<std::string>& arguments) {
    const std::filesystem::path file = scratch / "reader.py";
    std::ofstream(file) << script;
    std::string command = std::string(VELMOR_SYSTEM_PYTHON) + " '" + file.string() + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            output.append(buffer, count);
        }
        ::pclose(pipe);
    }
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
