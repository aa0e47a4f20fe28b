#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "local_time_zone.h"

namespace velmor {
namespace {

using test::RunCli;
using testdb::EntryId;
using testdb::Item;
using testdb::ItemKind;

// Points XDG_CACHE_HOME at a directory for the life of the object; the CLI inherits it.
class ScopedCacheHome {
public:
    explicit ScopedCacheHome(const std::filesystem::path& directory) {
        setenv("XDG_CACHE_HOME", directory.c_str(), 1);
    }
    ~ScopedCacheHome() { unsetenv("XDG_CACHE_HOME"); }
    ScopedCacheHome(const ScopedCacheHome&) = delete;
    ScopedCacheHome& operator=(const ScopedCacheHome&) = delete;
};

Item MailItem(std::string sender, std::string subject, uint64_t time, std::string body) {
    Item item;
    item.kind = ItemKind::Mail;
    item.sender = std::move(sender);
    item.subject = std::move(subject);
    item.time = time;
    item.content.text = std::move(body);
    return item;
}

// The message flag of a mail with attachments.
constexpr uint32_t kHasAttachmentsFlag = 0x10;

uint64_t Day(int year, int month, int day) {
    return testdb::FileTimeFromUtc(year, month, day, 12, 0, 0);
}

// One mailbox with mail, a sent folder, an archive, contacts and tasks, written once per test
// into a temporary directory whose cache the CLI uses.
class CliSearchTest : public testing::Test {
protected:
    CliSearchTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        top_ = AddFolder(builder_.AddMailbox(mailbox), "Top of Information Store", "");
        const EntryId inbox = AddFolder(top_, "Inbox", "IPF.Note");
        Item contract = MailItem("Carol Hughes", "Contract for the harbour project",
                                 Day(2007, 1, 15), "Please sign the contract before Friday.");
        contract.recipients = {{"Ann Walker"}, {"Dan Brook"}};
        contract.fields.senderEmailAddress = "carol.hughes@example.com";
        contract.fields.senderAddressType = "SMTP";
        contract.fields.displayTo = "Ann Walker; Dan Brook";
        contract.fields.displayCc = "Hugo Lamb";
        builder_.AddItem(inbox, contract);
        Item html = MailItem("Emma Fisher", "Menu", Day(2007, 2, 20), "");
        html.content.html =
            "<html><body><p>The <b>lunch</b>&nbsp;menu: soup &amp; "
            "bread</p><script>hidden()</script></body></html>";
        builder_.AddItem(inbox, html);
        builder_.AddItem(inbox, MailItem("Иван Петров", "Отчёт за квартал", Day(2007, 3, 5),
                                         "Квартальный отчёт во вложении."));
        builder_.AddItem(inbox, MailItem("山田太郎", "会議の予定", Day(2007, 4, 10),
                                         "来週の会議は東京で行います。"));
        const EntryId sent = AddFolder(top_, "Sent Items", "IPF.Note");
        Item reply = MailItem("", "Re: budget review", Day(2007, 5, 2), "Numbers attached.");
        reply.recipients = {{"Frank Norris"}};
        reply.fields.displayTo = "Frank Norris";
        reply.fields.displayBcc = "Ida Moss";
        reply.fields.flags = kHasAttachmentsFlag;
        builder_.AddItem(sent, reply);
        const EntryId archive = AddFolder(top_, "Archive", "IPF.Note");
        builder_.AddItem(archive, MailItem("Carol Hughes", "Old harbour plans", Day(2006, 6, 1),
                                           "Signed plans from last year."));
        const EntryId contacts = AddFolder(top_, "Contacts", "IPF.Contact");
        Item contact;
        contact.kind = ItemKind::Contact;
        contact.time = Day(2007, 1, 2);
        contact.contact.fullName = "Gina Harbour";
        contact.contact.firstName = "Gina";
        contact.contact.lastName = "Harbour";
        contact.contact.emailAddress = "gina@example.com";
        builder_.AddItem(contacts, contact);
        const EntryId tasks = AddFolder(top_, "Tasks", "IPF.Task");
        Item task;
        task.kind = ItemKind::Task;
        task.subject = "Call the harbour office";
        task.time = Day(2007, 1, 20);
        builder_.AddItem(tasks, task);
    }

    EntryId AddFolder(const EntryId& parent, const char* name, const char* containerClass) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = name;
        folder.containerClass = containerClass;
        return builder_.AddFolder(folder);
    }
    std::string Store() {
        builder_.WriteTo(tmp_ / "store.edb");
        return (tmp_ / "store.edb").string();
    }
    test::CliResult Search(const std::string& file, const std::string& query,
                           std::vector<std::string> options = {}) {
        std::vector<std::string> arguments = {"search"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.insert(arguments.end(), {file, "1", query});
        return RunCli(arguments, tmp_.path());
    }
    // The subjects of the matches' plain lines, sorted.
    std::vector<std::string> Subjects(const std::string& file, const std::string& query) {
        const test::CliResult result = Search(file, query);
        std::vector<std::string> subjects;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> fields;
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, '\t');) {
                fields.push_back(cell);
            }
            subjects.push_back(fields.size() > 4 ? fields[4] : "?" + line);
        }
        std::sort(subjects.begin(), subjects.end());
        EXPECT_EQ(result.exitCode, subjects.empty() ? 1 : 0) << query << ": " << result.err;
        return subjects;
    }
    std::vector<std::filesystem::path> CachedIndexes() const {
        std::vector<std::filesystem::path> found;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(tmp_ / "cache" / "velmor", error)) {
            found.push_back(entry.path());
        }
        return found;
    }

    test::ScopedTimeZone utc_{"UTC0"};
    test::TempDir tmp_;
    ScopedCacheHome cacheHome_{tmp_ / "cache"};
    testdb::StoreBuilder builder_;
    EntryId top_{};
};

using Found = std::vector<std::string>;

TEST_F(CliSearchTest, EachPrefixSearchesItsOwnField) {
    const std::string file = Store();
    EXPECT_EQ(Subjects(file, "from:hughes"),
              (Found{"Contract for the harbour project", "Old harbour plans"}));
    EXPECT_EQ(Subjects(file, "to:brook"), (Found{"Contract for the harbour project"}));
    EXPECT_EQ(Subjects(file, "to:norris"), (Found{"Re: budget review"}));
    EXPECT_EQ(Subjects(file, "cc:brook"), Found{}) << "Dan Brook is a To recipient";
    EXPECT_EQ(Subjects(file, "cc:lamb"), (Found{"Contract for the harbour project"}));
    EXPECT_EQ(Subjects(file, "bcc:moss"), (Found{"Re: budget review"}));
    EXPECT_EQ(Subjects(file, "from:\"carol.hughes@example.com\""),
              (Found{"Contract for the harbour project"}))
        << "the sender's address is searched with the name";
    EXPECT_EQ(Subjects(file, "subject:harbour"),
              (Found{"Call the harbour office", "Contract for the harbour project",
                     "Old harbour plans"}));
    EXPECT_EQ(Subjects(file, "body:year"), (Found{"Old harbour plans"}));
    EXPECT_EQ(Subjects(file, "body:lunch"), (Found{"Menu"})) << "HTML is searched as text";
    EXPECT_EQ(Subjects(file, "body:hidden"), Found{}) << "scripts are no text";
    EXPECT_EQ(Subjects(file, "folder:archive"), (Found{"Old harbour plans"}));
    EXPECT_EQ(Subjects(file, "kind:task"), (Found{"Call the harbour office"}));
    EXPECT_EQ(Subjects(file, "kind:contact harbour").size(), 1U);
    EXPECT_EQ(Subjects(file, "has:attachment"), (Found{"Re: budget review"}))
        << "the store's flag says so, though no attachment's name is known";
    EXPECT_EQ(Subjects(file, "harbour AND NOT kind:task"),
              (Found{"", "Contract for the harbour project", "Old harbour plans"}))
        << "words without a prefix search every field; the contact has no subject";
    EXPECT_EQ(
        Subjects(file, "from:hughes OR to:norris"),
        (Found{"Contract for the harbour project", "Old harbour plans", "Re: budget review"}));
    EXPECT_EQ(Subjects(file, "sign"),
              (Found{"Contract for the harbour project", "Old harbour plans"}))
        << "English stemming finds \"signed\" from \"sign\"";
}

TEST_F(CliSearchTest, DatesPhrasesScriptsAndTheOutputForms) {
    const std::string file = Store();
    EXPECT_EQ(Subjects(file, "date:2007-01-01..2007-03-31 kind:mail"),
              (Found{"Contract for the harbour project", "Menu", "Отчёт за квартал"}));
    EXPECT_EQ(Subjects(file, "from:hughes date:2006-01-01..2006-12-31"),
              (Found{"Old harbour plans"}));
    EXPECT_EQ(Subjects(file, "date:2007-04-10"), (Found{"会議の予定"}));
    EXPECT_EQ(Subjects(file, "\"sign the contract\""), (Found{"Contract for the harbour project"}));
    EXPECT_EQ(Subjects(file, "\"contract the sign\""), Found{});
    EXPECT_EQ(Subjects(file, "\"sign contract\""), Found{}) << "a word lies between";
    EXPECT_EQ(Subjects(file, "contract NEAR sign"), (Found{"Contract for the harbour project"}));
    EXPECT_EQ(Subjects(file, "contract ADJ sign"), Found{}) << "ADJ keeps the order";
    EXPECT_EQ(Subjects(file, "\"sign the contract\" OR (\"lunch menu\" NOT kind:task)"),
              (Found{"Contract for the harbour project", "Menu"}));
    EXPECT_EQ(Subjects(file, "отчёт"), (Found{"Отчёт за квартал"}));
    EXPECT_EQ(Subjects(file, "from:петров"), (Found{"Отчёт за квартал"}));
    EXPECT_EQ(Subjects(file, "会議"), (Found{"会議の予定"}));
    EXPECT_EQ(Subjects(file, "東京"), (Found{"会議の予定"}));
    EXPECT_EQ(Subjects(file, "\"会議は東京\""), (Found{"会議の予定"}));
    EXPECT_EQ(Subjects(file, "subject:\"会議の予定\""), (Found{"会議の予定"}));
    EXPECT_EQ(Subjects(file, "\"東京は会議\""), Found{});

    const test::CliResult none = Search(file, "nothingmatchesthis");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");

    const test::CliResult plain = Search(file, "from:emma");
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_TRUE(plain.out.starts_with(
        "Mailbox - Ann Walker\\Top of Information Store\\Inbox\\\t2\tmail\tEmma Fisher\tMenu\t"))
        << plain.out;
    const test::CliResult json = Search(file, "from:emma", {"--json"});
    EXPECT_TRUE(json.out.starts_with(
        "{\"path\": \"Mailbox - Ann Walker\\\\Top of Information Store\\\\Inbox\\\\\", "
        "\"no\": 2, \"kind\": \"mail\", \"sender\": \"Emma Fisher\", \"subject\": \"Menu\", "
        "\"date\": "))
        << json.out;
    const test::CliResult limited = Search(file, "harbour", {"--limit", "1"});
    EXPECT_EQ(std::count(limited.out.begin(), limited.out.end(), '\n'), 1) << limited.out;
    EXPECT_EQ(Search(file, "harbour", {"--limit", "0"}).exitCode, 2);
    EXPECT_EQ(Search(file, "\"unclosed AND (").exitCode, 0 + 1)
        << "the parser reads what it can; nothing matches";

    const std::string inbox = "Mailbox - Ann Walker\\Top of Information Store\\Inbox\\";
    const test::CliResult message = RunCli({"message", file, "1", inbox, "2"}, tmp_.path());
    EXPECT_NE(message.out.find("Subject: Menu"), std::string::npos)
        << "the row number opens the match with message: " << message.out;
}

TEST_F(CliSearchTest, TheCachedIndexFollowsTheStoreAndMemoryServesWhenItCannotBeWritten) {
    const std::string file = Store();
    EXPECT_EQ(Subjects(file, "from:hughes").size(), 2U);
    const auto built = CachedIndexes();
    ASSERT_EQ(built.size(), 1U) << "one index, in $XDG_CACHE_HOME/velmor";
    EXPECT_FALSE(std::filesystem::exists(tmp_ / "store.edb.velmor"));
    const auto builtAt = std::filesystem::last_write_time(built.front());
    EXPECT_EQ(Subjects(file, "from:hughes").size(), 2U);
    EXPECT_EQ(CachedIndexes(), built);
    EXPECT_EQ(std::filesystem::last_write_time(built.front()), builtAt) << "reused, not rebuilt";

    // The store written again in place gets an index of its own; the stale one goes.
    builder_.AddItem(builder_.folders()[1].id,
                     MailItem("Carol Hughes", "New terms", Day(2007, 6, 1), "Revised."));
    Store();
    EXPECT_EQ(Subjects(file, "from:hughes"),
              (Found{"Contract for the harbour project", "New terms", "Old harbour plans"}));
    const auto rebuilt = CachedIndexes();
    ASSERT_EQ(rebuilt.size(), 1U);
    EXPECT_NE(rebuilt.front(), built.front());

    // Removing the cache loses nothing; --no-cache writes none.
    std::filesystem::remove_all(tmp_ / "cache");
    EXPECT_EQ(Search(file, "from:hughes", {"--no-cache"}).exitCode, 0);
    EXPECT_TRUE(CachedIndexes().empty());

    // A cache that cannot be made (a file stands where its directory would be).
    std::ofstream(tmp_ / "cache") << "not a directory";
    EXPECT_EQ(Subjects(file, "new terms"), (Found{"New terms"}));
}

// A store rewritten in place with its modification time restored (touch -r) is a new store.
TEST_F(CliSearchTest, AStoreRewrittenWithItsTimeRestoredIsIndexedAgain) {
    const std::string file = Store();
    EXPECT_EQ(Subjects(file, "terms"), Found{});
    const auto size = std::filesystem::file_size(file);
    const auto time = std::filesystem::last_write_time(file);
    builder_.AddItem(builder_.folders()[1].id,
                     MailItem("Carol Hughes", "New terms", Day(2007, 6, 1), "Revised."));
    Store();
    ASSERT_EQ(std::filesystem::file_size(file), size) << "the rewritten store keeps its size";
    std::filesystem::last_write_time(file, time);
    EXPECT_EQ(Subjects(file, "terms"), Found{"New terms"});
}

// Each word of a query adds to the time Xapian takes for every other: a query has at most
// 1000 of them.
TEST_F(CliSearchTest, AQueryOfTooManyWordsIsRefusedWithTheReason) {
    const std::string file = Store();
    std::string query = "harbour";
    for (int i = 1; i < 1000; ++i) {
        query += " OR w" + std::to_string(i);
    }
    EXPECT_EQ(Subjects(file, query).size(), 4U) << "1000 words are searched";
    query += " OR w1000";
    const test::CliResult refused = Search(file, query);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("more than 1000 words"), std::string::npos) << refused.err;
}

// A cache directory that others may write is not used: the search runs on an index in memory
// and says so in one line.
TEST_F(CliSearchTest, ACacheOthersMayWriteIsRefusedWithAWarning) {
    const std::string file = Store();
    const std::filesystem::path cache = tmp_ / "cache" / "velmor";
    std::filesystem::create_directories(cache);
    std::filesystem::permissions(cache, std::filesystem::perms::all);
    const test::CliResult result = Search(file, "from:hughes");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("velmor-cli: warning: the search cache " + cache.string() +
                              " is not private"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(CachedIndexes().empty());
}

}  // namespace
}  // namespace velmor
