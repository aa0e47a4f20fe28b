#pragma once

#include <string>

#include "discovery/processing_context.h"
#include "edb_writer/database_image.h"
#include "edb_writer/store_builder.h"
#include "recording_sink.h"
#include "temp_dir.h"

namespace velmor::test {

// A database written by the writer into a temporary file and opened, with a store, a
// recording sink and a stop flag to run processing parts on.
class OpenedDatabase {
public:
    explicit OpenedDatabase(const testdb::DatabaseImage& image) {
        image.WriteTo(path());
        Open();
    }
    explicit OpenedDatabase(const testdb::StoreBuilder& builder) {
        builder.WriteTo(path());
        Open();
    }

    std::filesystem::path path() const { return dir_ / "store.edb"; }
    void Open() { file.OpenDatabase(path()); }

    TempDir dir_;
    EdbFile file;
    RecoveredStore store;
    RecordingSink sink;
    StopFlag stop;
    ProcessingContext context{file, store, sink, stop};
};

// The bytes of a writer page as the engine sees them.
inline PageView ViewOf(const testdb::Page& page) {
    return PageView(page.bytes().data(), testdb::kPageSize);
}

}  // namespace velmor::test
