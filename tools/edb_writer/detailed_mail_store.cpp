#include "edb_writer/detailed_mail_store.h"

#include "edb_writer/file_time.h"

namespace velmor::testdb {

// "Борис Петров" in the To header, encoded as a MIME word.
const char kDetailedMailHeaders[] =
    "Received: from mx.example.com by mail.example.org; Tue, 10 Apr 2007 13:39:05 +0000\r\n"
    "From: \"Carol Hughes\" <carol.hughes@example.com>\r\n"
    "To: Ann Walker <ann.walker@example.org>,\r\n"
    " =?utf-8?B?0JHQvtGA0LjRgSDQn9C10YLRgNC+0LI=?= <boris@example.ru>\r\n"
    "Cc: \"Dmitri Orlov\" <dmitri@example.ru>, audit@example.com\r\n"
    "Reply-To: Budget Team <budget@example.com>\r\n"
    "Date: Tue, 10 Apr 2007 15:39:00 +0200\r\n"
    "Subject: Budget\r\n"
    "Message-ID: <budget-1@example.com>\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"b1\"\r\n"
    "\r\n";

namespace {

// "Борис Петров", "Дмитрий Орлов"
constexpr char kBoris[] =
    "\xD0\x91\xD0\xBE\xD1\x80\xD0\xB8\xD1\x81 "
    "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2";
constexpr char kDmitri[] =
    "\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9 "
    "\xD0\x9E\xD1\x80\xD0\xBB\xD0\xBE\xD0\xB2";
constexpr char kEmmaDn[] = "/O=EXAMPLE/OU=FIRST ADMINISTRATIVE GROUP/CN=RECIPIENTS/CN=EMMA";
constexpr uint32_t kRead = 0x1;
constexpr uint32_t kHasAttachments = 0x10;

Item MakeMail(std::string sender, std::string subject, int day, std::string text) {
    Item item;
    item.kind = ItemKind::Mail;
    item.sender = std::move(sender);
    item.subject = std::move(subject);
    item.time = FileTimeFromUtc(2007, 4, day, 13, 39, 0);
    item.content.text = std::move(text);
    return item;
}

}  // namespace

StoreBuilder BuildDetailedMailStore() {
    StoreBuilder store;
    Mailbox mailbox;
    mailbox.name = "Ann Walker";
    const EntryId key = store.AddMailbox(mailbox);
    const EntryId top = store.AddFolder(MakeFolder(key, "Top of Information Store", ""));
    const EntryId inbox = store.AddFolder(MakeFolder(top, "Inbox", "IPF.Note"));
    const EntryId sent = store.AddFolder(MakeFolder(top, "Sent Items", "IPF.Note"));

    // The headers give From, To, Cc, Reply-To and Message-ID; the stored address differs.
    Item received = MakeMail("Carol Hughes", "Budget", 10, "The budget is attached.");
    received.fields.senderEmailAddress = "carol@stored.example";
    received.fields.senderAddressType = "SMTP";
    received.fields.displayTo = std::string("Ann Walker; ") + kBoris;
    received.fields.displayCc = "Dmitri Orlov";
    received.fields.internetHeaders = kDetailedMailHeaders;
    received.fields.importance = 2;
    received.fields.flags = 0;
    received.fields.size = 12345;
    received.fields.storage = BodyStorage::LongValue;
    store.AddItem(inbox, received);

    Item stored = MakeMail(kBoris, "RE: Budget", 11, "Agreed.");
    stored.fields.senderEmailAddress = "boris@example.ru";
    stored.fields.senderAddressType = "SMTP";
    stored.fields.displayTo = "Ann Walker";
    stored.fields.displayCc = std::string("Carol Hughes; ") + kDmitri;
    stored.fields.messageId = "<boris-2@example.ru>";
    stored.fields.inReplyTo = "<budget-1@example.com>";
    stored.fields.references = "<budget-1@example.com>";
    stored.fields.importance = 0;
    stored.fields.sensitivity = 2;
    stored.fields.flags = kRead | kHasAttachments;
    stored.fields.size = 2048;
    stored.fields.storage = BodyStorage::InLine;
    store.AddItem(inbox, stored);

    // Message flags of three bytes: damaged, so the read state is unknown.
    Item exchange = MakeMail("Emma Fisher", "Org chart", 12, "See the new chart.");
    exchange.fields.senderEmailAddress = kEmmaDn;
    exchange.fields.senderAddressType = "EX";
    exchange.fields.importance = 1;
    exchange.fields.rawValues = {{MessageColumn::L0e07, {0x01, 0x00, 0x00}}};
    store.AddItem(inbox, exchange);

    Item sentMail = MakeMail("Ann Walker", "Salaries", 13, "Confidential figures.");
    sentMail.recipients = {{"Carol Hughes"}};
    sentMail.fields.senderEmailAddress = "ann.walker@example.org";
    sentMail.fields.senderAddressType = "SMTP";
    sentMail.fields.displayTo = "Carol Hughes";
    sentMail.fields.displayBcc = "Frank Norris";
    sentMail.fields.importance = 2;
    sentMail.fields.sensitivity = 3;
    sentMail.fields.flags = kRead;
    store.AddItem(sent, sentMail);
    return store;
}

}  // namespace velmor::testdb
