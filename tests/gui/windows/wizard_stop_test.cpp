// Stop and close while workers run. A hook opens the stop question at a chosen moment of the
// worker's run, on the user-interface thread; the worker then waits at its next stop test,
// as a worker suspended by a user's Stop would, and the test presses Stop.
#include <QTest>

#include "gui_test_support.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

const QStringList kInbox = {"Top of Information Store", "Inbox"};

// Opens the stop question the first time the worker enables Stop (it is disabled until the
// discovery worker has started).
void OpenQuestionWhenDiscoveryStarts(ui::CMainFrame& frame) {
    auto seenDisabled = std::make_shared<bool>(false);
    auto opened = std::make_shared<bool>(false);
    QObject::connect(frame.buttonBar(), &ui::CBackNextView::refreshed, &frame,
                     [&frame, seenDisabled, opened] {
                         QPushButton* stop = frame.buttonBar()->stopButton();
                         if (!stop->isVisible() || *opened) {
                             return;
                         }
                         if (!stop->isEnabled()) {
                             *seenDisabled = true;
                         } else if (*seenDisabled) {
                             *opened = true;
                             frame.wizard().stopFlag().openQuestion();
                         }
                     });
}

void OpenQuestionOnFirstRow(QAbstractItemModel* rows, ui::CMainFrame& frame) {
    auto opened = std::make_shared<bool>(false);
    QObject::connect(rows, &QAbstractItemModel::rowsInserted, &frame, [&frame, opened] {
        if (!*opened) {
            *opened = true;
            frame.wizard().stopFlag().openQuestion();
        }
    });
}

// Clicks Stop, as a quick user would, in the moment the bar first shows it in place of Next.
void ClickStopWhenItShows(FrameFixture& fixture) {
    auto clicked = std::make_shared<bool>(false);
    ui::CBackNextView* bar = fixture.frame().buttonBar();
    QObject::connect(bar, &ui::CBackNextView::refreshed, bar, [bar, clicked] {
        QPushButton* stop = bar->stopButton();
        if (!*clicked && stop->isVisible() && stop->isEnabled() &&
            !bar->nextButton()->isVisible()) {
            *clicked = true;
            QTest::mouseClick(stop, Qt::LeftButton);
        }
    });
}

}  // namespace

class WizardStopTest : public QObject {
    Q_OBJECT

private slots:
    void answeringNoLetsTheScanGoOn();
    void stoppingBeforeAnyMailboxReturnsToStepOne();
    void stoppingAfterMailboxesWereListedStaysOnStepTwo();
    void closingIsRefusedWhileTheScanRuns();
    void stoppingAListingKeepsTheRowsListedSoFar();
    void stoppingAMailScanLeavesTheListEmptyAndTheNextSelectionWorks();
    void closingIsRefusedWhileItemsAreListed();
    void closingTheProgramWhileAWorkerWaitsAtAQuestionEndsTheWorker();
};

void WizardStopTest::answeringNoLetsTheScanGoOn() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::No);
    OpenQuestionWhenDiscoveryStarts(fixture.frame());
    fixture.frame().filePage()->pathBox()->setPlainText(
        QString::fromStdString(WriteDemoDatabase(fixture.dir.path()).string()));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return fixture.frame().wizard().stopFlag().questionOpen(); }));
    fixture.ClickStop();
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Stop the Recovery Process ?"}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Question);
    QCOMPARE(boxes.seen[0].caption, QString("Velmor for Exchange Server"));
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(fixture.frame().wizardStep(), 2);
    QCOMPARE(fixture.MailboxRows().size(), 2);
    QVERIFY(fixture.frame().buttonBar()->backButton()->isVisible());
}

void WizardStopTest::stoppingBeforeAnyMailboxReturnsToStepOne() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    OpenQuestionWhenDiscoveryStarts(frame);
    frame.filePage()->pathBox()->setPlainText(
        QString::fromStdString(WriteDemoDatabase(fixture.dir.path()).string()));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    fixture.ClickStop();
    // The file page shows at once, before the worker has ended.
    QCOMPARE(frame.wizardStep(), 1);
    QVERIFY(!frame.buttonBar()->backButton()->isVisible());
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(frame.wizardStep(), 1);
    QVERIFY(!frame.buttonBar()->backButton()->isVisible());
    QVERIFY(!frame.wizard().stopFlag().isSet());
    QVERIFY(!frame.wizard().discoveryJob());
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Stop the Recovery Process ?"}));
}

void WizardStopTest::stoppingAfterMailboxesWereListedStaysOnStepTwo() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    OpenQuestionOnFirstRow(frame.mailboxPage()->mailboxList()->model(), frame);
    frame.filePage()->pathBox()->setPlainText(
        QString::fromStdString(WriteDemoDatabase(fixture.dir.path()).string()));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    fixture.ClickStop();
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(frame.wizardStep(), 2);
    QCOMPARE(fixture.MailboxRows().size(), 2);
    QVERIFY(frame.buttonBar()->backButton()->isVisible());
    QVERIFY(!frame.wizard().stopFlag().isSet());

    // The stopped run can still go on to the browsing step.
    fixture.OpenMailbox(1);
    QCOMPARE(frame.wizardStep(), 3);
    QCOMPARE(frame.leftPane()->folderTree()->topLevelItem(0)->text(0),
             QString("Mailbox - Ben Carter"));
}

void WizardStopTest::closingIsRefusedWhileTheScanRuns() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Ok);
    ui::CMainFrame& frame = fixture.frame();
    OpenQuestionWhenDiscoveryStarts(frame);
    frame.filePage()->pathBox()->setPlainText(
        QString::fromStdString(WriteDemoDatabase(fixture.dir.path()).string()));
    fixture.ClickNext();
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));

    QVERIFY(!frame.close());
    QCOMPARE(boxes.Texts(),
             QStringList({"Recovery is in Progress.Please Stop the Process to close the "
                          "Application"}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Information);
    QVERIFY(frame.isVisible());

    boxes.SetAnswer(QMessageBox::Yes);
    fixture.ClickStop();
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    boxes.SetAnswer(QMessageBox::No);
    QVERIFY(!frame.close());
    QCOMPARE(boxes.Texts().last(), QString("Do you want to Close the Application ?"));
    QVERIFY(frame.isVisible());
    QVERIFY(fixture.desktop.opened.isEmpty());
}

void WizardStopTest::stoppingAListingKeepsTheRowsListedSoFar() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);

    OpenQuestionOnFirstRow(frame.rightPane()->itemList(), frame);
    fixture.ClickLabel(fixture.TreeItem(kInbox));
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    QVERIFY(frame.buttonBar()->stopButton()->isVisible());
    QVERIFY(!frame.buttonBar()->nextButton()->isVisible());
    fixture.ClickStop();
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Stop the Displaying Process ?"}));
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(fixture.ItemRows().size(), 1);
    QVERIFY(frame.buttonBar()->backButton()->isVisible());
    QVERIFY(!frame.buttonBar()->stopButton()->isVisible());
    QVERIFY(!frame.buttonBar()->itemProgress()->isVisible());
    QVERIFY(!frame.wizard().stopFlag().isSet());
    QCOMPARE(frame.rightPane()->caption()->text(), QString("Listing stopped after 1 item"));

    // Save tells that the list is a part of the folder; No saves nothing.
    boxes.SetAnswer(QMessageBox::No);
    fixture.ClickNext();
    QCOMPARE(boxes.Texts().last(), QString("Listing stopped after 1 item. Save these items only?"));
    QCOMPARE(fixture.desktop.saveDialogs, 0);
    boxes.SetAnswer(QMessageBox::Yes);
    fixture.ClickNext();
    QCOMPARE(fixture.desktop.saveDialogs, 1);

    // Answering No lets the listing go on to its end.
    boxes.SetAnswer(QMessageBox::No);
    OpenQuestionOnFirstRow(frame.rightPane()->itemList(), frame);
    fixture.ClickLabel(fixture.TreeItem({"Top of Information Store", "Deleted Items"}));
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    fixture.ClickStop();
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(fixture.ItemRows().size(), 2);
    QVERIFY(frame.rightPane()->caption()->text().isEmpty());
}

// The user clicks Stop the moment it shows, before the job has scanned anything: the question
// is the program's own, and the scan stops at its first test.
void WizardStopTest::stoppingAMailScanLeavesTheListEmptyAndTheNextSelectionWorks() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);

    ClickStopWhenItShows(fixture);
    fixture.ClickLabel(fixture.TreeItem(kInbox));
    QVERIFY(WaitFor([&] { return !boxes.seen.isEmpty() && fixture.Idle(); }));
    QCOMPARE(boxes.Texts(), QStringList({"Do you want to Stop the Displaying Process ?"}));
    QVERIFY(fixture.ItemRows().isEmpty());
    QCOMPARE(frame.rightPane()->itemList()->Headings().value(1), QString("From"));
    QVERIFY(!frame.wizard().stopFlag().isSet());

    fixture.ListFolder({"Top of Information Store", "Outbox"});
    QCOMPARE(fixture.ItemRows().size(), 1);
}

// Destroying the window while a worker waits at an open stop question ends the worker: the
// question is answered with stop, as nobody else can answer it any more.
void WizardStopTest::closingTheProgramWhileAWorkerWaitsAtAQuestionEndsTheWorker() {
    auto fixture = std::make_unique<FrameFixture>();
    BoxAnswerer boxes(QMessageBox::Yes);
    ui::CMainFrame& frame = fixture->frame();
    fixture->OpenDatabase(WriteDemoDatabase(fixture->dir.path()));
    fixture->OpenMailbox(0);

    OpenQuestionOnFirstRow(frame.rightPane()->itemList(), frame);
    fixture->ClickLabel(fixture->TreeItem(kInbox));
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    QVERIFY(frame.wizard().workers().AnyRunning());
    fixture.reset();
    QVERIFY(boxes.seen.isEmpty());
}

void WizardStopTest::closingIsRefusedWhileItemsAreListed() {
    FrameFixture fixture;
    BoxAnswerer boxes(QMessageBox::Ok);
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);

    OpenQuestionOnFirstRow(frame.rightPane()->itemList(), frame);
    fixture.ClickLabel(fixture.TreeItem(kInbox));
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    QVERIFY(!frame.close());
    QCOMPARE(boxes.Texts(), QStringList({"Displaying Items is in Progress.Please Stop the "
                                         "Process to close the Application"}));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Information);
    QVERIFY(frame.isVisible());
    frame.wizard().stopFlag().closeQuestion(false);
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QCOMPARE(fixture.ItemRows().size(), 4);
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::WizardStopTest)
#include "wizard_stop_test.moc"
