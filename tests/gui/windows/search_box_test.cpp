#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "gui_test_support.h"
#include "message_window.h"

namespace velmor::test {

// The search box above step 3's item list: Enter lists the mailbox's matches with their
// folders, a match opens as a listed mail does, Escape brings the folder's listing back.
class SearchBoxTest : public QObject {
    Q_OBJECT

private slots:
    void enterListsMatchesThatOpenAndEscapeReturnsToTheFolder();
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

}  // namespace velmor::test

QTEST_MAIN(velmor::test::SearchBoxTest)
#include "search_box_test.moc"
