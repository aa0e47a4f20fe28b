#include <charconv>
#include <cstdio>
#include <string>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "cli/mailbox_tree.h"
#include "discovery/page_grouping.h"

namespace velmor::cli {

namespace {

// A whole decimal number, or nothing.
template <typename T>
std::optional<T> ParseNumber(const std::string& text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int RunLongValueCommand(const CliOptions& options) {
    const auto objectId = ParseNumber<int32_t>(options.arguments[1]);
    const auto id = ParseNumber<uint32_t>(options.arguments[2]);
    if (!objectId || !id) {
        return UsageError("OBJECTID and ID are decimal numbers");
    }
    CliSession session;
    if (!session.Open(options.arguments[0])) {
        return kExitFailure;
    }
    ProcessingContext& context = session.context();
    GroupPagesByObject(context);
    const auto value =
        context.store.longValues.Read(context.file, context.store.pageGroups, *objectId, *id);
    session.progress().Finish();
    if (!value) {
        std::fprintf(stderr, "velmor-cli: no long value %u in object %d\n", *id, *objectId);
        return kExitFailure;
    }
    std::fwrite(value->bytes.data(), 1, value->bytes.size(), stdout);
    if (value->compressed) {
        std::fputs("velmor-cli: the value is stored compressed; these are its stored bytes\n",
                   stderr);
    } else if (value->missingBytes != 0) {
        std::fprintf(stderr, "velmor-cli: %llu bytes of the value are missing\n",
                     static_cast<unsigned long long>(value->missingBytes));
    }
    if (value->capped) {
        std::fputs("velmor-cli: the value is larger than 64 MiB; it was cut there\n", stderr);
    }
    return kExitOk;
}

}  // namespace velmor::cli
