#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include <fstream>
#include <iterator>

#include "back_next_view.h"
#include "export_dialog.h"
#include "gui_test_support.h"
#include "message_window.h"
#include "search/search_worker.h"
#include "window_test_registry.h"

namespace velmor::test {

// The search box above step 3's item list: Enter lists the mailbox's matches with their
// folders, a match opens as a listed mail does, Escape brings the folder's listing back.
class SearchBoxTest : public QObject {
    Q_OBJECT

private slots:
    void enterListsMatchesThatOpenAndEscapeReturnsToTheFolder();
    void exportSearchResultsWritesOnlyTheMatches();
    void aQueryThatCannotBeReadSaysSoInTheStatus();
    void noMatchesAreNamedEscapeInTheListEndsTheSearchAndAnotherMailboxStartsAfresh();
    void theStreamingEntrySearchesItsMessages();
};

void SearchBoxTest::enterListsMatchesThatOpenAndEscapeReturnsToTheFolder() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((fixture.dir / "cache").string()));
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    const QStringList inboxRows = fixture.ItemRows();
    ui::CRightView& pane = *fixture.frame().rightPane();
    const QStringList inboxHeadings = pane.itemList()->Headings();

    QTest::keyClick(&fixture.frame(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(pane.searchBox()->hasFocus());
    QTest::keyClicks(pane.searchBox(), "from:hughes");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && pane.itemList()->rowCount() > 0; }));
    QCOMPARE(pane.itemList()->Headings(), inboxHeadings + QStringList{"Folder"});
    const QStringList matches = fixture.ItemRows();
    QVERIFY2(matches.filter("Carol Hughes|Quarterly budget review|").size() == 1,
             qPrintable(matches.join('\n')));
    const int budget = static_cast<int>(
        matches.indexOf(matches.filter("Carol Hughes|Quarterly budget review|").front()));
    QVERIFY(pane.itemList()->RowTexts(budget).last().endsWith("\\Inbox\\"));
    QVERIFY(matches.size() < inboxRows.size() + 2);

    QTreeView* view = pane.itemView();
    const QModelIndex match = view->model()->index(budget, 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(match).center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(match).center());
    auto* window = fixture.frame().findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("Quarterly budget review"));
    QVERIFY(window->bodyView()->toPlainText().contains("Travel is 4% over plan"));
    window->close();

    pane.searchBox()->setText("nothingmatchesthis");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && pane.itemList()->rowCount() == 0; }));

    pane.searchBox()->setFocus();
    QTest::keyClick(pane.searchBox(), Qt::Key_Escape);
    QVERIFY(pane.searchBox()->text().isEmpty());
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows() == inboxRows; }));
    QCOMPARE(pane.itemList()->Headings(), inboxHeadings);
    QVERIFY(boxes.seen.isEmpty());
}

void SearchBoxTest::exportSearchResultsWritesOnlyTheMatches() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((fixture.dir / "cache").string()));
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    QVERIFY(!frame.exportMatchesAction()->isEnabled());
    ui::CRightView& pane = *frame.rightPane();
    pane.searchBox()->setText("from:hughes kind:mail");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && pane.itemList()->rowCount() == 3; }));
    QVERIFY(WaitFor([&] { return frame.exportMatchesAction()->isEnabled(); }));

    const auto out = fixture.dir / "found";
    QString title;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<ui::CExportDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        title = dialog->windowTitle();
        dialog->directoryBox()->setText(QString::fromStdString(out.string()));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    frame.exportMatchesAction()->trigger();
    QCOMPARE(title, QString("Export Search Results"));
    QVERIFY(WaitFor([&] { return boxes.seen.size() == 1 && fixture.Idle(); }));
    QCOMPARE(boxes.seen[0].text, QString("3 items of 2 folders were written to %1.")
                                     .arg(QString::fromStdString(out.string())));
    std::ifstream csv(out / "Top of Information Store" / "Inbox" / "items.csv");
    const std::string inbox{std::istreambuf_iterator<char>(csv), {}};
    QVERIFY(inbox.find("Quarterly budget review") != std::string::npos);
    QVERIFY(inbox.find("Project kick-off meeting") != std::string::npos);
    QVERIFY2(inbox.find("Team lunch") == std::string::npos, inbox.c_str());
    QVERIFY(std::filesystem::exists(out / "Top of Information Store" / "Deleted Items"));

    // A click on a folder ends the search: nothing is left to export.
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QVERIFY(!frame.exportMatchesAction()->isEnabled());
}

void SearchBoxTest::aQueryThatCannotBeReadSaysSoInTheStatus() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((fixture.dir / "cache").string()));
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    ui::CRightView& pane = *fixture.frame().rightPane();
    QLabel* status = fixture.frame().buttonBar()->itemStatus();

    pane.searchBox()->setText("budget OR");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && status->isVisible(); }));
    QCOMPARE(status->toolTip(), QString::fromStdU16String(kUnreadableSearchStatus));
    QCOMPARE(pane.itemList()->rowCount(), 0);

    pane.searchBox()->setText("from:hughes");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && pane.itemList()->rowCount() > 0; }));
    QVERIFY(!status->isVisible());
    QVERIFY(boxes.seen.isEmpty());
}

void SearchBoxTest::noMatchesAreNamedEscapeInTheListEndsTheSearchAndAnotherMailboxStartsAfresh() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((fixture.dir / "cache").string()));
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    const QStringList inboxRows = fixture.ItemRows();
    ui::CRightView& pane = *fixture.frame().rightPane();

    QTest::keyClick(&fixture.frame(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(pane.searchBox(), "nothingmatchesthis");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && !pane.caption()->text().isEmpty(); }));
    QCOMPARE(pane.caption()->text(), QString("No items match \"nothingmatchesthis\""));
    QCOMPARE(pane.itemList()->rowCount(), 0);

    // Matches forget the note; Escape in their list, as in the box, lists the folder again.
    pane.searchBox()->selectAll();
    QTest::keyClicks(pane.searchBox(), "from:hughes");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && pane.itemList()->rowCount() > 0; }));
    QVERIFY(pane.caption()->text().isEmpty());
    QVERIFY(fixture.ItemRows() != inboxRows);
    QTreeView* view = pane.itemView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(0, 2)).center());
    QVERIFY(view->hasFocus());
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(pane.searchBox()->text().isEmpty());
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows() == inboxRows; }));

    // The query belongs to its mailbox: another one opens with an empty box and its folder.
    pane.searchBox()->setText("from:hughes");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows() != inboxRows; }));
    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.frame().wizardStep() == 2; }));
    QVERIFY(pane.searchBox()->text().isEmpty());
    fixture.OpenMailbox(1);
    QVERIFY(pane.searchBox()->text().isEmpty());
    QVERIFY(pane.caption()->text().isEmpty());
    QVERIFY(boxes.seen.isEmpty());
}

void SearchBoxTest::theStreamingEntrySearchesItsMessages() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((fixture.dir / "cache").string()));
    const auto database = WriteDemoDatabase(fixture.dir.path());
    WriteDemoStreamingFile(fixture.dir / "Demo.stm");
    fixture.OpenDatabase(database);
    fixture.OpenMailbox(2);
    const QString entry = "Recovered from the streaming file";
    fixture.ListFolder({entry});
    const QStringList entryRows = fixture.ItemRows();
    QCOMPARE(entryRows.size(), 5);
    ui::CRightView& pane = *fixture.frame().rightPane();

    QTest::keyClick(&fixture.frame(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(pane.searchBox()->hasFocus());
    // Typed keys are ASCII only; the box takes the rest as pasted.
    pane.searchBox()->setText("\"regards straße Zürich\"");
    QTest::keyClick(pane.searchBox(), Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && pane.itemList()->rowCount() > 0; }));
    const QStringList matches = fixture.ItemRows();
    const QStringList fourth = matches.filter(QRegularExpression("^4\\|"));
    QVERIFY2(fourth.size() == 1, qPrintable(matches.join('\n')));
    QVERIFY2(fourth.front().contains("|the café regards Müller|"), qPrintable(fourth.front()));

    QTreeView* view = pane.itemView();
    const QModelIndex match =
        view->model()->index(static_cast<int>(matches.indexOf(fourth.front())), 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(match).center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(match).center());
    auto* window = fixture.frame().findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("the café regards Müller"));
    QVERIFY(window->bodyView()->toPlainText().contains("meeting regards straße Zürich."));
    window->close();

    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows() == entryRows; }));
    QVERIFY(boxes.seen.isEmpty());
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::SearchBoxTest)
#include "search_box_test.moc"
