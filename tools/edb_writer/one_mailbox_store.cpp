#include "edb_writer/one_mailbox_store.h"

#include "edb_writer/store_builder.h"

namespace velmor::testdb {

void WriteOneMailboxStore(const std::filesystem::path& path) {
    StoreBuilder builder;
    Mailbox mailbox;
    mailbox.name = "Ann Walker";
    Folder top;
    top.parent = builder.AddMailbox(mailbox);
    top.name = "Top";
    builder.AddFolder(top);
    builder.WriteTo(path);
}

}  // namespace velmor::testdb
