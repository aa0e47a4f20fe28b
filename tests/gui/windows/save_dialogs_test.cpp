// The desktop's save dialogs: each opens in the directory where the last one was answered.
#include <QFileDialog>
#include <QTest>

#include "desktop_services.h"
#include "gui_test_support.h"
#include "window_test_registry.h"

namespace velmor::test {

class SaveDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void eachSaveDialogOpensWhereTheLastWasAnswered();
};

void SaveDialogsTest::eachSaveDialogOpensWhereTheLastWasAnswered() {
    TempDir dir;
    const QString first = QString::fromStdString((dir / "first").string());
    const QString second = QString::fromStdString((dir / "second").string());
    std::filesystem::create_directory(dir / "first");
    std::filesystem::create_directory(dir / "second");
    ui::DesktopServices desktop;
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Answers the next file dialog: remembers where it opened, then chooses path.
    QString openedIn;
    const auto answer = [&](const QString& path) {
        return std::make_unique<ModalWatcher<QFileDialog>>([&openedIn, path](QFileDialog& shown) {
            openedIn = shown.directory().absolutePath();
            shown.selectFile(path);
            static_cast<QDialog&>(shown).accept();
        });
    };

    auto watcher = answer(first + "/report.pdf");
    QCOMPARE(desktop.ChooseAttachmentFile(&window, "report.pdf"), first + "/report.pdf");
    QVERIFY(watcher->seen);

    watcher = answer(second);
    QCOMPARE(desktop.ChooseDirectory(&window), second);
    QCOMPARE(openedIn, first);

    watcher = answer(second + "/list.csv");
    QCOMPARE(desktop.ChooseSaveFile(&window), second + "/list.csv");
    QCOMPARE(openedIn, second);

    watcher = answer(second + "/notes.txt");
    QCOMPARE(desktop.ChooseAttachmentFile(&window, "notes.txt"), second + "/notes.txt");
    QCOMPARE(openedIn, second);
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::SaveDialogsTest)
#include "save_dialogs_test.moc"
