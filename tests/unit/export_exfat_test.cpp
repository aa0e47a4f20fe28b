#include <gtest/gtest.h>
#include <unistd.h>

#include "command_output.h"
#include "export_test_store.h"

namespace velmor {
namespace {

using test::April;
using test::ExportTestStore;
using test::Mail;
using test::Quoted;
using test::RunCommand;

// An exFAT file system on a loop device, mounted with the FUSE driver (Debian packages
// exfatprogs and exfat-fuse) for the life of the object, where the machine allows it: it has
// no hard links, no no-replace renames and no files without a name, and ignores case.
class ExfatDrive {
public:
    explicit ExfatDrive(const std::filesystem::path& scratch)
        : image_(scratch / "exfat.img"), root_(scratch / "drive") {
        if (::geteuid() != 0) {
            why_ = "mounting needs root";
            return;
        }
        std::filesystem::create_directory(root_);
        if (!Run("command -v mkfs.exfat && command -v mount.exfat-fuse && command -v losetup") ||
            !Run("truncate -s 32M " + Quoted(image_) + " && mkfs.exfat " + Quoted(image_))) {
            why_ = "no exFAT tools (exfatprogs, exfat-fuse)";
            return;
        }
        const auto device = RunCommand("losetup -f --show " + Quoted(image_));
        if (device.status != 0 || device.text.empty()) {
            why_ = "no loop device: " + device.text;
            return;
        }
        device_ = device.text.substr(0, device.text.find('\n'));
        if (!Run("mount.exfat-fuse " + Quoted(device_) + " " + Quoted(root_))) {
            why_ = "the exFAT driver cannot mount here";
            return;
        }
        mounted_ = true;
    }
    ~ExfatDrive() {
        if (mounted_) {
            Run("umount " + Quoted(root_));
        }
        if (!device_.empty()) {
            Run("losetup -d " + Quoted(device_));
        }
    }
    ExfatDrive(const ExfatDrive&) = delete;
    ExfatDrive& operator=(const ExfatDrive&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    const std::filesystem::path& root() const { return root_; }

private:
    static bool Run(const std::string& command) { return RunCommand(command).status == 0; }

    std::filesystem::path image_;
    std::filesystem::path root_;
    std::string device_;
    std::string why_;
    bool mounted_ = false;
};

// The export writes every file onto a real exFAT drive, folder names that Windows file
// systems refuse included.
TEST(ExportExfatTest, EveryFileIsWrittenOntoAnExfatDrive) {
    ExportTestStore store;
    for (const char* name : {"Inbox", "INBOX", "Re: Budget?", "CON", "Notes."}) {
        const auto folder = store.AddFolder(name);
        for (int i = 0; i < 3; ++i) {
            store.builder.AddItem(
                folder, Mail("Carol Hughes", "Mail " + std::to_string(i), April(10, 9, i)));
        }
    }
    ExfatDrive drive(store.out.path());
    if (!drive.mounted()) {
        GTEST_SKIP() << drive.why();
    }
    auto& browsed = store.Browsed();
    ExportOptions options;
    options.formats.eml = true;
    options.formats.mbox = true;
    options.formats.csv = true;
    MailboxExport exporter(browsed.context(), browsed.tree, drive.root() / "recovered", options);
    std::string error;
    ASSERT_TRUE(exporter.Prepare(error)) << error;
    std::vector<std::string> directories;
    for (const char* name : {"Inbox", "INBOX", "Re: Budget?", "CON", "Notes."}) {
        const auto result = exporter.Export(store.ItemOf(name));
        ASSERT_TRUE(result.ok()) << name << ": " << result.error;
        EXPECT_EQ(test::FileNames(result.directory),
                  (std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml", "folder.mbox",
                                            "items.csv"}))
            << name;
        directories.push_back(result.directory.filename().string());
    }
    EXPECT_EQ(directories,
              (std::vector<std::string>{"Inbox", "INBOX (2)", "Re_ Budget_", "CON_", "Notes_"}));
}

}  // namespace
}  // namespace velmor
