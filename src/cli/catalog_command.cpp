#include <cstdio>
#include <string>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/plain_text.h"
#include "discovery/catalog_scan.h"
#include "discovery/page_grouping.h"
#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

void PrintPlain(const std::vector<CatalogEntry>& entries) {
    for (const CatalogEntry& entry : entries) {
        std::printf("%d\t%d\t%s\t%u\t%d\n", entry.tableObjectId, entry.id,
                    PlainText(entry.name).c_str(), entry.rootMarker, entry.typeOrRootPage);
    }
}

void PrintJson(const std::vector<CatalogEntry>& entries) {
    std::string out = "{\"entries\": [";
    for (size_t i = 0; i < entries.size(); ++i) {
        const CatalogEntry& entry = entries[i];
        out += i == 0 ? "" : ", ";
        out += "{\"tableObjectId\": " + std::to_string(entry.tableObjectId) +
               ", \"id\": " + std::to_string(entry.id) + ", \"name\": " + JsonString(entry.name) +
               ", \"rootMarker\": " + std::to_string(entry.rootMarker) +
               ", \"typeOrRootPage\": " + std::to_string(entry.typeOrRootPage) + "}";
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
}

}  // namespace

int RunCatalogCommand(const CliOptions& options) {
    CliSession session;
    if (!session.Open(options.arguments.front())) {
        return kExitFailure;
    }
    GroupPagesByObject(session.context());
    ScanCatalog(session.context());
    session.progress().Finish();
    const auto& entries = session.store().catalog;
    options.json ? PrintJson(entries) : PrintPlain(entries);
    return kExitOk;
}

}  // namespace velmor::cli
