#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmor::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Where carve looks for message starts: at every page of a streaming file, or with --align at
// every sector of a disk image.
inline constexpr int64_t kCarvePageBytes = 4096;
inline constexpr int64_t kSectorBytes = 512;

struct CliOptions {
    std::string command;
    bool json = false;
    bool help = false;
    std::optional<std::string> formats;  // export: --format LIST
    bool version = false;
    std::optional<int> codePage;               // --code-page N: the store's 8-bit code page
    std::optional<std::string> streamingFile;  // --stm FILE: the database's streaming file
    size_t limit = 0;                          // search: --limit N, 0 for every match
    bool noCache = false;                      // search: --no-cache
    int64_t align = kCarvePageBytes;           // carve: --align 512
    std::vector<std::string> arguments;        // FILE and what follows it
};

// The parsed command line, or nothing with a one-line reason in error.
std::optional<CliOptions> ParseCommandLine(int argc, char** argv, std::string& error);

std::string UsageText();

}  // namespace velmor::cli
