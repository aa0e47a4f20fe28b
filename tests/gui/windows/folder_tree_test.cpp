// The folder tree's clicks, keys and check boxes in step 3 of the demo database.
#include <QTest>

#include "gui_test_support.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

const QString kTop = "Top of Information Store";
const QStringList kInbox = {kTop, "Inbox"};
const QStringList kProjects = {kTop, "Inbox", "Projects"};
const QStringList kContacts = {kTop, "Contacts"};
const QStringList kSentItems = {kTop, "Sent Items"};

// A row the browse jobs never write: while it stays, no job has cleared the list.
void AddMarkerRow(ui::CMainFrame& frame) {
    ui::ItemListModel& list = *frame.rightPane()->itemList();
    list.InsertRow(list.rowCount(), 0, {u"marker"});
}

bool HasMarkerRow(FrameFixture& fixture) {
    return fixture.ItemRows().contains(QString("marker|||"));
}

}  // namespace

class FolderTreeTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void twoQuickSelectionsListTheFolderChosenLast();
    void onlyAClickOnAnotherFoldersLabelOrIconStartsAJob();
    void pressesElsewhereOrWithOtherButtonsSelectNothing();
    void aSecondCheckBoxPressWithinTheWaitPropagatesFromIt();
    void everyReleasedKeyButEnterListsTheSelectedFolder();
    void checkingAFolderChecksItsAncestorsAndDescendants();
    void spaceOnAFolderChecksLikeAClickOnItsBox();
    void uncheckingTheOnlyCheckedFolderUnchecksItsAncestorsAndTheExport();

private:
    std::unique_ptr<FrameFixture> fixture_;
};

void FolderTreeTest::init() {
    fixture_ = std::make_unique<FrameFixture>();
    fixture_->OpenDatabase(WriteDemoDatabase(fixture_->dir.path()));
    fixture_->OpenMailbox(0);
}

void FolderTreeTest::cleanup() {
    fixture_.reset();
}

void FolderTreeTest::twoQuickSelectionsListTheFolderChosenLast() {
    FrameFixture& fixture = *fixture_;
    fixture.ClickLabel(fixture.TreeItem(kContacts));
    fixture.ClickLabel(fixture.TreeItem(kInbox));
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(fixture.frame().rightPane()->itemList()->Headings().join('|'),
             QString("No|From|Subject|Date/Time"));
    QCOMPARE(fixture.ItemRows().size(), 4);
    QVERIFY(fixture.ItemRows()[0].startsWith("1|Carol Hughes|"));
}

void FolderTreeTest::onlyAClickOnAnotherFoldersLabelOrIconStartsAJob() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    fixture.ListFolder(kInbox);
    QTreeWidgetItem* inbox = fixture.TreeItem(kInbox);
    QCOMPARE(tree->currentItem(), inbox);

    AddMarkerRow(frame);
    fixture.ClickLabel(inbox);
    QTest::qWait(100);
    QVERIFY(HasMarkerRow(fixture));

    // Beside the label, nothing is selected and nothing listed.
    QTreeWidgetItem* contacts = fixture.TreeItem(kContacts);
    const QRect label = tree->LabelRect(contacts);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      QPoint(label.right() + 40, label.center().y()));
    QTest::qWait(100);
    QCOMPARE(tree->currentItem(), inbox);
    QVERIFY(HasMarkerRow(fixture));

    // A check box toggles without selecting or listing.
    fixture.ClickCheckBox(contacts);
    QVERIFY(WaitFor([&] { return !frame.wizard().workers().AnyRunning(); }));
    QCOMPARE(tree->currentItem(), inbox);
    QVERIFY(HasMarkerRow(fixture));

    // The icon of another folder lists it.
    const QRect checkBox = tree->CheckBoxRect(contacts);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      QPoint((checkBox.right() + label.left()) / 2, label.center().y()));
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows().size() == 3; }));
    QCOMPARE(tree->currentItem(), contacts);
    QCOMPARE(frame.rightPane()->itemList()->Headings().value(1), QString("Full name"));
}

// The selection always shows the folder listed: presses in front of an item, beside its
// label, or with the right or middle button select nothing; the arrow still expands.
void FolderTreeTest::pressesElsewhereOrWithOtherButtonsSelectNothing() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    fixture.ListFolder(kInbox);
    QTreeWidgetItem* inbox = fixture.TreeItem(kInbox);
    QTreeWidgetItem* contacts = fixture.TreeItem(kContacts);
    const auto onlyInboxSelected = [&] {
        return tree->currentItem() == inbox && tree->selectedItems() == QList{inbox};
    };
    AddMarkerRow(frame);

    const QRect row = tree->visualItemRect(contacts);
    const QRect checkBox = tree->CheckBoxRect(contacts);
    const int y = row.center().y();
    const QList<QPoint> elsewhere = {
        QPoint(row.left() - tree->indentation() / 2, y),     // where an arrow would be
        QPoint(row.left() - tree->indentation() - 3, y),     // the parent's dotted line
        QPoint((row.left() + checkBox.left()) / 2, y),       // before the check box
        QPoint(tree->LabelRect(contacts).right() + 40, y)};  // beside the label
    for (const QPoint& point : elsewhere) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, point);
        QVERIFY2(onlyInboxSelected(), qPrintable(QString("at %1").arg(point.x())));
    }
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        for (const QRect& part : {tree->LabelRect(contacts), checkBox}) {
            QTest::mouseClick(tree->viewport(), button, {}, part.center());
            QVERIFY(onlyInboxSelected());
        }
    }
    QCOMPARE(contacts->checkState(0), Qt::Unchecked);

    // Dragging from the selected label onto another folder moves nothing.
    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, tree->LabelRect(inbox).center());
    QTest::mouseMove(tree->viewport(), tree->LabelRect(contacts).center());
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, tree->LabelRect(contacts).center());
    QVERIFY(onlyInboxSelected());
    QTest::qWait(100);
    QVERIFY(HasMarkerRow(fixture));

    // The arrow of the inbox still expands and collapses it.
    const bool expanded = inbox->isExpanded();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->ExpandArrowRect(inbox).center());
    QCOMPARE(inbox->isExpanded(), !expanded);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->ExpandArrowRect(inbox).center());
    QCOMPARE(inbox->isExpanded(), expanded);
    QVERIFY(onlyInboxSelected());

    fixture.ClickLabel(contacts);
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows().size() == 3; }));
    QCOMPARE(tree->currentItem(), contacts);
}

// The propagation waits for the control to toggle the box; a second press meanwhile checks its
// item, the control toggles it back, and the state carried is the second item's.
void FolderTreeTest::aSecondCheckBoxPressWithinTheWaitPropagatesFromIt() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    QTreeWidgetItem* root = frame.leftPane()->folderTree()->topLevelItem(0);
    QTreeWidgetItem* top = fixture.TreeItem({kTop});
    QTreeWidgetItem* inbox = fixture.TreeItem(kInbox);
    QTreeWidgetItem* projects = fixture.TreeItem(kProjects);
    QTreeWidgetItem* contacts = fixture.TreeItem(kContacts);
    const auto checked = [](QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; };

    fixture.ClickCheckBox(inbox);
    fixture.ClickCheckBox(contacts);
    QVERIFY(WaitFor([&] { return !frame.wizard().workers().AnyRunning(); }));
    QVERIFY(checked(inbox));
    QVERIFY(!checked(contacts));
    QVERIFY2(!checked(projects) && !checked(top) && !checked(root),
             "the inbox's check was not carried");
}

void FolderTreeTest::everyReleasedKeyButEnterListsTheSelectedFolder() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    fixture.ListFolder(kInbox);
    tree->setFocus();

    AddMarkerRow(frame);
    QTest::keyClick(tree, Qt::Key_Return);
    QTest::keyClick(tree, Qt::Key_Print);
    QTest::qWait(100);
    QVERIFY(HasMarkerRow(fixture));

    // A key that moves nothing lists the selected folder again.
    QTest::keyClick(tree, Qt::Key_Shift);
    QVERIFY(WaitFor([&] { return fixture.Idle() && !HasMarkerRow(fixture); }));
    QCOMPARE(fixture.ItemRows().size(), 4);

    QTreeWidgetItem* projects = fixture.TreeItem(kProjects);
    QTest::keyClick(tree, Qt::Key_Down);
    QVERIFY(WaitFor([&] { return fixture.Idle() && fixture.ItemRows().size() == 2; }));
    QCOMPARE(tree->currentItem(), projects);
    QVERIFY(fixture.ItemRows()[0].contains("Website redesign: first drafts"));
}

void FolderTreeTest::checkingAFolderChecksItsAncestorsAndDescendants() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    QTreeWidgetItem* root = frame.leftPane()->folderTree()->topLevelItem(0);
    QTreeWidgetItem* top = fixture.TreeItem({kTop});
    QTreeWidgetItem* inbox = fixture.TreeItem(kInbox);
    QTreeWidgetItem* projects = fixture.TreeItem(kProjects);
    QTreeWidgetItem* sent = fixture.TreeItem(kSentItems);
    const auto checked = [](QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; };
    const auto settled = [&] { return !frame.wizard().workers().AnyRunning(); };

    fixture.ClickCheckBox(inbox);
    QVERIFY(WaitFor(settled));
    QVERIFY(checked(inbox) && checked(projects) && checked(top) && checked(root));
    QVERIFY(!checked(sent));

    fixture.ClickCheckBox(sent);
    QVERIFY(WaitFor(settled));
    QVERIFY(checked(sent));

    // A sibling is still checked: the ancestors stay checked.
    fixture.ClickCheckBox(inbox);
    QVERIFY(WaitFor(settled));
    QVERIFY(!checked(inbox) && !checked(projects));
    QVERIFY(checked(top) && checked(root) && checked(sent));

    // Unchecking the top folder clears it, all below it and, with nothing related left
    // checked, the root.
    fixture.ClickCheckBox(top);
    QVERIFY(WaitFor(settled));
    QVERIFY(!checked(top) && !checked(root) && !checked(sent) && !checked(projects));
}

void FolderTreeTest::spaceOnAFolderChecksLikeAClickOnItsBox() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QTreeWidgetItem* top = fixture.TreeItem({kTop});
    QTreeWidgetItem* inbox = fixture.TreeItem(kInbox);
    QTreeWidgetItem* projects = fixture.TreeItem(kProjects);
    const auto checked = [](QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; };
    fixture.ListFolder(kInbox);
    QCOMPARE(tree->currentItem(), inbox);

    QTest::keyClick(tree, Qt::Key_Space);
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QVERIFY(checked(inbox) && checked(projects) && checked(top) && checked(root));

    QTest::keyClick(tree, Qt::Key_Space);
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QVERIFY(!checked(inbox) && !checked(projects) && !checked(top) && !checked(root));
}

// After the last checked folder is unchecked, nothing is left to export.
void FolderTreeTest::uncheckingTheOnlyCheckedFolderUnchecksItsAncestorsAndTheExport() {
    FrameFixture& fixture = *fixture_;
    ui::CMainFrame& frame = fixture.frame();
    QTreeWidgetItem* root = frame.leftPane()->folderTree()->topLevelItem(0);
    QTreeWidgetItem* top = fixture.TreeItem({kTop});
    QTreeWidgetItem* contacts = fixture.TreeItem(kContacts);
    const auto checked = [](QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; };
    const auto settled = [&] { return !frame.wizard().workers().AnyRunning(); };

    fixture.ClickCheckBox(contacts);
    QVERIFY(WaitFor(settled));
    QVERIFY(checked(contacts) && checked(top) && checked(root));
    QVERIFY(frame.exportAction()->isEnabled());

    fixture.ClickCheckBox(contacts);
    QVERIFY(WaitFor(settled));
    QVERIFY(!checked(contacts) && !checked(top) && !checked(root));
    QVERIFY(!frame.exportAction()->isEnabled());
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::FolderTreeTest)
#include "folder_tree_test.moc"
