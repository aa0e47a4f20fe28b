#include "bench_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include <string>

#include "bench_command.h"
#include "edb_writer/entry_id.h"
#include "edb_writer/file_page_sink.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_writer.h"

namespace velmor::bench {

namespace {

using testdb::EntryId;

constexpr uint16_t kReplica = 1;
const char* const kFolderNames[] = {"Inbox",   "Sent Items", "Drafts",   "Deleted Items", "Outbox",
                                    "Archive", "Projects",   "Invoices", "Travel",        "Family"};

class IdSource {
public:
    EntryId Next() { return testdb::MakeEntryId(kReplica, ++counter_); }

private:
    uint64_t counter_ = 0x10000;
};

constexpr int kLongBodyLines = 30;

std::string LongBody(int number) {
    std::string body;
    for (int line = 0; line < kLongBodyLines; ++line) {
        body += "Line " + std::to_string(line) + " of the report on item " +
                std::to_string(number) + ".\r\n";
    }
    return body;
}

testdb::Item Mail(IdSource& ids, int mailbox, int number, int longBodyEvery) {
    testdb::Item mail;
    mail.id = ids.Next();
    mail.time = testdb::FileTimeFromUtc(2007, 1 + number % 12, 1 + number % 28, number % 24,
                                        number % 60, 0);
    mail.subject =
        "Quarterly report " + std::to_string(number) + " for team " + std::to_string(mailbox);
    mail.sender = "Sender " + std::to_string(number % 97);
    mail.senderAddress = "sender" + std::to_string(number % 97) + "@example.com";
    mail.recipients = {testdb::Recipient{"Recipient " + std::to_string(number % 13)}};
    if (longBodyEvery > 0) {
        mail.content.text = number % longBodyEvery == 0
                                ? LongBody(number)
                                : "Short note " + std::to_string(number) + ".";
    }
    return mail;
}

// Adds a folder under parent with its mails and returns its id.
EntryId AddFolderWithMails(testdb::StoreWriter& writer, IdSource& ids, const EntryId& parent,
                           const std::string& name, int mailbox, int mails, int longBodyEvery) {
    testdb::Folder folder;
    folder.parent = parent;
    folder.name = name;
    folder.containerClass = "IPF.Note";
    folder.id = ids.Next();
    writer.AddFolder(folder);
    for (int m = 0; m < mails; ++m) {
        writer.AddItem(folder.id, Mail(ids, mailbox, m, longBodyEvery));
    }
    return folder.id;
}

}  // namespace

uint64_t WriteBenchStore(const std::filesystem::path& path, const BenchStoreShape& shape) {
    IdSource ids;
    {
        testdb::FilePageSink sink(path);
        testdb::StoreWriter writer(sink);
        for (int b = 0; b < shape.mailboxes; ++b) {
            testdb::Mailbox mailbox;
            mailbox.name = "User " + std::to_string(b);
            mailbox.key = ids.Next();
            writer.AddMailbox(mailbox);
            const EntryId top =
                AddFolderWithMails(writer, ids, mailbox.key, "Top of Information Store", b, 0, 0);
            for (int f = 0; f < shape.foldersPerMailbox; ++f) {
                const int extraMails = (b == 0 && f == 0) ? shape.largeFolderMails : 0;
                AddFolderWithMails(writer, ids, top,
                                   kFolderNames[f % std::size(kFolderNames)] +
                                       std::string(f < 10 ? "" : " ") +
                                       (f < 10 ? "" : std::to_string(f)),
                                   b, shape.mailsPerFolder + extraMails, shape.longBodyEvery);
            }
            if (b == 1) {
                for (int f = 0; f < shape.largeMailboxFolders; ++f) {
                    AddFolderWithMails(writer, ids, top, "Case " + std::to_string(f), b, 1,
                                       shape.longBodyEvery);
                }
            }
        }
        writer.Finish();
        sink.Close();
    }
    return std::filesystem::file_size(path);
}

int WriteAndReport(const char* path, const BenchStoreShape& shape) {
    const auto start = Clock::now();
    const uint64_t size = WriteBenchStore(path, shape);
    std::printf("wrote %s: %.1f MiB in %.2f s\n", path, size / kMiB, SecondsSince(start));
    return 0;
}

void EvictFromPageCache(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

}  // namespace velmor::bench
