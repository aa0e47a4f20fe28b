#include "bench_command.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "program_arguments.h"

namespace velmor::bench {

int RunBenchCommand(int argc, char** argv, const char* program, int (*write)(const char* path),
                    int (*measure)(const char* path)) {
    const std::string usage = std::string("usage: ") + program + " write|measure PATH";
    if (const auto answer = tools::AnswerOptions(argc, argv, usage.c_str())) {
        return *answer;
    }
    if (argc == 3 && std::strcmp(argv[1], "write") == 0) {
        return write(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "measure") == 0) {
        return measure(argv[2]);
    }
    std::fprintf(stderr, "%s\n", usage.c_str());
    return 2;
}

}  // namespace velmor::bench
