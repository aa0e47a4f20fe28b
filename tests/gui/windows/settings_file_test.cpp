// The settings file: where it lives, and the settings of earlier versions taken over once.
#include <QSettings>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "gui_test_support.h"
#include "settings_file.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

int RememberedCodePage(const std::filesystem::path& file) {
    return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat)
        .value("Settings/codePage")
        .toInt();
}

}  // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    // Before the first QSettings of the process, which fixes the directories it uses.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QByteArray(config_.path().c_str())); }
    void theSettingsLiveInTheXdgConfigDirectoryAndTakeTheOldFileOnce();

private:
    TempDir config_;
};

void SettingsFileTest::theSettingsLiveInTheXdgConfigDirectoryAndTakeTheOldFileOnce() {
    const auto oldFile = config_.path() / "Local AppWizard-Generated Applications" / "velmor.conf";
    WriteFile(oldFile, "[Settings]\ncodePage=1251\n");
    const auto directory = config_.path() / "velmor";
    const auto file = directory / "velmor.conf";

    ui::UseVelmorSettingsFile();
    QVERIFY(std::filesystem::exists(file));
    QCOMPARE(std::filesystem::status(directory).permissions() & std::filesystem::perms::all,
             std::filesystem::perms::owner_all);
    {
        FrameFixture fixture;
        QVERIFY(CodePageAction(fixture.frame(), "1251 Cyrillic")->isChecked());
        CodePageAction(fixture.frame(), "1252 Western European")->trigger();
    }
    QCOMPARE(RememberedCodePage(file), 1252);

    // A later start keeps its own file; the old one is read no more.
    WriteFile(oldFile, "[Settings]\ncodePage=1253\n");
    ui::UseVelmorSettingsFile();
    FrameFixture fixture;
    QVERIFY(CodePageAction(fixture.frame(), "1252 Western European")->isChecked());
    QCOMPARE(RememberedCodePage(oldFile), 1253);
    CodePageAction(fixture.frame(), "&Detect")->trigger();
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::SettingsFileTest)
#include "settings_file_test.moc"
