// A user's road through the wizard on the demo database: the path, the mailbox rows, the tree,
// a folder's rows, Back twice, and the messages on the way.
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTreeView>

#include "browse/item_columns.h"
#include "discovery/processing_driver.h"
#include "export_dialog.h"
#include "gui_test_support.h"
#include "window_test_registry.h"
#include "wizard/wizard_flow.h"

namespace velmor::test {

namespace {

const QStringList kInbox = {"Top of Information Store", "Inbox"};
const QString kMailHeadings = "No|From|Subject|Date/Time";

}  // namespace

class WizardWalkTest : public QObject {
    Q_OBJECT

private slots:
    void walkThroughTheThreeStepsAndBackAgain();
    void stepTwoNextWithoutAMailboxAsksForOne();
    void pathsThatNameNoDatabaseAreRefusedWithTheirMessage();
    void aRunThatFindsNoMailboxReturnsToStepOne();
    void choosingAMailboxRowNeverScrollsTheListSideways();
    void theKeyboardAloneWalksTheWizard();
    void eachFileMenuCommandHasAKeyOfItsOwn();
    void theItemListSortsByAClickedHeadingAndSavesInThatOrder();
};

// The name column is wider than the list; choosing a row keeps the numbers and icons in view
// and a new list starts unscrolled.
void WizardWalkTest::choosingAMailboxRowNeverScrollsTheListSideways() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    const auto database = WriteDemoDatabase(fixture.dir.path());
    fixture.OpenDatabase(database);
    QTreeWidget* list = frame.mailboxPage()->mailboxList();
    QScrollBar* sideways = list->horizontalScrollBar();
    QVERIFY(sideways->maximum() > 0);
    QCOMPARE(sideways->value(), 0);

    const QRect name = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(list->viewport()->width() - 10, name.center().y()));
    QCOMPARE(list->currentItem(), list->topLevelItem(1));
    QCOMPARE(sideways->value(), 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentItem(), list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(sideways->value(), 0);

    // What the user scrolled stays while rows are chosen.
    sideways->setValue(40);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->currentItem(), list->topLevelItem(0));
    QCOMPARE(sideways->value(), 40);

    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return frame.wizardStep() == 1 && fixture.Idle(); }));
    const auto second = fixture.dir / "Second.edb";
    std::filesystem::copy_file(database, second);
    fixture.OpenDatabase(second);
    QCOMPARE(frame.wizardStep(), 2);
    QCOMPARE(fixture.MailboxRows().size(), 2);
    QCOMPARE(sideways->value(), 0);
}

void WizardWalkTest::walkThroughTheThreeStepsAndBackAgain() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    BoxAnswerer boxes;
    const auto database = WriteDemoDatabase(fixture.dir.path());

    fixture.OpenDatabase(database);
    QCOMPARE(frame.wizardStep(), 2);
    QCOMPARE(fixture.MailboxRows(),
             QStringList({"1|Mailbox - Ann Walker", "2|Mailbox - Ben Carter"}));
    QCOMPARE(frame.mailboxPage()->helpText(), QString::fromStdU16String(kSelectMailboxHelpText));
    ui::CBackNextView* bar = frame.buttonBar();
    QVERIFY(bar->nextButton()->isVisible());
    QVERIFY(bar->backButton()->isVisible());
    QVERIFY(!bar->stopButton()->isVisible());
    QVERIFY(!bar->scanProgress()->isVisible());
    QVERIFY(!bar->scanStatus()->isVisible());
    QVERIFY(test::HoldsMessageTemplate(fixture.dir.path()));

    fixture.OpenMailbox(0);
    QCOMPARE(frame.wizardStep(), 3);
    QCOMPARE(bar->nextButton()->text(), QString("&Save"));
    QTreeWidget* tree = frame.leftPane()->folderTree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("Mailbox - Ann Walker"));
    QVERIFY(tree->topLevelItem(0)->isExpanded());
    QVERIFY(fixture.TreeItem({"Top of Information Store", "Inbox", "Projects"}) != nullptr);
    QVERIFY(fixture.TreeItem({"Top of Information Store", "Journal"}) != nullptr);
    QCOMPARE(frame.rightPane()->itemList()->Headings().join('|'), kMailHeadings);

    fixture.ListFolder(kInbox);
    const QStringList rows = fixture.ItemRows();
    QCOMPARE(rows.size(), 4);
    QVERIFY2(rows[0].startsWith("1|Carol Hughes|Quarterly budget review|"), qPrintable(rows[0]));
    QVERIFY2(rows[1].startsWith("2|David Moore|RE: Team lunch on Friday|"), qPrintable(rows[1]));
    QVERIFY2(rows[2].startsWith("3|Emma Fisher|Contract renewal needs your signature|"),
             qPrintable(rows[2]));
    QVERIFY(!bar->itemProgress()->isVisible());
    QVERIFY(!bar->itemStatus()->isVisible());

    fixture.ListFolder({"Top of Information Store", "Sent Items"});
    QCOMPARE(frame.rightPane()->itemList()->Headings().join('|'),
             QString("No|To|Subject|Date/Time"));
    QVERIFY2(fixture.ItemRows().value(0).startsWith("1|Carol Hughes|Budget figures attached|"),
             qPrintable(fixture.ItemRows().value(0)));

    fixture.ListFolder({"Top of Information Store", "Contacts"});
    QCOMPARE(frame.rightPane()->itemList()->Headings().first(), QString("No"));
    QCOMPARE(frame.rightPane()->itemList()->Headings().value(1), QString("Full name"));
    QCOMPARE(fixture.ItemRows().size(), 3);

    fixture.ClickBack();
    QVERIFY(WaitFor([&] { return fixture.Idle() && bar->nextButton()->isEnabled(); }));
    QCOMPARE(frame.wizardStep(), 2);
    QCOMPARE(tree->topLevelItemCount(), 0);
    QCOMPARE(bar->nextButton()->text(), QString("&Next"));
    QCOMPARE(fixture.MailboxRows().size(), 2);
    QCOMPARE(frame.mailboxPage()->SelectionMark(), 0);

    fixture.ClickBack();
    QCOMPARE(frame.wizardStep(), 1);
    QVERIFY(!bar->backButton()->isVisible());
    // The clearing worker enables Next, then ends its job in a call of its own.
    QVERIFY(WaitFor(
        [&] { return bar->nextButton()->isEnabled() && !frame.wizard().storeClearingJob(); }));
    QCOMPARE(fixture.MailboxRows().size(), 0);
    QCOMPARE(frame.filePage()->PathText(), QString::fromStdString(database.string()));
    QVERIFY(boxes.seen.isEmpty());

    // The same path opens again.
    fixture.OpenDatabase(database);
    QCOMPARE(fixture.MailboxRows().size(), 2);
}

void WizardWalkTest::stepTwoNextWithoutAMailboxAsksForOne() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.ClickNext();
    QCOMPARE(boxes.Texts(), QStringList({"Please Select User"}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Warning);
    QCOMPARE(boxes.seen[0].caption, QString("Velmor for Exchange Server"));
    QCOMPARE(fixture.frame().wizardStep(), 2);
    QCOMPARE(fixture.frame().leftPane()->folderTree()->topLevelItemCount(), 0);
}

void WizardWalkTest::pathsThatNameNoDatabaseAreRefusedWithTheirMessage() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    QFile notes(QString::fromStdString((fixture.dir / "notes.txt").string()));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();

    struct Case {
        std::filesystem::path path;
        QString message;
        bool ownedByMainWindow;
    };
    for (const Case& c : {Case{fixture.dir / "missing.edb", "File Does Not Exist", true},
                          Case{fixture.dir / "notes.txt", "Not an EDB File", false}}) {
        boxes.seen.clear();
        frame.filePage()->pathBox()->setPlainText(QString::fromStdString(c.path.string()));
        fixture.ClickNext();
        QCOMPARE(boxes.Texts(), QStringList({c.message}));
        QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen[0].caption, QString("Velmor for Exchange Server"));
        QCOMPARE(boxes.seen[0].ownedByMainWindow, c.ownedByMainWindow);
        QCOMPARE(frame.wizardStep(), 1);
        QVERIFY(frame.buttonBar()->nextButton()->isEnabled());
        QVERIFY(!frame.wizard().workers().AnyRunning());
    }

    // An empty path opens the file dialog instead of a message.
    boxes.seen.clear();
    frame.filePage()->pathBox()->clear();
    fixture.ClickNext();
    QCOMPARE(fixture.desktop.databaseDialogs, 1);
    QVERIFY(boxes.seen.isEmpty());
    QCOMPARE(frame.wizardStep(), 1);
}

void WizardWalkTest::aRunThatFindsNoMailboxReturnsToStepOne() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    const auto path = fixture.dir / "empty.edb";
    QFile empty(QString::fromStdString(path.string()));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.write(QByteArray(16 * 4096, '\0'));
    empty.close();

    fixture.OpenDatabase(path);
    QCOMPARE(boxes.Texts(), QStringList({"No User Found"}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::NoIcon);
    QCOMPARE(fixture.frame().wizardStep(), 1);
    QVERIFY(fixture.frame().buttonBar()->nextButton()->isVisible());
    QVERIFY(!fixture.frame().buttonBar()->backButton()->isVisible());
    QVERIFY(!fixture.frame().buttonBar()->stopButton()->isVisible());
    QVERIFY(!fixture.frame().wizard().stopFlag().isSet());
}

// Enter in the path box and on a mailbox goes on as Next does; the buttons' Alt keys click
// them; a double click on a mailbox goes on too.
void WizardWalkTest::theKeyboardAloneWalksTheWizard() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    QPlainTextEdit* path = frame.filePage()->pathBox();
    const QString database = QString::fromStdString(WriteDemoDatabase(fixture.dir.path()).string());
    QTest::keyClicks(path, database);
    QTest::keyClick(path, Qt::Key_Return);
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.wizardStep() == 2; }));
    QCOMPARE(path->toPlainText(), database);
    QVERIFY(boxes.seen.isEmpty());

    QTreeWidget* mailboxes = frame.mailboxPage()->mailboxList();
    QTest::keyClick(mailboxes, Qt::Key_Down);
    QCOMPARE(frame.mailboxPage()->SelectedCount(), 1);
    QTest::keyClick(mailboxes, Qt::Key_Return);
    ui::CBackNextView* bar = frame.buttonBar();
    QVERIFY(WaitFor([&] {
        return fixture.Idle() && frame.wizardStep() == 3 && bar->nextButton()->isEnabled();
    }));

    // A button's Alt key clicks it as the mouse does, after showing it pressed a moment.
    QTest::keyClick(&frame, Qt::Key_S, Qt::AltModifier);
    QVERIFY(WaitFor([&] { return fixture.desktop.saveDialogs == 1; }));
    QTest::keyClick(&frame, Qt::Key_B, Qt::AltModifier);
    QVERIFY(WaitFor([&] {
        return frame.wizardStep() == 2 && fixture.Idle() && bar->nextButton()->isEnabled();
    }));

    const QRect second = mailboxes->visualItemRect(mailboxes->topLevelItem(1));
    QTest::mouseClick(mailboxes->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(mailboxes->viewport(), Qt::LeftButton, {}, second.center());
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.wizardStep() == 3; }));
    QCOMPARE(frame.leftPane()->folderTree()->topLevelItem(0)->text(0),
             QString("Mailbox - Ben Carter"));
    QVERIFY(boxes.seen.isEmpty());
}

// Alt+F, then E exports and X exits: no two commands of the menu share a key.
void WizardWalkTest::eachFileMenuCommandHasAKeyOfItsOwn() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::No);
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ClickCheckBox(fixture.TreeItem({"Top of Information Store", "Calendar"}));
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.exportAction()->isEnabled(); }));

    const auto openFileMenu = [&] {
        // A closed dialog gives the keyboard back to the window first.
        frame.activateWindow();
        if (!QTest::qWaitForWindowActive(&frame)) {
            return static_cast<QWidget*>(nullptr);
        }
        QTest::keyClick(&frame, Qt::Key_F, Qt::AltModifier);
        QWidget* menu = nullptr;
        WaitFor([&] { return (menu = QApplication::activePopupWidget()) != nullptr; });
        return menu;
    };
    ModalWatcher<ui::CExportDialog> dialog([](ui::CExportDialog& shown) { shown.reject(); });
    QWidget* menu = openFileMenu();
    QVERIFY(menu != nullptr);
    QTest::keyClick(menu, Qt::Key_E);
    QVERIFY(WaitFor([&] { return dialog.seen; }));

    menu = openFileMenu();
    QVERIFY(menu != nullptr);
    QTest::keyClick(menu, Qt::Key_X);
    QVERIFY(WaitFor([&] { return !boxes.seen.isEmpty(); }));
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Close the Application ?"}));
    QVERIFY(frame.isVisible());
}

void WizardWalkTest::theItemListSortsByAClickedHeadingAndSavesInThatOrder() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder(kInbox);
    QTreeView* view = frame.rightPane()->itemView();
    QHeaderView* header = view->header();
    const auto clickHeading = [&](int column) {
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    const auto column = [&](int index) {
        QStringList cells;
        for (const QString& row : fixture.ItemRows()) {
            cells.append(row.section('|', index, index));
        }
        return cells;
    };
    const auto dates = [&] {
        QList<QDateTime> values;
        for (const QString& cell : column(3)) {
            values.append(QDateTime::fromString(cell.section(' ', 1, -1), "d/M/yyyy hh:mm:ss AP"));
        }
        return values;
    };
    QCOMPARE(column(0), QStringList({"1", "2", "3", "4"}));

    clickHeading(2);
    const QStringList subjects = column(2);
    QVERIFY(std::is_sorted(
        subjects.begin(), subjects.end(),
        [](const QString& a, const QString& b) { return QString::localeAwareCompare(a, b) < 0; }));
    QVERIFY(column(0) != QStringList({"1", "2", "3", "4"}));
    clickHeading(3);
    QList<QDateTime> values = dates();
    QVERIFY(values.first().isValid());
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    clickHeading(3);
    values = dates();
    QVERIFY(std::is_sorted(values.rbegin(), values.rend()));
    QCOMPARE(header->sortIndicatorSection(), 3);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeading(0);
    clickHeading(0);
    QCOMPARE(column(0), QStringList({"4", "3", "2", "1"}));

    // Save writes the rows as they are shown.
    const auto saved = fixture.dir / "items.csv";
    fixture.desktop.saveChoice = QString::fromStdString(saved.string());
    fixture.ClickNext();
    QFile file(fixture.desktop.saveChoice);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QVERIFY2(lines[1].contains(column(2)[0]), qPrintable(lines[1]));
    QVERIFY2(lines[4].contains(column(2)[3]), qPrintable(lines[4]));

    // The last column takes the room left; the number column fits five-digit numbers.
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int lastEnd = header->sectionPosition(3) + header->sectionSize(3);
    QVERIFY2(
        lastEnd <= view->viewport()->width() && lastEnd >= view->viewport()->width() - scrollBar,
        qPrintable(QString::number(lastEnd)));
    QVERIFY(view->horizontalScrollBar()->maximum() == 0);
    ui::ItemListModel& list = *frame.rightPane()->itemList();
    const int narrow = header->sectionSize(0);
    for (int row = list.rowCount(); row < 12000; ++row) {
        list.InsertRow(row, 0, {QString::number(row + 1).toStdU16String()});
    }
    QVERIFY(header->sectionSize(0) > narrow);
    QVERIFY(header->sectionSize(0) >=
            view->fontMetrics().horizontalAdvance("12000") + view->iconSize().width());
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::WizardWalkTest)
#include "wizard_walk_test.moc"
