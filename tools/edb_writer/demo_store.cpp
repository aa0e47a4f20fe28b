#include "edb_writer/demo_store.h"

#include <string>
#include <vector>

#include "edb_writer/file_time.h"
#include "edb_writer/rtf_compressor.h"
#include "stm_writer/demo_streaming_file.h"

namespace velmor::testdb {

namespace {

struct Person {
    std::string first;
    std::string last;
    std::string name() const { return first + " " + last; }
    std::string address() const { return Lower(first) + "." + Lower(last) + "@example.com"; }

    static std::string Lower(std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return text;
    }
};

const std::vector<Person> kColleagues = {
    {"Carol", "Hughes"}, {"David", "Moore"}, {"Emma", "Fisher"}, {"Frank", "Norris"},
    {"Grace", "Palmer"}, {"Henry", "Quinn"}, {"Irene", "Shaw"},  {"James", "Turner"},
};

uint64_t Day(int month, int day, int hour, int minute) {
    return FileTimeFromUtc(2007, month, day, hour, minute, 0);
}

// Mail bodies: plain text, HTML wrapped in compressed RTF, a text long enough to be kept
// in chunks on long-value pages, and HTML beside its text.
constexpr char kBudgetText[] =
    "Hello,\r\n\r\nplease find the figures for the quarterly budget review below.\r\n"
    "Travel is 4% over plan; everything else is on track.\r\n\r\nRegards";
constexpr char kLunchRtf[] =
    "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
    "{\\*\\htmltag19 <html>}{\\*\\htmltag50 <body>}\\htmlrtf {\\htmlrtf0 "
    "{\\*\\htmltag64 <p>}Shall we meet at <i>the Italian place</i> at noon?"
    "\\htmlrtf \\par\\htmlrtf0 {\\*\\htmltag72 </p>}"
    "{\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}}}";

std::string ContractText() {
    std::string text = "The contract renewal covers the following clauses:\r\n";
    for (int clause = 1; clause <= 40; ++clause) {
        text += "Clause " + std::to_string(clause) +
                ": the terms stay as agreed in the previous contract.\r\n";
    }
    return text + "Please sign and return it by Friday.";
}

Item MakeItem(ItemKind kind, std::string subject, uint64_t time) {
    Item item;
    item.kind = kind;
    item.subject = std::move(subject);
    item.time = time;
    return item;
}

Item Mail(const Person& from, std::string subject, uint64_t time) {
    Item item = MakeItem(ItemKind::Mail, std::move(subject), time);
    item.sender = from.name();
    item.senderAddress = from.address();
    return item;
}

Item Appointment(std::string subject, std::string location, uint64_t time) {
    Item item = MakeItem(ItemKind::Appointment, std::move(subject), time);
    item.location = std::move(location);
    return item;
}

Item JournalEntry(std::string subject, std::string entryType, uint64_t time) {
    Item item = MakeItem(ItemKind::Journal, std::move(subject), time);
    item.entryType = std::move(entryType);
    return item;
}

Item Contact(const Person& person, const std::string& businessPhone) {
    Item item = MakeItem(ItemKind::Contact, "", Day(3, 1, 10, 0));
    ContactFields& contact = item.contact;
    contact.fullName = person.name();
    contact.firstName = person.first;
    contact.lastName = person.last;
    contact.businessPhone = businessPhone;
    contact.homePhone = "+1 555-0199";
    contact.mobilePhone = "+1 555-0142";
    contact.businessAddress = "1 Example Plaza, Springfield";
    contact.emailAddress = person.address();
    return item;
}

Item SentMail(const Person& owner, std::vector<Person> to, std::string subject, uint64_t time) {
    Item item = Mail(owner, std::move(subject), time);
    for (const Person& person : to) {
        item.recipients.push_back({person.name()});
    }
    return item;
}

// Returns the inbox.
EntryId AddMailFolders(StoreBuilder& store, const EntryId& top, const Person& owner, int offset) {
    const Person& a = kColleagues[offset % kColleagues.size()];
    const Person& b = kColleagues[(offset + 1) % kColleagues.size()];
    const Person& c = kColleagues[(offset + 2) % kColleagues.size()];

    const EntryId inbox = store.AddFolder(MakeFolder(top, "Inbox", "IPF.Note"));
    Item budget = Mail(a, "Quarterly budget review", Day(4, 10, 13, 39));
    budget.content.text = kBudgetText;
    store.AddItem(inbox, budget);
    Item reply = Mail(b, "Team lunch on Friday", Day(4, 11, 9, 5));
    reply.subjectPrefix = "RE: ";
    reply.content.rtf = CompressRtf(kLunchRtf);
    store.AddItem(inbox, reply);
    Item flagged = Mail(c, "Contract renewal needs your signature", Day(4, 12, 16, 20));
    flagged.flagged = true;
    flagged.content.text = ContractText();
    store.AddItem(inbox, flagged);
    Item invitation = Mail(a, "Project kick-off meeting", Day(4, 13, 8, 30));
    invitation.messageClass = "IPM.Schedule.Meeting.Request";
    invitation.content.text = "The kick-off meeting is on Monday at 9:00 in room 4.";
    invitation.content.html =
        "<html><body><p>The kick-off meeting is on <b>Monday at 9:00</b> in room 4.</p>"
        "</body></html>";
    store.AddItem(inbox, invitation);

    const EntryId projects = store.AddFolder(MakeFolder(inbox, "Projects", "IPF.Note"));
    store.AddItem(projects, Mail(b, "Website redesign: first drafts", Day(4, 2, 10, 0)));
    store.AddItem(projects, Mail(c, "Website redesign: timeline", Day(4, 3, 15, 45)));

    const EntryId sent = store.AddFolder(MakeFolder(top, "Sent Items", "IPF.Note"));
    store.AddItem(sent, SentMail(owner, {a}, "Budget figures attached", Day(4, 10, 14, 2)));
    Item everyone = SentMail(owner, kColleagues, "Office closed on Monday", Day(4, 12, 17, 0));
    everyone.recipientStorage = RecipientStorage::OutOfLine;
    store.AddItem(sent, everyone);
    Item ansi = SentMail(owner, {}, "Agenda for Thursday", Day(4, 13, 11, 15));
    ansi.recipients = {{b.name(), TextEncoding::Ansi}, {c.name(), TextEncoding::Ansi}};
    store.AddItem(sent, ansi);

    const EntryId outbox = store.AddFolder(MakeFolder(top, "Outbox", "IPF.Note"));
    store.AddItem(outbox, SentMail(owner, {b, c}, "Travel plans for May", Day(4, 14, 9, 0)));

    const EntryId drafts = store.AddFolder(MakeFolder(top, "Drafts", "IPF.Note"));
    Item draft = Mail(owner, "Notes from the supplier visit", Day(4, 9, 18, 30));
    draft.sender.clear();
    draft.senderAddress.clear();
    store.AddItem(drafts, draft);

    const EntryId deleted = store.AddFolder(MakeFolder(top, "Deleted Items", "IPF.Note"));
    store.AddItem(deleted, Mail(c, "Newsletter: April edition", Day(4, 1, 7, 0)));
    store.AddItem(deleted, Mail(a, "Parking permits", Day(3, 28, 12, 10)));
    return inbox;
}

// Internet mail that the store keeps only the list fields of: its bodies and attachments are
// in the streaming file. Two mails find their originals there by Message-ID, one by subject,
// sender and sent time; the file's other messages stay in its own entry.
constexpr char kInternetSender[] = "J\xC3\xBCrgen M\xC3\xBCller";
constexpr int kMatchedBySender = 5;     // a message with an attached message
constexpr int kMatchedById[] = {6, 7};  // a scanned document; a plain text
constexpr int kSecondsLate = 25;        // the sent time the store keeps is this much later

void AddInternetMails(StoreBuilder& store, const EntryId& inbox) {
    const std::vector<stm::CorpusMessage> messages = stm::DemoMessages();
    const auto mail = [&](int number, int seconds) {
        // The demo's messages are sent on 7 December 2026 at 08:(10+N):00 UTC.
        Item item = MakeItem(ItemKind::Mail, messages[number - 1].subject,
                             FileTimeFromUtc(2026, 12, 7, 8, 10 + number, seconds));
        item.sender = kInternetSender;
        item.senderAddress = "juergen" + std::to_string(number) + "@example.org";
        item.recipients.push_back({"Ann Smith"});
        return item;
    };
    store.AddItem(inbox, mail(kMatchedBySender, kSecondsLate));
    for (int number : kMatchedById) {
        Item item = mail(number, 0);
        item.fields.messageId = "<carve-" + std::to_string(number) + "@example.org>";
        store.AddItem(inbox, item);
    }
}

void AddOtherFolders(StoreBuilder& store, const EntryId& top, int offset) {
    const Person& a = kColleagues[offset % kColleagues.size()];
    const Person& b = kColleagues[(offset + 3) % kColleagues.size()];
    const Person& c = kColleagues[(offset + 5) % kColleagues.size()];

    const EntryId calendar = store.AddFolder(MakeFolder(top, "Calendar", "IPF.Appointment"));
    store.AddItem(calendar, Appointment("Weekly status meeting", "Room 2.14", Day(4, 16, 9, 0)));
    store.AddItem(calendar,
                  Appointment("Lunch with " + a.name(), "Harbour Cafe", Day(4, 18, 12, 30)));
    store.AddItem(calendar, Appointment("Dentist", "High Street 12", Day(4, 20, 15, 0)));

    const EntryId contacts = store.AddFolder(MakeFolder(top, "Contacts", "IPF.Contact"));
    int extension = 10 + offset;
    for (const Person* person : {&a, &b, &c}) {
        store.AddItem(contacts, Contact(*person, "+1 555-01" + std::to_string(extension++)));
    }

    const EntryId tasks = store.AddFolder(MakeFolder(top, "Tasks", "IPF.Task"));
    store.AddItem(tasks, MakeItem(ItemKind::Task, "Send the quarterly report", Day(4, 17, 17, 0)));
    store.AddItem(tasks,
                  MakeItem(ItemKind::Task, "Book flights for the conference", Day(4, 19, 12, 0)));

    const EntryId notes = store.AddFolder(MakeFolder(top, "Notes", "IPF.StickyNote"));
    store.AddItem(notes,
                  MakeItem(ItemKind::StickyNote, "Call " + b.first + " back about the invoice",
                           Day(4, 11, 8, 15)));
    store.AddItem(notes, MakeItem(ItemKind::StickyNote, "Wi-Fi password is on the whiteboard",
                                  Day(4, 12, 8, 45)));

    const EntryId journal = store.AddFolder(MakeFolder(top, "Journal", "IPF.Journal"));
    store.AddItem(journal, JournalEntry("Call with " + c.name(), "Phone call", Day(4, 10, 11, 0)));
    store.AddItem(journal, JournalEntry("Design review", "Meeting", Day(4, 12, 14, 0)));
}

// The mailbox whose inbox holds the Internet mail: the second, which fewer examples use.
constexpr size_t kInternetMailOwner = 1;

}  // namespace

StoreBuilder BuildDemoStore() {
    StoreBuilder store;
    const std::vector<Person> owners = {{"Ann", "Walker"}, {"Ben", "Carter"}};
    for (size_t i = 0; i < owners.size(); ++i) {
        Mailbox mailbox;
        mailbox.name = owners[i].name();
        const EntryId key = store.AddMailbox(mailbox);
        const EntryId top = store.AddFolder(MakeFolder(key, "Top of Information Store", ""));
        const int offset = static_cast<int>(i) * 4;
        const EntryId inbox = AddMailFolders(store, top, owners[i], offset);
        AddOtherFolders(store, top, offset);
        if (i == kInternetMailOwner) {
            AddInternetMails(store, inbox);
        }
    }
    return store;
}

}  // namespace velmor::testdb
