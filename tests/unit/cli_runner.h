#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace velmor::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs velmor-cli with the arguments, with TMPDIR pointed at tmpDir; shellCommands run before
// it in the same shell (limits set with ulimit, say).
inline CliResult RunCli(const std::vector<std::string>& arguments,
                        const std::filesystem::path& tmpDir,
                        const std::string& shellCommands = "") {
    const TempDir capture;
    auto quote = [](const std::string& text) {
        std::string quoted = "'";
        for (char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    };
    std::string command =
        shellCommands + " TMPDIR=" + quote(tmpDir.string()) + " " + quote(VELMOR_CLI_PATH);
    for (const std::string& argument : arguments) {
        command += " " + quote(argument);
    }
    command += " >" + quote((capture / "out").string()) + " 2>" + quote((capture / "err").string());
    const int status = std::system(command.c_str());
    auto slurp = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    return CliResult{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(capture / "out"),
                     slurp(capture / "err")};
}

}  // namespace velmor::test
