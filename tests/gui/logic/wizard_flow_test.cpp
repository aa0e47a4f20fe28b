// The wizard without windows: what the button bar shows in each situation, the step changes
// of Next, Back and Stop, and the close rules, on the demo database. The test's thread plays
// the user-interface thread and serves the workers' window calls when it waits.
#include "wizard/wizard_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "browse/plain_folder_tree.h"
#include "edb/text_codec.h"
#include "edb_writer/demo_store.h"
#include "edb_writer/store_builder.h"
#include "recorded_item_list.h"
#include "temp_dir.h"

namespace velmor::ui {
namespace {

class FakeScreen : public WizardScreen, public PathValidationPort {
public:
    std::u16string path;
    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<std::string> questions;
    // Answers a question; it may serve window calls first, as an open message box does.
    std::function<bool(const std::string&)> answer = [](const std::string&) { return true; };
    int layouts = 0;
    int fileChoosers = 0;
    int saves = 0;
    bool hidden = false;
    int webPages = 0;

    void ShowCurrentStep() override { ++layouts; }
    std::u16string DatabasePath() override { return path; }
    PathValidationPort& PathChecks() override { return *this; }
    void ShowMessage(const std::u16string& text, MessageIcon icon) override {
        messages.emplace_back(Utf16ToUtf8(text), icon);
    }
    bool AskYesNo(const std::u16string& question) override {
        questions.push_back(Utf16ToUtf8(question));
        return answer(questions.back());
    }
    void SaveItemList() override { ++saves; }
    void HideMainWindow() override { hidden = true; }
    void OpenProductWebPage() override { ++webPages; }

    void OpenFileChooser() override { ++fileChoosers; }
    void ShowPathError(const std::u16string& message, bool) override {
        messages.emplace_back(Utf16ToUtf8(message), MessageIcon::Error);
    }
};

class FakeMailboxPage : public MailboxPagePort {
public:
    std::vector<std::u16string> names;
    int selected = -1;
    std::u16string helpText;

    void SetHelpText(const std::u16string& text) override { helpText = text; }
    void RedrawHelpText() override {}
    void DeleteAllRows() override {
        names.clear();
        selected = -1;
    }
    void InsertRow(int row, const std::u16string&, int) override {
        names.insert(names.begin() + row, u"");
    }
    void SetRowName(int row, const std::u16string& name) override { names[row] = name; }
    int RowCount() const override { return static_cast<int>(names.size()); }
    int SelectedCount() const override { return selected >= 0 ? 1 : 0; }
    int SelectionMark() const override { return selected; }
    std::u16string RowName(int row) const override {
        return row >= 0 && row < RowCount() ? names[row] : u"";
    }
};

// What the bar shows, in the order of the situation table: Next, Back, Stop and whether a
// progress display is up.
struct Bar {
    bool nextShown;
    bool nextEnabled;
    std::u16string nextCaption;
    bool backShown;
    bool stopShown;
    bool displays;

    bool operator==(const Bar&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bar& bar) {
    return out << "next " << bar.nextShown << bar.nextEnabled << " " << Utf16ToUtf8(bar.nextCaption)
               << ", back " << bar.backShown << ", stop " << bar.stopShown << ", displays "
               << bar.displays;
}

class WizardFlowTest : public testing::Test {
protected:
    WizardFlowTest() : tmpDir_(dir_.path()) {
        testdb::BuildDemoStore().WriteTo(dir_ / "Demo.edb");
        flow_ = std::make_unique<WizardFlow>(
            WizardWindows{screen_, bar_, mailboxPage_, tree_, list_}, bridge_);
    }
    ~WizardFlowTest() override { flow_.reset(); }

    Bar Shown() const {
        return {bar_.next.visible,
                bar_.next.enabled,
                bar_.next.caption,
                bar_.back.visible,
                bar_.stop.visible,
                bar_.scanProgress.visible || bar_.scanStatus.visible || bar_.itemProgress.visible ||
                    bar_.itemStatus.visible};
    }
    void Serve() {
        bridge_.ServeUntil([this] { return !flow_->workers().AnyRunning(); });
    }
    void OpenDemo() {
        screen_.path = Utf8ToUtf16((dir_ / "Demo.edb").string());
        flow_->Next();
        Serve();
    }

    test::TempDir dir_;
    test::ScopedTmpDir tmpDir_;
    UiCallBridge bridge_;
    FakeScreen screen_;
    FakeMailboxPage mailboxPage_;
    ButtonBarState bar_;
    PlainFolderTree tree_;
    test::RecordedItemList list_;
    std::unique_ptr<WizardFlow> flow_;
};

constexpr bool kShown = true;
constexpr bool kHidden = false;
constexpr bool kEnabled = true;
constexpr bool kDisabled = false;

TEST_F(WizardFlowTest, TheBarFollowsTheWizardThroughItsSituations) {
    EXPECT_EQ(flow_->step(), kFileStep);
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kHidden, kHidden, false}));

    // Discovery running: Stop stays disabled until the worker has started.
    screen_.path = Utf8ToUtf16((dir_ / "Demo.edb").string());
    flow_->Next();
    EXPECT_EQ(flow_->step(), kMailboxStep);
    EXPECT_EQ(Shown(), (Bar{kHidden, kEnabled, u"Next", kHidden, kShown, false}));
    EXPECT_FALSE(bar_.stop.enabled);
    EXPECT_TRUE(flow_->discoveryJob());
    Serve();
    EXPECT_FALSE(flow_->discoveryJob());
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kShown, kHidden, false}));
    EXPECT_EQ(mailboxPage_.names,
              (std::vector<std::u16string>{u"Mailbox - Ann Walker", u"Mailbox - Ben Carter"}));

    // Tree population: Next reads "Save" and Back and Next wait for the tree.
    mailboxPage_.selected = 1;
    flow_->Next();
    EXPECT_EQ(flow_->step(), kBrowseStep);
    EXPECT_EQ(bar_.next.caption, u"Save");
    bool sawPopulationBar = false;
    bridge_.ServeUntil([&] {
        sawPopulationBar |= !bar_.next.enabled && !bar_.back.enabled && bar_.scanStatus.visible;
        return !flow_->workers().AnyRunning();
    });
    EXPECT_TRUE(sawPopulationBar);
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Save", kShown, kHidden, false}));
    ASSERT_EQ(tree_.Children(kNoTreeItem).size(), 1u);
    EXPECT_EQ(tree_.Text(tree_.Children(kNoTreeItem)[0]), u"Mailbox - Ben Carter");
    EXPECT_TRUE(flow_->SaveAllowed());

    // Step 3's Next saves.
    flow_->Next();
    EXPECT_EQ(screen_.saves, 1);

    // Tree clearing: back on the mailbox page, Next disabled until the worker ends.
    flow_->Back();
    EXPECT_EQ(flow_->step(), kMailboxStep);
    EXPECT_EQ(Shown(), (Bar{kShown, kDisabled, u"Next", kShown, kHidden, false}));
    Serve();
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kShown, kHidden, false}));
    EXPECT_TRUE(tree_.Children(kNoTreeItem).empty());
    EXPECT_EQ(mailboxPage_.selected, 1);

    // Store clearing: back on the file page, Next disabled until the worker ends.
    flow_->Back();
    EXPECT_EQ(flow_->step(), kFileStep);
    EXPECT_TRUE(flow_->storeClearingJob());
    EXPECT_EQ(Shown(), (Bar{kShown, kDisabled, u"Next", kHidden, kHidden, false}));
    Serve();
    EXPECT_FALSE(flow_->storeClearingJob());
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kHidden, kHidden, false}));
    EXPECT_TRUE(mailboxPage_.names.empty());
    EXPECT_TRUE(flow_->store().catalog.empty());
    EXPECT_TRUE(screen_.messages.empty());
}

TEST_F(WizardFlowTest, RejectedPathsAndMissingSelectionsChangeNoStep) {
    screen_.path = Utf8ToUtf16((dir_ / "missing.edb").string());
    flow_->Next();
    EXPECT_EQ(flow_->step(), kFileStep);
    EXPECT_FALSE(flow_->workers().AnyRunning());
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kHidden, kHidden, false}));
    ASSERT_EQ(screen_.messages.size(), 1u);
    EXPECT_EQ(screen_.messages[0].first, "File Does Not Exist");

    OpenDemo();
    const int layouts = screen_.layouts;
    flow_->Next();
    EXPECT_EQ(flow_->step(), kMailboxStep);
    ASSERT_EQ(screen_.messages.size(), 2u);
    EXPECT_EQ(screen_.messages[1],
              (std::pair<std::string, MessageIcon>("Please Select User", MessageIcon::Warning)));
    EXPECT_EQ(screen_.layouts, layouts + 1) << "the step-change notification repeats the layout";
    EXPECT_EQ(bar_.next.caption, u"Next");
}

TEST_F(WizardFlowTest, StopInStepTwoAsksAndStepsBackOnlyWhenNoMailboxIsListed) {
    screen_.path = Utf8ToUtf16((dir_ / "Demo.edb").string());
    flow_->Next();
    // The user presses Stop as the worker starts: the worker waits at its next stop test
    // while the question is open.
    bridge_.ServeUntil([&] { return bar_.stop.enabled; });
    screen_.answer = [](const std::string&) { return true; };
    flow_->Stop();
    EXPECT_EQ(screen_.questions,
              std::vector<std::string>{"Do you want to Stop the Recovery Process ?"});
    EXPECT_EQ(flow_->step(), kFileStep);
    EXPECT_FALSE(bar_.back.visible);
    Serve();
    EXPECT_EQ(flow_->step(), kFileStep);
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kHidden, kHidden, false}));
    EXPECT_FALSE(flow_->stopFlag().isSet());

    // With nothing running, Stop in step 3 asks nothing.
    flow_->Next();
    Serve();
    mailboxPage_.selected = 0;
    flow_->Next();
    Serve();
    flow_->Stop();
    EXPECT_EQ(screen_.questions.size(), 1u);
}

TEST_F(WizardFlowTest, BackEndsBrowseJobsStillQueuedBeforeTheTreeIsCleared) {
    OpenDemo();
    mailboxPage_.selected = 0;
    flow_->Next();
    Serve();
    std::vector<TreeItem> folders;
    for (const TreeItem item : tree_.AllItems()) {
        if (tree_.Text(item) == u"Inbox" || tree_.Text(item) == u"Contacts") {
            folders.push_back(item);
        }
    }
    ASSERT_EQ(folders.size(), 2u);
    flow_->BrowseFolder(folders[0]);
    flow_->BrowseFolder(folders[1]);
    flow_->BrowseFolder(folders[0]);
    flow_->Back();
    Serve();
    EXPECT_EQ(flow_->step(), kMailboxStep);
    EXPECT_TRUE(tree_.AllItems().empty());
    EXPECT_FALSE(flow_->browseJob());
    EXPECT_FALSE(flow_->stopFlag().isSet());
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Next", kShown, kHidden, false}));
    int folderViews = 0;
    flow_->store().folderViews.ForEach([&](const FolderViewNode&) {
        ++folderViews;
        return true;
    });
    EXPECT_EQ(folderViews, 0);

    // The wizard goes on as before.
    flow_->Next();
    Serve();
    EXPECT_EQ(tree_.Children(kNoTreeItem).size(), 1u);
}

TEST_F(WizardFlowTest, ClosingWaitsForNothingItMayNotAndClearsEverything) {
    screen_.path = Utf8ToUtf16((dir_ / "Demo.edb").string());
    flow_->Next();
    EXPECT_FALSE(flow_->RequestClose());
    ASSERT_EQ(screen_.messages.size(), 1u);
    EXPECT_EQ(screen_.messages[0],
              (std::pair<std::string, MessageIcon>(
                  "Recovery is in Progress.Please Stop the Process to close the Application",
                  MessageIcon::Information)));
    EXPECT_TRUE(screen_.questions.empty());
    Serve();
    EXPECT_TRUE(test::HoldsMessageTemplate(dir_.path()));

    screen_.answer = [](const std::string&) { return false; };
    EXPECT_FALSE(flow_->RequestClose());
    EXPECT_FALSE(screen_.hidden);
    EXPECT_EQ(screen_.webPages, 0);

    // Back starts the store clearing; a confirmed close right after waits for it.
    flow_->Back();
    screen_.answer = [](const std::string&) { return true; };
    EXPECT_TRUE(flow_->RequestClose());
    EXPECT_EQ(screen_.questions,
              (std::vector<std::string>{"Do you want to Close the Application ?",
                                        "Do you want to Close the Application ?"}));
    EXPECT_TRUE(screen_.hidden);
    EXPECT_EQ(screen_.webPages, 1);
    EXPECT_FALSE(flow_->workers().AnyRunning());
    EXPECT_FALSE(flow_->storeClearingJob());
    EXPECT_TRUE(mailboxPage_.names.empty());
    EXPECT_TRUE(flow_->store().mailboxes.empty());
    EXPECT_FALSE(test::HoldsMessageTemplate(dir_.path()));
}

// Export: step 3, checked folders, a worker that shows the folder being written, Stop's
// question, a refused close and the closing message.
class WizardExportTest : public WizardFlowTest {
protected:
    void OpenTree() {
        OpenDemo();
        mailboxPage_.selected = 0;
        flow_->Next();
        Serve();
    }
    void Check(const std::u16string& name) {
        for (const TreeItem item : tree_.AllItems()) {
            if (tree_.Text(item) == name) {
                tree_.SetCheckState(item, kChecked);
            }
        }
    }
    ExportChoice Choice() const {
        ExportChoice choice;
        choice.directory = out_.path() / "export";
        choice.formats.mbox = true;
        return choice;
    }

    test::TempDir out_;
};

TEST_F(WizardExportTest, CheckedFoldersAreWrittenOnAWorkerAndAMessageTellsWhere) {
    OpenTree();
    EXPECT_FALSE(flow_->ExportAllowed()) << "nothing checked";
    Check(u"Inbox");
    Check(u"Contacts");
    Check(u"Mailbox - Ann Walker");  // the mailbox's root item is no folder of its own
    ASSERT_TRUE(flow_->ExportAllowed());

    flow_->ExportCheckedFolders(Choice());
    EXPECT_TRUE(flow_->exportJob());
    EXPECT_FALSE(flow_->ExportAllowed());
    EXPECT_EQ(Shown(), (Bar{kHidden, kEnabled, u"Save", kHidden, kShown, false}));
    std::vector<std::u16string> statuses;
    // The one bar of the whole export: its range stays, its position never goes back.
    std::vector<int> positions;
    std::vector<int> ranges;
    bar_.SetObserver([&] {
        const std::u16string& status = bar_.itemStatus.text;
        if (bar_.itemStatus.visible && status.starts_with(u"Exporting") &&
            (statuses.empty() || statuses.back() != status)) {
            statuses.push_back(status);
        }
        if (bar_.itemProgress.visible && !statuses.empty()) {
            positions.push_back(bar_.itemProgress.position);
            ranges.push_back(bar_.itemProgress.high);
        }
    });
    Serve();
    EXPECT_FALSE(flow_->exportJob());
    EXPECT_EQ(Shown(), (Bar{kShown, kEnabled, u"Save", kShown, kHidden, false}));
    EXPECT_EQ(statuses, (std::vector<std::u16string>{u"Exporting 1 of 2: Inbox",
                                                     u"Exporting 2 of 2: Contacts"}));
    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), ranges.front()), std::ssize(ranges));
    EXPECT_GT(std::count_if(positions.begin(), positions.end(),
                            [&](int p) { return p > 0 && p < ranges.front() / 2; }),
              0)
        << "the bar moves within the first folder";
    EXPECT_EQ(positions.back(), ranges.front());
    const auto top = out_.path() / "export" / "Top of Information Store";
    EXPECT_TRUE(std::filesystem::exists(top / "Inbox" / "folder.mbox"));
    EXPECT_TRUE(std::filesystem::exists(top / "Contacts" / "contacts.vcf"));
    ASSERT_EQ(screen_.messages.size(), 1u);
    EXPECT_EQ(screen_.messages[0].first,
              "7 items of 2 folders were written to " + (out_.path() / "export").string() + ".");
    EXPECT_EQ(screen_.messages[0].second, MessageIcon::Information);
    EXPECT_TRUE(flow_->ExportAllowed());
}

// The bar of an export moves by the items written: an empty folder written first takes next
// to nothing of it, a full one nearly all.
TEST_F(WizardExportTest, TheBarMovesByItemsAcrossTheFolders) {
    constexpr int kMails = 400;
    testdb::StoreBuilder builder;
    testdb::Mailbox mailbox;
    mailbox.name = "Ann Walker";
    testdb::Folder top;
    top.parent = builder.AddMailbox(mailbox);
    top.name = "Top of Information Store";
    testdb::Folder inbox;
    inbox.parent = builder.AddFolder(top);
    inbox.name = "Inbox";
    inbox.containerClass = "IPF.Note";
    const testdb::EntryId inboxId = builder.AddFolder(inbox);
    for (int i = 0; i < kMails; ++i) {
        testdb::Item mail;
        mail.subject = "Mail " + std::to_string(i + 1);
        mail.sender = "Carol Hughes";
        builder.AddItem(inboxId, mail);
    }
    builder.WriteTo(dir_ / "Demo.edb");
    OpenTree();
    Check(u"Top of Information Store");
    Check(u"Inbox");

    flow_->ExportCheckedFolders(Choice());
    std::optional<int> inboxStart;
    int range = 0;
    bar_.SetObserver([&] {
        if (!inboxStart && bar_.itemStatus.visible &&
            bar_.itemStatus.text == u"Exporting 2 of 2: Inbox") {
            inboxStart = bar_.itemProgress.position;
            range = bar_.itemProgress.high;
        }
    });
    Serve();
    ASSERT_TRUE(inboxStart.has_value());
    EXPECT_LT(*inboxStart, range / 10)
        << "the empty folder took " << *inboxStart << " of " << range;
    EXPECT_EQ(screen_.messages.back().first, std::to_string(kMails) +
                                                 " items of 2 folders were written to " +
                                                 (out_.path() / "export").string() + ".");
}

TEST(ExportSummaryTest, AStopTellsTheItemsOfTheIncompleteFolderApart) {
    ExportSummary stopped;
    stopped.directory = "/out";
    stopped.stopped = true;
    stopped.items = 20492;
    stopped.folders = 1;
    stopped.stoppedFolder = u"Mailbox - Ann Walker\\Inbox\\";
    stopped.stoppedFolderItems = 20000;
    stopped.notWritten = {u"mbox"};
    EXPECT_EQ(ExportSummaryText(stopped),
              u"The export was stopped. 492 items of 1 folder were written to /out.\n\n"
              u"Mailbox - Ann Walker\\Inbox\\ is incomplete: 20000 of its items were written, its "
              u"mbox files were not.");
}

TEST(ExportSummaryTest, CountsInTheSingularAndAnEndingErrorIsNoInformation) {
    ExportSummary one;
    one.directory = "/out";
    one.items = 1;
    one.folders = 1;
    EXPECT_EQ(ExportSummaryText(one), u"1 item of 1 folder was written to /out.");
    EXPECT_EQ(ExportSummaryIcon(one), MessageIcon::Information);
    one.failures.emplace_back(u"Inbox", "disk full");
    EXPECT_EQ(ExportSummaryIcon(one), MessageIcon::Warning);
    ExportSummary refused;
    refused.refused = "the directory cannot be written";
    EXPECT_EQ(ExportSummaryText(refused), u"Nothing was exported: the directory cannot be written");
    EXPECT_EQ(ExportSummaryIcon(refused), MessageIcon::Error);
}

TEST_F(WizardExportTest, StopAsksAboutTheExportAndCloseIsRefusedMeanwhile) {
    OpenTree();
    Check(u"Inbox");
    Check(u"Sent Items");
    Check(u"Calendar");
    flow_->ExportCheckedFolders(Choice());
    bool asked = false;
    bridge_.ServeUntil([&] {
        if (!asked && bar_.itemStatus.visible && bar_.itemStatus.text.starts_with(u"Exporting")) {
            asked = true;
            // The worker waits inside the first folder until the question is answered.
            flow_->stopFlag().openQuestion();
            EXPECT_FALSE(flow_->RequestClose());
            flow_->BrowseFolder(tree_.AllItems().back());
            flow_->Stop();
        }
        return !flow_->workers().AnyRunning();
    });
    EXPECT_EQ(screen_.questions, std::vector<std::string>{"Do you want to Stop the Export ?"});
    ASSERT_EQ(screen_.messages.size(), 2u);
    EXPECT_EQ(screen_.messages[0].first,
              "Exporting Items is in Progress.Please Stop the Process to close the Application");
    EXPECT_EQ(screen_.messages[1].first,
              "The export was stopped. 0 items of 0 folders were written to " +
                  (out_.path() / "export").string() +
                  ".\n\nMailbox - Ann Walker\\Top of Information Store\\Inbox\\ is incomplete: "
                  "0 of its items were written, its mbox and CSV files were not.");
    EXPECT_EQ(screen_.messages[1].second, MessageIcon::Warning);
    EXPECT_TRUE(list_.rows().empty()) << "no listing runs beside the export";
    EXPECT_FALSE(flow_->stopFlag().isSet());
    EXPECT_FALSE(
        std::filesystem::exists(out_.path() / "export" / "Top of Information Store" / "Calendar"))
        << "the folders after the stop are not begun";
}

}  // namespace
}  // namespace velmor::ui
