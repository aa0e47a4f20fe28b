// The lists of steps 2 and 3 as the keyboard and the sideways scroll bar meet them: the
// keyboard reaches a list's second row only after its first, and a list starts scrolled to
// its left edge.
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "gui_test_support.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

int CurrentRow(const QAbstractItemView* list) {
    return list->currentIndex().isValid() ? list->currentIndex().row() : -1;
}

bool MakeActive(ui::CMainFrame& frame) {
    frame.activateWindow();
    return QTest::qWaitForWindowActive(&frame);
}

// The sideways scroll bar at its start, and the first column at the left edge.
bool ScrolledToTheLeft(QTreeView* list) {
    return list->horizontalScrollBar()->value() == list->horizontalScrollBar()->minimum() &&
           list->header()->sectionViewportPosition(0) == 0;
}

}  // namespace

class ListFocusTest : public QObject {
    Q_OBJECT

private slots:
    void aListFocusedWithoutACurrentRowStartsAtItsFirstRow();
    void theListsStartScrolledToTheLeft();
};

void ListFocusTest::aListFocusedWithoutACurrentRowStartsAtItsFirstRow() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    QVERIFY(MakeActive(frame));
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.wizardStep() == 1; }));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.MailboxRows().size() == 2; }));

    // The list had the focus before its rows came: none is chosen until the first Down
    // chooses the first.
    QTreeWidget* mailboxes = frame.mailboxPage()->mailboxList();
    QVERIFY(mailboxes->hasFocus());
    QCOMPARE(frame.mailboxPage()->SelectionMark(), -1);
    QTest::keyClick(mailboxes, Qt::Key_Down);
    QCOMPARE(frame.mailboxPage()->SelectionMark(), 0);
    QTest::keyClick(mailboxes, Qt::Key_Down);
    QCOMPARE(frame.mailboxPage()->SelectionMark(), 1);

    // Tab from the tree reaches the item list (past the search box) without a current row.
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QTreeView* items = frame.rightPane()->itemView();
    QVERIFY(items->model()->rowCount() > 2);
    QCOMPARE(CurrentRow(items), -1);
    QVERIFY(MakeActive(frame));
    for (int tabs = 0; tabs < 5 && !items->hasFocus(); ++tabs) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QVERIFY(items->hasFocus());
    QCOMPARE(CurrentRow(items), 0);
    QVERIFY(items->selectionModel()->isRowSelected(0, {}));
    QTest::keyClick(items, Qt::Key_Down);
    QCOMPARE(CurrentRow(items), 1);
}

void ListFocusTest::theListsStartScrolledToTheLeft() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    frame.resize(1000, 700);
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    QTreeWidget* mailboxes = frame.mailboxPage()->mailboxList();
    QVERIFY(mailboxes->horizontalScrollBar()->maximum() > 0);
    QVERIFY(ScrolledToTheLeft(mailboxes));
    QTest::keyClick(mailboxes, Qt::Key_Down);
    QVERIFY(ScrolledToTheLeft(mailboxes));

    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.wizardStep() == 1; }));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.MailboxRows().size() == 2; }));
    QVERIFY(ScrolledToTheLeft(mailboxes));

    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QVERIFY(ScrolledToTheLeft(frame.rightPane()->itemView()));
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::ListFocusTest)
#include "list_focus_test.moc"
