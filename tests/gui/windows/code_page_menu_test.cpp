// The "Code Page" menu: the choice of the 8-bit code page, remembered between runs, and the
// status line that names the code page after discovery.
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QTest>

#include "edb_writer/store_builder.h"
#include "gui_test_support.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

// Opens the menu with the mouse, moves over the entry and clicks it, as a user does.
bool ChooseWithMouse(ui::CMainFrame& frame, const QString& text) {
    QMenuBar* bar = frame.menuBar();
    QAction* menuAction = CodePageMenuAction(frame);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menuAction).center());
    QMenu* menu = menuAction->menu();
    if (!WaitFor([menu] { return menu->isVisible(); })) {
        return false;
    }
    const QPoint entry = menu->actionGeometry(CodePageAction(frame, text)).center();
    QTest::mouseMove(menu, entry);
    QTest::mouseClick(menu, Qt::LeftButton, {}, entry);
    return WaitFor([menu] { return !menu->isVisible(); });
}

QString Status(ui::CMainFrame& frame) {
    return frame.codePageStatus()->text();
}

// A Russian server's store: its mailbox and folder names are 8-bit Windows-1251 text.
std::filesystem::path WriteCyrillicStore(const std::filesystem::path& directory) {
    testdb::StoreBuilder builder;
    testdb::Mailbox mailbox;
    mailbox.name = "Иван Петров";
    mailbox.encoding = testdb::TextEncoding::Ansi1251;
    const testdb::EntryId key = builder.AddMailbox(mailbox);
    for (const char* name : {"Входящие", "Отправленные", "Удаленные", "Черновики"}) {
        testdb::Folder folder;
        folder.parent = key;
        folder.name = name;
        folder.containerClass = "IPF.Note";
        folder.encoding = testdb::TextEncoding::Ansi1251;
        builder.AddFolder(folder);
    }
    const auto path = directory / "cyrillic.edb";
    builder.WriteTo(path);
    return path;
}

}  // namespace

class CodePageMenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settings_.path().string()));
    }
    void theCodePageIsDetectedOrChosenRememberedAndShownAfterDiscovery();
    void aChoiceInStepTwoReadsTheNamesAgainAtOnce();

private:
    TempDir settings_;
};

void CodePageMenuTest::theCodePageIsDetectedOrChosenRememberedAndShownAfterDiscovery() {
    {
        FrameFixture fixture;
        ui::CMainFrame& frame = fixture.frame();
        QAction* detect = CodePageAction(frame, "&Detect");
        QVERIFY(detect != nullptr);
        QVERIFY(detect->isChecked());
        QCOMPARE(Status(frame), QString());

        fixture.OpenDatabase(WriteCyrillicStore(fixture.dir.path()));
        QCOMPARE(fixture.MailboxRows(), QStringList({"1|Mailbox - Иван Петров"}));
        QCOMPARE(Status(frame), QString("8-bit text: code page 1251 (detected)"));

        QAction* western = CodePageAction(frame, "1252 Western European");
        QVERIFY(western != nullptr);
        western->trigger();
        QVERIFY(western->isChecked());
        QVERIFY(!detect->isChecked());
    }
    // The next run starts with the choice, and the discovery reads the names in it.
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    QVERIFY(CodePageAction(frame, "1252 Western European")->isChecked());
    fixture.OpenDatabase(WriteCyrillicStore(fixture.dir.path()));
    QCOMPARE(fixture.MailboxRows(), QStringList({"1|Mailbox - Èâàí Ïåòðîâ"}));
    QCOMPARE(Status(frame), QString("8-bit text: code page 1252 (chosen)"));
    CodePageAction(frame, "&Detect")->trigger();
}

void CodePageMenuTest::aChoiceInStepTwoReadsTheNamesAgainAtOnce() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteCyrillicStore(fixture.dir.path()));
    QCOMPARE(Status(frame), QString("8-bit text: code page 1251 (detected)"));

    QVERIFY(ChooseWithMouse(frame, "1252 Western European"));
    QCOMPARE(fixture.MailboxRows(), QStringList({"1|Mailbox - Èâàí Ïåòðîâ"}));
    QCOMPARE(Status(frame), QString("8-bit text: code page 1252 (chosen)"));

    // Detect reads them in the detected page again, and says so.
    QVERIFY(ChooseWithMouse(frame, "&Detect"));
    QCOMPARE(fixture.MailboxRows(), QStringList({"1|Mailbox - Иван Петров"}));
    QCOMPARE(Status(frame), QString("8-bit text: code page 1251 (detected)"));

    // The page chosen is the one the folders are shown in.
    QVERIFY(ChooseWithMouse(frame, "1252 Western European"));
    fixture.OpenMailbox(0);
    QVERIFY(fixture.TreeItem({"Âõîäÿùèå"}) != nullptr);
    QCOMPARE(Status(frame), QString("8-bit text: code page 1252 (chosen)"));
    CodePageAction(frame, "&Detect")->trigger();
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::CodePageMenuTest)
#include "code_page_menu_test.moc"
