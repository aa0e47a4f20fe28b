// The export from the window: the dialog's choices and the menu command that writes the
// checked folders.
#include <QTest>

#include "export_dialog.h"
#include "gui_test_support.h"

namespace velmor::test {

class ExportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogStartsWithTheDefaultFormatsAndNeedsADirectoryAndAFormat();
    void theMenuCommandWritesTheCheckedFoldersAndTellsWhere();
    void thePstChoiceWritesOneFileForTheMailbox();
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

}  // namespace velmor::test

QTEST_MAIN(velmor::test::ExportWindowTest)
#include "export_window_test.moc"
