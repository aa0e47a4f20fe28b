#pragma once

#include <filesystem>

namespace velmor::testdb {

// Writes a store of one mailbox, "Ann Walker", with one empty folder "Top": the smallest store
// a command opens, for tests about what lies beside it.
void WriteOneMailboxStore(const std::filesystem::path& path);

}  // namespace velmor::testdb
