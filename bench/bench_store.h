#pragma once

#include <cstdint>
#include <filesystem>

namespace velmor::bench {

// The shape of a generated benchmark store.
struct BenchStoreShape {
    int mailboxes = 2000;
    int foldersPerMailbox = 10;
    int mailsPerFolder = 45;
    // One mailbox holds this many more folders, and one folder this many more mails, so that
    // the largest mailbox and folder are big too.
    int largeMailboxFolders = 0;
    int largeFolderMails = 0;
    // 0: mails without bodies. Otherwise every mail has a short text body in its record, and
    // every longBodyEvery-th one a long body kept in chunks in the long-value tree instead.
    int longBodyEvery = 0;
};

// Streams the store to path and returns its size in bytes.
uint64_t WriteBenchStore(const std::filesystem::path& path, const BenchStoreShape& shape);

// Writes the store and prints its size and the time it took; the exit status.
int WriteAndReport(const char* path, const BenchStoreShape& shape);

// Drops the file's pages from the page cache (no privileges needed), so that what follows
// reads from the disk as a first look at a store would.
void EvictFromPageCache(const char* path);

}  // namespace velmor::bench
