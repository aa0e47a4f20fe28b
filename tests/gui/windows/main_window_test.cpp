// The main window: the rows of each step, the menu, help, the banner's buttons, Save and the
// end of the program.
#include <QFile>
#include <QScreen>
#include <QTest>

#include "gui_test_support.h"
#include "shell/product_web_page.h"
#include "window_test_registry.h"
#include "wizard/pane_rows.h"

namespace velmor::test {

namespace {

const QString kHelpMissing = "Help file not found, PLease reinstall software";

void WriteFile(const std::filesystem::path& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path.string()));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray ReadFile(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void eachStepGivesItsRowTheClientHeightLess150();
    void smallWindowsKeepTheRowsAsTheyWere();
    void theDividerResizesBothPanesWithTheirCaptions();
    void openActsOnlyInStepOneAndSaveOnlyInStepThree();
    void helpOpensTheDocumentBesideTheExecutable();
    void aHelpDocumentOrWebPageWithoutAProgramToOpenItSaysSo();
    void theRestoredWindowFitsTheScreen();
    void saveWritesTheRowsAsShown();
    void aConfirmedCloseOpensTheWebPageAndRemovesTheTemplate();
    void closingRightAfterBackWaitsForTheStoreToBeCleared();
    void theAboutBoxCarriesItsTitle();
};

void MainWindowTest::eachStepGivesItsRowTheClientHeightLess150() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    ui::PaneStack* stack = frame.paneStack();
    const auto check = [&](ui::PaneRow content) {
        const int h = stack->height();
        QCOMPARE(stack->RowGeometry(ui::kBannerRow), QRect(0, 0, stack->width(), 70));
        QCOMPARE(stack->RowGeometry(content), QRect(0, 71, stack->width(), h - 150));
        QCOMPARE(stack->RowGeometry(ui::kButtonBarRow).top(), 71 + h - 150 + 1);
        QCOMPARE(stack->RowGeometry(ui::kButtonBarRow).bottom(), h - 1);
        for (const ui::PaneRow row : {ui::kBrowseRow, ui::kFileRow, ui::kMailboxRow}) {
            if (row != content) {
                QCOMPARE(stack->RowGeometry(row).height(), 0);
            }
        }
    };
    check(ui::kFileRow);
    QVERIFY(frame.filePage()->isVisible());
    QVERIFY(!frame.mailboxPage()->isVisible());

    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    check(ui::kMailboxRow);
    fixture.OpenMailbox(0);
    check(ui::kBrowseRow);
    QVERIFY(frame.leftPane()->isVisible());

    frame.resize(1000, 650);
    QVERIFY(WaitFor([&] { return stack->height() < 650; }));
    check(ui::kBrowseRow);
}

void MainWindowTest::smallWindowsKeepTheRowsAsTheyWere() {
    FrameFixture fixture;
    ui::PaneStack* stack = fixture.frame().paneStack();
    const ui::RowHeights before = stack->rowHeights();
    QCOMPARE(before[ui::kFileRow], stack->height() - 150);

    fixture.frame().resize(600, fixture.frame().height() - stack->height() + 150);
    QVERIFY(WaitFor([&] { return stack->height() == 150; }));
    QVERIFY(stack->rowHeights() == before);

    fixture.frame().resize(600, fixture.frame().height() - stack->height() + 151 + 150);
    QVERIFY(WaitFor([&] { return stack->height() == 301; }));
    QCOMPARE(stack->rowHeights()[ui::kFileRow], 151);
}

void MainWindowTest::theDividerResizesBothPanesWithTheirCaptions() {
    FrameFixture fixture;
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    ui::CMainFrame& frame = fixture.frame();
    QSplitter* splitter = frame.paneStack()->browseSplitter();
    QCOMPARE(splitter->sizes().value(0), 250);
    QCOMPARE(frame.leftPane()->folderTree()->width(), 250);

    splitter->setSizes({400, splitter->width() - 400 - splitter->handleWidth()});
    QTest::qWait(20);
    QCOMPARE(frame.leftPane()->width(), 400);
    QCOMPARE(frame.leftPane()->folderTree()->geometry(),
             QRect(0, 20, 400, frame.leftPane()->height() - 20));
    // The right pane has the search box above its caption.
    const int box = frame.rightPane()->searchBox()->height();
    QCOMPARE(frame.rightPane()->searchBox()->geometry(),
             QRect(0, 0, frame.rightPane()->width(), box));
    QCOMPARE(frame.rightPane()->caption()->geometry(),
             QRect(0, box, frame.rightPane()->width(), 20));
    QCOMPARE(
        frame.rightPane()->itemView()->geometry(),
        QRect(0, box + 20, frame.rightPane()->width(), frame.rightPane()->height() - box - 20));
    QCOMPARE(frame.rightPane()->width(), splitter->width() - 400 - splitter->handleWidth());
}

void MainWindowTest::openActsOnlyInStepOneAndSaveOnlyInStepThree() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    fixture.desktop.databaseChoice = "/data/Priv1.EDB";
    QTest::mouseClick(frame.banner()->openButton(), Qt::LeftButton);
    QCOMPARE(fixture.desktop.databaseDialogs, 1);
    QCOMPARE(frame.filePage()->PathText(), QString("/data/Priv1.EDB"));
    frame.openAction()->trigger();
    QCOMPARE(fixture.desktop.databaseDialogs, 2);
    QVERIFY(!frame.saveAction()->isEnabled());

    // A cancelled dialog leaves the path as it was.
    fixture.desktop.databaseChoice.clear();
    QTest::mouseClick(frame.filePage()->browseButton(), Qt::LeftButton);
    QCOMPARE(fixture.desktop.databaseDialogs, 3);
    QCOMPARE(frame.filePage()->PathText(), QString("/data/Priv1.EDB"));

    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    QTest::mouseClick(frame.banner()->openButton(), Qt::LeftButton);
    QVERIFY(!frame.openAction()->isEnabled());
    QVERIFY(!frame.saveAction()->isEnabled());
    fixture.OpenMailbox(0);
    QTest::mouseClick(frame.banner()->openButton(), Qt::LeftButton);
    QCOMPARE(fixture.desktop.databaseDialogs, 3);
    QVERIFY(frame.saveAction()->isEnabled());
}

void MainWindowTest::helpOpensTheDocumentBesideTheExecutable() {
    FrameFixture fixture("VELMOR.EXE");
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    QTest::keyClick(&frame, Qt::Key_F1);
    QTest::mouseClick(frame.banner()->helpButton(), Qt::LeftButton);
    QCOMPARE(boxes.Texts(), QStringList({kHelpMissing, kHelpMissing}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::NoIcon);
    QCOMPARE(boxes.seen[0].caption, frame.windowTitle());
    QVERIFY(fixture.desktop.opened.isEmpty());

    WriteFile(fixture.dir / "velmor.html", "<html></html>");
    frame.helpAction()->trigger();
    QCOMPARE(boxes.seen.size(), 2);
    QCOMPARE(fixture.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(QString::fromStdString(
                                         (fixture.dir / "velmor.html").string()))}));
}

void MainWindowTest::aHelpDocumentOrWebPageWithoutAProgramToOpenItSaysSo() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    fixture.desktop.handlerFound = false;
    const auto document = fixture.dir / "velmor.html";
    WriteFile(document, "<html></html>");
    frame.helpAction()->trigger();
    QCOMPARE(boxes.Texts(), QStringList({"The help document could not be opened: " +
                                         QString::fromStdString(document.string())}));
    QCOMPARE(boxes.seen[0].caption, QString("Velmor for Exchange Server"));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::NoIcon);
    QVERIFY(boxes.seen[0].ownedByMainWindow);

    // At the end of a close the window is gone: the box stands alone.
    QVERIFY(frame.close());
    QCOMPARE(boxes.Texts().value(2),
             "The web page could not be opened: " + QString(ui::kProductWebPage));
    QCOMPARE(boxes.seen[2].caption, QString("Velmor for Exchange Server"));
    QVERIFY(!boxes.seen[2].ownedByMainWindow);
}

void MainWindowTest::theRestoredWindowFitsTheScreen() {
    RecordingDesktop desktop;
    ui::CMainFrame frame(desktop, "velmor");
    const QRect available = frame.screen()->availableGeometry();
    const QSize size(available.width() * 8 / 10, available.height() * 8 / 10);
    const QRect expected(available.left() + (available.width() - size.width()) / 2,
                         available.top() + (available.height() - size.height()) / 2, size.width(),
                         size.height());
    QCOMPARE(frame.normalGeometry(), expected);
    frame.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.normalGeometry(), expected);
    frame.showNormal();
    QVERIFY(QTest::qWaitFor([&] { return frame.geometry() == expected; }));
}

void MainWindowTest::saveWritesTheRowsAsShown() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Calendar"});

    const auto target = fixture.dir / "calendar.csv";
    fixture.desktop.saveChoice = QString::fromStdString(target.string());
    fixture.ClickNext();
    const QList<QByteArray> lines = ReadFile(target).split('\n');
    QCOMPARE(lines.value(0), QByteArray("No,Subject,Location,Date\r"));
    QVERIFY2(lines.value(1).startsWith("1,Weekly status meeting,Room 2.14,"), lines.value(1));
    QCOMPARE(lines.size(), 5);
    QVERIFY(boxes.seen.isEmpty());

    fixture.desktop.saveChoice = QString::fromStdString((fixture.dir / "no" / "x.csv").string());
    fixture.frame().saveAction()->trigger();
    QCOMPARE(boxes.seen.size(), 1);
    QVERIFY(boxes.seen[0].text.startsWith("The items could not be saved to "));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);

    // The database being read is never written, even when the user picks it.
    const auto database = fixture.dir / "Demo.edb";
    const QByteArray before = ReadFile(database);
    fixture.desktop.saveChoice = QString::fromStdString(database.string());
    fixture.frame().saveAction()->trigger();
    QCOMPARE(boxes.seen.size(), 2);
    QVERIFY(boxes.seen[1].text.startsWith("The items cannot be saved over the database"));
    QCOMPARE(ReadFile(database), before);
}

void MainWindowTest::aConfirmedCloseOpensTheWebPageAndRemovesTheTemplate() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QVERIFY(test::HoldsMessageTemplate(fixture.dir.path()));

    QVERIFY(frame.close());
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Close the Application ?"}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Question);
    QVERIFY(!frame.isVisible());
    QCOMPARE(fixture.desktop.opened, QList<QUrl>({QUrl(ui::kProductWebPage)}));
    QVERIFY(!test::HoldsMessageTemplate(fixture.dir.path()));
    QVERIFY(frame.wizard().store().mailboxes.empty());
    int folderViews = 0;
    frame.wizard().store().folderViews.ForEach([&](const FolderViewNode&) {
        ++folderViews;
        return true;
    });
    QCOMPARE(folderViews, 0);
}

void MainWindowTest::closingRightAfterBackWaitsForTheStoreToBeCleared() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.ClickBack();
    QVERIFY(frame.close());
    QVERIFY(!frame.wizard().storeClearingJob());
    QVERIFY(!frame.wizard().workers().AnyRunning());
    QCOMPARE(fixture.MailboxRows().size(), 0);
    QVERIFY(frame.wizard().store().catalog.empty());
}

void MainWindowTest::theAboutBoxCarriesItsTitle() {
    FrameFixture fixture;
    QString title;
    QColor background;
    QTimer::singleShot(50, [&] {
        QWidget* about = QApplication::activeModalWidget();
        QVERIFY(about != nullptr);
        title = about->windowTitle();
        background = about->palette().color(QPalette::Window);
        about->close();
    });
    QTest::mouseClick(fixture.frame().banner()->aboutButton(), Qt::LeftButton);
    QCOMPARE(title, QString("About Velmor for Exchange Server"));
    QCOMPARE(background, QColor(255, 254, 239));
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::MainWindowTest)
#include "main_window_test.moc"
