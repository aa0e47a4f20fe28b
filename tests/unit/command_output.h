#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace velmor::test {

// What a command printed, and its exit status (-1 when it did not run or end normally);
// RunCommand gives both streams.
struct CommandOutput {
    std::string text;
    int status = -1;
};

// What a shell command printed on its standard output, and its exit status.
inline CommandOutput RunShell(const std::string& command) {
    CommandOutput output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.text.append(buffer, count);
    }
    const int status = ::pclose(pipe);
    output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

inline CommandOutput RunCommand(const std::string& command) {
    return RunShell(command + " 2>&1");
}

// A path as one shell word.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace velmor::test
