// The export from the window: the dialog's choices and the menu command that writes the
// checked folders.
#include <QPointer>
#include <QTest>

#include "export_dialog.h"
#include "gui_test_support.h"
#include "window_test_registry.h"

namespace velmor::test {

class ExportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogStartsWithTheDefaultFormatsAndNeedsADirectoryAndAFormat();
    void theMenuCommandWritesTheCheckedFoldersAndTellsWhere();
    void thePstChoiceWritesOneFileForTheMailbox();
    void theShortcutWorksAfterAFolderWasListed();
    void theDialogShowsTheLastChoiceAgain();
    void stopAsksAboutTheExportAndTheSummaryReplacesTheRefusalToClose();
};

void ExportWindowTest::theDialogStartsWithTheDefaultFormatsAndNeedsADirectoryAndAFormat() {
    RecordingDesktop desktop;
    ui::CExportDialog dialog(desktop);
    QCOMPARE(dialog.windowTitle(), QString("Export Checked Folders"));
    QVERIFY(dialog.emlBox()->isChecked());
    QVERIFY(!dialog.mboxBox()->isChecked());
    QVERIFY(dialog.vcardBox()->isChecked());
    QVERIFY(dialog.icalendarBox()->isChecked());
    QVERIFY(dialog.csvBox()->isChecked());
    QVERIFY(!dialog.pstBox()->isChecked());
    QVERIFY(!dialog.okButton()->isEnabled());

    desktop.directoryChoice = "/tmp/recovered";
    QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
    QCOMPARE(desktop.directoryDialogs, 1);
    QCOMPARE(dialog.directoryBox()->text(), QString("/tmp/recovered"));
    QVERIFY(dialog.okButton()->isEnabled());
    desktop.directoryChoice.clear();
    QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
    // A cancelled choice keeps the directory.
    QCOMPARE(dialog.directoryBox()->text(), QString("/tmp/recovered"));

    for (QCheckBox* box : {dialog.emlBox(), dialog.vcardBox(), dialog.icalendarBox()}) {
        box->setChecked(false);
    }
    QVERIFY(dialog.okButton()->isEnabled());
    dialog.csvBox()->setChecked(false);
    QVERIFY(!dialog.okButton()->isEnabled());
    dialog.mboxBox()->setChecked(true);
    const ui::ExportChoice choice = dialog.Choice();
    QCOMPARE(QString::fromStdString(choice.directory.string()), QString("/tmp/recovered"));
    QVERIFY(choice.formats.mbox && !choice.formats.eml && !choice.formats.csv);
    dialog.mboxBox()->setChecked(false);
    QVERIFY(!dialog.okButton()->isEnabled());
    dialog.pstBox()->setChecked(true);
    QVERIFY(dialog.okButton()->isEnabled());
    QVERIFY(dialog.Choice().formats.pst);
}

void ExportWindowTest::theMenuCommandWritesTheCheckedFoldersAndTellsWhere() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    QVERIFY(!frame.exportAction()->isEnabled());
    QCOMPARE(frame.exportAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));

    // The check goes to the ancestors too: the top folder (no items) is written as well.
    fixture.ClickCheckBox(fixture.TreeItem({"Top of Information Store", "Calendar"}));
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QVERIFY(WaitFor([&] { return frame.exportAction()->isEnabled(); }));

    const auto out = fixture.dir / "recovered";
    bool dialogSeen = false;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<ui::CExportDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialogSeen = true;
        dialog->directoryBox()->setText(QString::fromStdString(out.string()));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(dialogSeen);
    QVERIFY(WaitFor([&] { return boxes.seen.size() == 1 && fixture.Idle(); }));
    QCOMPARE(boxes.seen[0].text, QString("3 items of 2 folders were written to %1.")
                                     .arg(QString::fromStdString(out.string())));
    const auto calendar = out / "Top of Information Store" / "Calendar";
    QVERIFY(std::filesystem::exists(calendar / "items.ics"));
    QVERIFY(std::filesystem::exists(calendar / "items.csv"));
    QVERIFY(frame.exportAction()->isEnabled());
}

void ExportWindowTest::thePstChoiceWritesOneFileForTheMailbox() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ClickCheckBox(fixture.TreeItem({"Top of Information Store", "Calendar"}));
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    QVERIFY(WaitFor([&] { return frame.exportAction()->isEnabled(); }));

    const auto out = fixture.dir / "recovered";
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<ui::CExportDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->directoryBox()->setText(QString::fromStdString(out.string()));
        for (QCheckBox* box :
             {dialog->emlBox(), dialog->vcardBox(), dialog->icalendarBox(), dialog->csvBox()}) {
            box->setChecked(false);
        }
        dialog->pstBox()->setChecked(true);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(WaitFor([&] { return boxes.seen.size() == 1 && fixture.Idle(); }));
    const auto pst = out / "Mailbox - Ann Walker.pst";
    QCOMPARE(boxes.seen[0].text,
             QString("3 items of 2 folders were written to %1.\n\nThe PST file is %2.")
                 .arg(QString::fromStdString(out.string()), QString::fromStdString(pst.string())));
    QVERIFY(std::filesystem::exists(pst));
    QVERIFY2(!std::filesystem::exists(out / "Top of Information Store"),
             "no folder directories without a format that writes into them");
}

// The command follows the end of every listing, not only the check boxes.
void ExportWindowTest::theShortcutWorksAfterAFolderWasListed() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ClickCheckBox(fixture.TreeItem({"Top of Information Store", "Calendar"}));
    QVERIFY(WaitFor([&] { return fixture.Idle(); }));
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QVERIFY(!frame.wizard().browseJob());

    ModalWatcher<ui::CExportDialog> dialog([](ui::CExportDialog& shown) { shown.reject(); });
    QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(dialog.seen);
    QVERIFY(boxes.seen.isEmpty());
}

void ExportWindowTest::theDialogShowsTheLastChoiceAgain() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ui::CMainFrame& frame = fixture.frame();
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ClickCheckBox(fixture.TreeItem({"Top of Information Store", "Calendar"}));
    QVERIFY(WaitFor([&] { return fixture.Idle() && frame.exportAction()->isEnabled(); }));

    const QString out = QString::fromStdString((fixture.dir / "recovered").string());
    ModalWatcher<ui::CExportDialog> first([&](ui::CExportDialog& dialog) {
        dialog.directoryBox()->setText(out);
        dialog.emlBox()->setChecked(false);
        dialog.mboxBox()->setChecked(true);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(WaitFor([&] { return boxes.seen.size() == 1 && fixture.Idle(); }));

    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    ui::ExportChoice shown;
    ModalWatcher<ui::CExportDialog> second([&](ui::CExportDialog& dialog) {
        shown = dialog.Choice();
        dialog.reject();
    });
    QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(second.seen);
    QCOMPARE(QString::fromStdString(shown.directory.string()), out);
    QVERIFY(!shown.formats.eml && shown.formats.mbox && shown.formats.csv);
}

// Stop asks about the export, and the summary tells what the stop left unwritten. A refusal
// to close that is open when an export ends goes when the summary comes.
void ExportWindowTest::stopAsksAboutTheExportAndTheSummaryReplacesTheRefusalToClose() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    {
        BoxAnswerer boxes;
        fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
        fixture.OpenMailbox(0);
        fixture.ClickCheckBox(fixture.TreeItem({"Top of Information Store", "Inbox"}));
        QVERIFY(WaitFor([&] { return fixture.Idle() && frame.exportAction()->isEnabled(); }));
    }
    const auto out = fixture.dir / "recovered";
    const auto startExport = [&] {
        // A closed box gives the keyboard back to the window first.
        frame.activateWindow();
        if (!QTest::qWaitForWindowActive(&frame)) {
            return false;
        }
        ModalWatcher<ui::CExportDialog> dialog([&](ui::CExportDialog& shown) {
            shown.directoryBox()->setText(QString::fromStdString(out.string()));
            shown.mboxBox()->setChecked(true);
            QTest::mouseClick(shown.okButton(), Qt::LeftButton);
        });
        QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
        return dialog.seen;
    };
    // The export waits in its first folder until the question is answered.
    bool pauseNext = true;
    QLabel* status = frame.buttonBar()->itemStatus();
    QObject::connect(frame.buttonBar(), &ui::CBackNextView::refreshed, &frame, [&] {
        if (pauseNext && status->isVisible() && status->text().startsWith("Exporting")) {
            pauseNext = false;
            frame.wizard().stopFlag().openQuestion();
        }
    });

    // Each box as it comes: a question is answered Yes, a refusal lets the paused export go
    // on and stays open, a summary is read beside whatever else is shown.
    QList<SeenBox> seen;
    QPointer<QMessageBox> refusal;
    bool refusalShownWithSummary = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box == refusal) {
            return;
        }
        seen.append({box->windowTitle(), box->text(), box->icon(), true});
        if (box->icon() == QMessageBox::Question) {
            box->button(QMessageBox::Yes)->click();
        } else if (box->text().contains("in Progress")) {
            refusal = box;
            frame.wizard().stopFlag().closeQuestion(false);
        } else {
            refusalShownWithSummary = !refusal.isNull() && refusal->isVisible();
            box->button(QMessageBox::Ok)->click();
        }
    });
    watcher.start(5);

    QVERIFY(startExport());
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    fixture.ClickStop();
    QVERIFY(WaitFor([&] { return seen.size() == 2 && fixture.Idle(); }));
    QCOMPARE(seen[0].text, QString("Do you want to Stop the Export ?"));
    QVERIFY2(seen[1].text.startsWith("The export was stopped. 0 items of 0 folders were"),
             qPrintable(seen[1].text));
    QVERIFY2(seen[1].text.contains("Top of Information Store\\ is incomplete: 0 of its items "
                                   "were written, its mbox and CSV files were not."),
             qPrintable(seen[1].text));
    QCOMPARE(seen[1].icon, QMessageBox::Warning);

    pauseNext = true;
    QVERIFY(startExport());
    QVERIFY(WaitFor([&] { return frame.wizard().stopFlag().questionOpen(); }));
    QVERIFY(!frame.close());
    QVERIFY(WaitFor([&] { return seen.size() == 4 && fixture.Idle(); }));
    QCOMPARE(seen[2].text, QString("Exporting Items is in Progress.Please Stop the Process to "
                                   "close the Application"));
    QVERIFY2(seen[3].text.startsWith("6 items of 3 folders were written"),
             qPrintable(seen[3].text));
    QCOMPARE(seen[3].icon, QMessageBox::Information);
    QVERIFY(!refusalShownWithSummary);
    QVERIFY(refusal.isNull() || !refusal->isVisible());
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::ExportWindowTest)
#include "export_window_test.moc"
