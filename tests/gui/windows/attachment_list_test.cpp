// The attachments of a mail in its message window: listed with name, type and size, saved one
// at a time or all at once through the file dialogs.
#include <QLabel>
#include <QTest>
#include <QTreeView>

#include "attachment_list.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "gui_test_support.h"
#include "message_window.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

const QString kEntry = "Recovered from the streaming file";
// The demo streaming file's fourth message carries three attachments of this size.
constexpr int kAttachmentBytes = 4030;

ui::MessageWindow* OpenRow(FrameFixture& fixture, int row) {
    QTreeView* view = fixture.frame().rightPane()->itemView();
    const QModelIndex index = view->model()->index(row, 2);
    view->setCurrentIndex(index);
    emit view->activated(index);
    const auto windows = fixture.frame().findChildren<ui::MessageWindow*>();
    return windows.isEmpty() ? nullptr : windows.last();
}

QStringList Rows(const QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows.append(item->text(0) + "|" + item->text(1));
    }
    return rows;
}

}  // namespace

class AttachmentListTest : public QObject {
    Q_OBJECT

private slots:
    void aCarvedMailListsItsAttachmentsAndSavesOneOrAll();
    void aMailOfTheDatabaseShowsNoAttachmentList();
    void aMailMatchedInTheStreamingFileShowsItsOriginalAndItsAttachments();
};

void AttachmentListTest::aCarvedMailListsItsAttachmentsAndSavesOneOrAll() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    WriteDemoStreamingFile(fixture.dir / "Demo.stm");
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(2);
    fixture.ListFolder({kEntry});

    ui::MessageWindow* window = OpenRow(fixture, 3);
    QVERIFY(window != nullptr);
    auto* attachments = window->findChild<ui::AttachmentList*>();
    QVERIFY(attachments != nullptr);
    QVERIFY(attachments->isVisible());
    QCOMPARE(Rows(attachments->list()),
             QStringList({"attachment-1.bin|application/pdf", "attachment-2.bin|image/png",
                          "attachment-3.bin|application/octet-stream"}));
    QVERIFY(!attachments->list()->topLevelItem(0)->text(2).isEmpty());

    // One: the dialog offers its name; a cancelled dialog writes nothing.
    attachments->list()->setCurrentItem(attachments->list()->topLevelItem(1));
    fixture.desktop.attachmentChoice.clear();
    QTest::mouseClick(attachments->saveButton(), Qt::LeftButton);
    QCOMPARE(fixture.desktop.offeredAttachmentName, QString("attachment-2.bin"));
    const auto one = fixture.dir / "picture.png";
    fixture.desktop.attachmentChoice = QString::fromStdString(one.string());
    QTest::mouseClick(attachments->saveButton(), Qt::LeftButton);
    QCOMPARE(std::filesystem::file_size(one), static_cast<uintmax_t>(kAttachmentBytes));
    // A second save over it replaces it, as the dialog asked.
    QTest::mouseClick(attachments->saveButton(), Qt::LeftButton);
    QCOMPARE(std::filesystem::file_size(one), static_cast<uintmax_t>(kAttachmentBytes));
    QVERIFY(!std::filesystem::exists(fixture.dir / "picture (2).png"));

    // All: each under its own name, numbered when the name is taken.
    const auto all = fixture.dir / "all";
    std::filesystem::create_directory(all);
    fixture.desktop.directoryChoice = QString::fromStdString(all.string());
    QTest::mouseClick(attachments->saveAllButton(), Qt::LeftButton);
    QVERIFY(boxes.seen.isEmpty());
    // The second time every name is taken, and the window says which names it used.
    QTest::mouseClick(attachments->saveAllButton(), Qt::LeftButton);
    for (const char* name :
         {"attachment-1.bin", "attachment-2.bin", "attachment-3.bin", "attachment-1 (2).bin"}) {
        QVERIFY2(std::filesystem::file_size(all / name) == kAttachmentBytes, name);
    }
    QVERIFY(WaitFor([&] { return boxes.seen.size() == 1; }));
    QCOMPARE(boxes.seen.last().icon, QMessageBox::Information);
    QCOMPARE(boxes.seen.last().text,
             QString("These names were taken in %1, so other names were used:\n"
                     "attachment-1.bin was saved as attachment-1 (2).bin\n"
                     "attachment-2.bin was saved as attachment-2 (2).bin\n"
                     "attachment-3.bin was saved as attachment-3 (2).bin")
                 .arg(fixture.desktop.directoryChoice));

    // The database itself is never written over.
    fixture.desktop.attachmentChoice = QString::fromStdString((fixture.dir / "Demo.edb").string());
    const auto databaseSize = std::filesystem::file_size(fixture.dir / "Demo.edb");
    QTest::mouseClick(attachments->saveButton(), Qt::LeftButton);
    QVERIFY(WaitFor([&] { return boxes.seen.size() == 2; }));
    QVERIFY(boxes.seen.last().text.startsWith("The attachment could not be saved"));
    QCOMPARE(std::filesystem::file_size(fixture.dir / "Demo.edb"), databaseSize);

    // A carved mail without attachments shows no list.
    ui::MessageWindow* plain = OpenRow(fixture, 0);
    QVERIFY(plain != nullptr && plain != window);
    QVERIFY(plain->findChild<ui::AttachmentList*>() == nullptr);
}

void AttachmentListTest::aMailOfTheDatabaseShowsNoAttachmentList() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    WriteDemoStreamingFile(fixture.dir / "Demo.stm");
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    ui::MessageWindow* window = OpenRow(fixture, 0);
    QVERIFY(window != nullptr);
    QVERIFY(window->findChild<ui::AttachmentList*>() == nullptr);
}

void AttachmentListTest::aMailMatchedInTheStreamingFileShowsItsOriginalAndItsAttachments() {
    FrameFixture fixture;
    testdb::StoreBuilder builder;
    testdb::Mailbox mailbox;
    mailbox.name = "Ann Walker";
    testdb::Folder top;
    top.parent = builder.AddMailbox(mailbox);
    top.name = "Top";
    testdb::Folder inbox;
    inbox.parent = builder.AddFolder(top);
    inbox.name = "Inbox";
    inbox.containerClass = "IPF.Note";
    const auto inboxId = builder.AddFolder(inbox);
    // The Message-ID of the demo streaming file's fourth message.
    testdb::Item mail;
    mail.subject = "As the store lists it";
    mail.sender = "Someone";
    mail.time = testdb::FileTimeFromUtc(2026, 12, 7, 8, 14, 0);
    mail.fields.messageId = "<carve-4@example.org>";
    mail.content.text = "Stored text";
    builder.AddItem(inboxId, mail);
    builder.WriteTo(fixture.dir / "Store.edb");
    WriteDemoStreamingFile(fixture.dir / "Store.stm");
    fixture.OpenDatabase(fixture.dir / "Store.edb");
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top", "Inbox"});

    ui::MessageWindow* window = OpenRow(fixture, 0);
    QVERIFY(window != nullptr);
    bool noted = false;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        noted = noted || label->text() == "Body and attachments from the streaming file.";
    }
    QVERIFY(noted);
    auto* attachments = window->findChild<ui::AttachmentList*>();
    QVERIFY(attachments != nullptr);
    QCOMPARE(attachments->list()->topLevelItemCount(), 3);
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::AttachmentListTest)
#include "attachment_list_test.moc"
