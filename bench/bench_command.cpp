#include "bench_command.h"

#include <cstdio>
#include <cstring>

namespace velmor::bench {

int RunBenchCommand(int argc, char** argv, const char* program, int (*write)(const char* path),
                    int (*measure)(const char* path)) {
    if (argc == 3 && std::strcmp(argv[1], "write") == 0) {
        return write(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "measure") == 0) {
        return measure(argv[2]);
    }
    std::fprintf(stderr, "usage: %s write|measure PATH\n", program);
    return 2;
}

}  // namespace velmor::bench
