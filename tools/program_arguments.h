#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

namespace velmor::tools {

// A development program's answer to options, asked before any argument is taken as a path:
// --help (or -h) prints the usage on stdout (status 0); any other argument that starts with
// "-" is refused with the usage on stderr (status 2), so that a mistyped option never names an
// output file. Nothing when the arguments hold no option.
inline std::optional<int> AnswerOptions(int argc, char** argv, const char* usage) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::printf("%s\n", usage);
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.size() > 1 && argument.front() == '-') {
            std::fprintf(stderr, "unknown option %s\n%s\n", argv[i], usage);
            return 2;
        }
    }
    return std::nullopt;
}

}  // namespace velmor::tools
