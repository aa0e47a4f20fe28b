// The streaming file in the window: its box in step 1, its entry below the mailboxes in step 2
// and, opened, one mail folder whose carved messages list, open and export.
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "gui_test_support.h"
#include "message_window.h"
#include "window_test_registry.h"
#include "wizard/wizard_flow.h"

namespace velmor::test {

namespace {

const QString kEntry = "Recovered from the streaming file";
const QString kCarveStatus = "Reading the streaming file...";

int FilesEndingIn(const std::filesystem::path& directory, const std::string& extension) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        count += entry.path().extension() == extension ? 1 : 0;
    }
    return count;
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class StreamingEntryTest : public QObject {
    Q_OBJECT

private slots:
    void theStreamingBoxFollowsTheDatabaseUntilTheUserGivesOne();
    void theEntryBelowTheMailboxesListsOpensAndExportsTheCarvedMessages();
    void anEmptyStreamingBoxAddsNoEntry();
    void theCarveShowsItsProgressAndStopsOnStop();
};

void StreamingEntryTest::theStreamingBoxFollowsTheDatabaseUntilTheUserGivesOne() {
    FrameFixture fixture;
    ui::C1FirstView* page = fixture.frame().filePage();
    const auto database = WriteDemoDatabase(fixture.dir.path());
    const auto streaming = fixture.dir / "Demo.STM";
    WriteDemoStreamingFile(streaming);
    const auto lone = fixture.dir / "Lone.edb";
    std::filesystem::copy_file(database, lone);
    QVERIFY(page->streamingBox()->isVisible());
    QVERIFY(page->StreamingPathText().isEmpty());

    // Beside the database in any letter case; a database with none empties the box.
    page->pathBox()->setPlainText(QString::fromStdString(database.string()));
    QCOMPARE(page->StreamingPathText(), QString::fromStdString(streaming.string()));
    page->pathBox()->setPlainText(QString::fromStdString(lone.string()));
    QVERIFY(page->StreamingPathText().isEmpty());

    // The user's own path stays while the database changes; emptied, the box follows again.
    page->streamingBox()->setFocus();
    QTest::keyClicks(page->streamingBox(), "/elsewhere/Other.stm");
    page->pathBox()->setPlainText(QString::fromStdString(database.string()));
    QCOMPARE(page->StreamingPathText(), QString("/elsewhere/Other.stm"));
    page->streamingBox()->selectAll();
    QTest::keyClick(page->streamingBox(), Qt::Key_Delete);
    page->pathBox()->setPlainText(QString::fromStdString(database.string()));
    QCOMPARE(page->StreamingPathText(), QString::fromStdString(streaming.string()));

    // The browse button's choice is the user's own too; a cancelled dialog changes nothing.
    fixture.desktop.streamingChoice.clear();
    QTest::mouseClick(page->streamingBrowseButton(), Qt::LeftButton);
    QCOMPARE(page->StreamingPathText(), QString::fromStdString(streaming.string()));
    fixture.desktop.streamingChoice = "/chosen/Picked.stm";
    QTest::mouseClick(page->streamingBrowseButton(), Qt::LeftButton);
    page->pathBox()->setPlainText(QString::fromStdString(lone.string()));
    QCOMPARE(page->StreamingPathText(), QString("/chosen/Picked.stm"));
}

void StreamingEntryTest::theEntryBelowTheMailboxesListsOpensAndExportsTheCarvedMessages() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    BoxAnswerer boxes;
    const auto database = WriteDemoDatabase(fixture.dir.path());
    WriteDemoStreamingFile(fixture.dir / "Demo.stm");

    fixture.OpenDatabase(database);
    QCOMPARE(fixture.MailboxRows(),
             QStringList({"1|Mailbox - Ann Walker", "2|Mailbox - Ben Carter", "3|" + kEntry}));

    fixture.OpenMailbox(2);
    QCOMPARE(frame.wizardStep(), 3);
    QTreeWidget* tree = frame.leftPane()->folderTree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), kEntry);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
    QVERIFY(tree->topLevelItem(0)->isExpanded());

    fixture.ListFolder({kEntry});
    QCOMPARE(frame.rightPane()->itemList()->Headings().join('|'),
             QString("No|From|Subject|Date/Time|Attachments|Status"));
    const QStringList rows = fixture.ItemRows();
    // Three of the file's eight messages are the originals of mails in the demo's second
    // mailbox: they are listed there, not here.
    QCOMPARE(rows.size(), 5);
    QVERIFY2(rows[3].startsWith("4|Jürgen Müller <juergen4@example.org>|the café regards Müller|"),
             qPrintable(rows[3]));
    QVERIFY2(rows[3].endsWith("|3|complete"), qPrintable(rows[3]));
    QVERIFY2(rows[4].endsWith("|incomplete: multipart not closed"), qPrintable(rows[4]));

    // A row opens as a message window, its body read again from the streaming file.
    QTreeView* view = frame.rightPane()->itemView();
    const QModelIndex fourth = view->model()->index(3, 2);
    view->setCurrentIndex(fourth);
    emit view->activated(fourth);
    auto* window = frame.findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("the café regards Müller"));
    QCOMPARE(window->headerLabel(1)->text(), QString("Ann Smith <ann@example.net>"));
    QVERIFY(window->bodyView()->toPlainText().contains("meeting regards straße Zürich."));
    QVERIFY(window->noteLabel()->text().contains("streaming file"));
    window->close();
    const QModelIndex fifth = view->model()->index(4, 2);
    emit view->activated(fifth);
    auto* cut = frame.findChildren<ui::MessageWindow*>().last();
    QVERIFY(cut->noteLabel()->text().contains("incomplete: multipart not closed"));
    cut->close();

    // The checked folder exports as .eml files and one mbox file, the messages as carved, and
    // as a list and a PST file like a mailbox's mail folder.
    fixture.ClickCheckBox(tree->topLevelItem(0)->child(0));
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.wizard().ExportAllowed(); }));
    ui::ExportChoice choice;
    choice.directory = fixture.dir / "out";
    choice.formats.eml = true;
    choice.formats.mbox = true;
    choice.formats.csv = true;
    choice.formats.pst = true;
    choice.formats.vcard = false;
    choice.formats.icalendar = false;
    frame.wizard().ExportCheckedFolders(choice);
    QVERIFY(WaitFor([&] { return !frame.wizard().exportJob() && !boxes.seen.isEmpty(); }));
    QVERIFY2(boxes.seen.last().text.startsWith("5 items of 1 folder were written"),
             qPrintable(boxes.seen.last().text));
    const auto written = choice.directory / kEntry.toStdString();
    QCOMPARE(FilesEndingIn(written, ".eml"), 5);
    const std::string fourthMail = Contents(written / "00004.eml");
    QVERIFY(fourthMail.find("Subject:") != std::string::npos);
    QVERIFY(Contents(written / "folder.mbox").find(fourthMail.substr(0, 200)) != std::string::npos);
    const std::string list = Contents(written / "items.csv");
    QCOMPARE(std::count(list.begin(), list.end(), '\n'), 5 + 1);
    const auto pst = choice.directory / (kEntry.toStdString() + ".pst");
    QVERIFY(std::filesystem::exists(pst));
    QVERIFY2(boxes.seen.last().text.contains(QString::fromStdString(pst.string())),
             qPrintable(boxes.seen.last().text));

    // Back in step 2 the entry opens again; back in step 1 a new run starts from nothing.
    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return frame.wizardStep() == 2 && fixture.Idle(); }));
    fixture.OpenMailbox(0);
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("Mailbox - Ann Walker"));
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QCOMPARE(fixture.ItemRows().size(), 4);
}

void StreamingEntryTest::anEmptyStreamingBoxAddsNoEntry() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    const auto database = WriteDemoDatabase(fixture.dir.path());
    WriteDemoStreamingFile(fixture.dir / "Demo.stm");
    ui::C1FirstView* page = fixture.frame().filePage();
    page->pathBox()->setPlainText(QString::fromStdString(database.string()));
    page->streamingBox()->clear();
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return fixture.frame().wizardStep() == 2 && fixture.Idle(); }));
    QCOMPARE(fixture.MailboxRows().size(), 2);
    QVERIFY(boxes.seen.isEmpty());

    // A path that names no file adds none either, and a message says so.
    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return fixture.frame().wizardStep() == 1 && fixture.Idle(); }));
    page->streamingBox()->setText(QString::fromStdString((fixture.dir / "None.stm").string()));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return fixture.frame().wizardStep() == 2 && fixture.Idle(); }));
    QCOMPARE(fixture.MailboxRows().size(), 2);
    QCOMPARE(boxes.Texts(),
             QStringList({"The streaming file could not be read: " +
                          QString::fromStdString((fixture.dir / "None.stm").string())}));
}

// The carve follows the discovery on its worker: the bar shows its status and progress, and a
// stop keeps the mailboxes and the messages carved before it (here none: it stops at its
// first test), adding no entry and no message about the file.
void StreamingEntryTest::theCarveShowsItsProgressAndStopsOnStop() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    const auto database = WriteDemoDatabase(fixture.dir.path());
    WriteDemoStreamingFile(fixture.dir / "Demo.stm");
    // The worker waits at the carve's first stop test while the question is open.
    auto opened = std::make_shared<bool>(false);
    QObject::connect(frame.buttonBar(), &ui::CBackNextView::refreshed, &frame, [&frame, opened] {
        if (!*opened && frame.buttonBar()->scanStatus()->text() == kCarveStatus) {
            *opened = true;
            frame.wizard().stopFlag().openQuestion();
        }
    });
    frame.filePage()->pathBox()->setPlainText(QString::fromStdString(database.string()));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    QVERIFY(WaitFor([&] { return frame.buttonBar()->scanProgress()->isVisible(); }));
    QVERIFY(frame.buttonBar()->scanStatus()->isVisible());
    QVERIFY(frame.buttonBar()->stopButton()->isVisible());
    fixture.ClickStop();
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(frame.wizardStep(), 2);
    QCOMPARE(fixture.MailboxRows(),
             QStringList({"1|Mailbox - Ann Walker", "2|Mailbox - Ben Carter"}));
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Stop the Recovery Process ?"}));
    QVERIFY(!frame.wizard().stopFlag().isSet());
    QVERIFY(!frame.buttonBar()->scanProgress()->isVisible());

    // A new run carves the whole file again.
    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return frame.wizardStep() == 1 && fixture.Idle(); }));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return frame.wizardStep() == 2 && fixture.Idle(); }));
    QCOMPARE(fixture.MailboxRows().size(), 3);
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::StreamingEntryTest)
#include "streaming_entry_test.moc"
