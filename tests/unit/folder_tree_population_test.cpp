#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/folder_tree_population.h"
#include "browse/plain_folder_tree.h"
#include "browse/tree_item_path.h"
#include "edb/text_codec.h"
#include "recording_sink.h"

namespace velmor {
namespace {

constexpr char16_t kAnnLabel[] = u"Mailbox - Ann";

class FolderTreePopulationTest : public testing::Test {
protected:
    void AddMailbox(std::u16string key, std::u16string name) {
        store_.mailboxes.Append(MailboxEntry{std::move(key), std::move(name), {}});
    }
    void AddFolder(std::u16string id, std::u16string parent, std::u16string name,
                   std::u16string containerClass = u"IPF.Note") {
        store_.folders.push_back(FolderEntry{
            std::move(id), std::move(parent), std::move(containerClass), std::move(name), {}, {}});
    }
    void Populate(const std::u16string& label = kAnnLabel) {
        PopulateFolderTree(tree_, store_, sink_, label);
    }
    // Every tree path, depth first.
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (TreeItem item : tree_.AllItems()) {
            paths.push_back(Utf16ToUtf8(TreeItemPath(tree_, item)));
        }
        return paths;
    }
    std::vector<const FolderViewNode*> Nodes() const {
        std::vector<const FolderViewNode*> nodes;
        store_.folderViews.ForEach([&](const FolderViewNode& node) {
            nodes.push_back(&node);
            return true;
        });
        return nodes;
    }
    TreeItem ItemAt(const std::u16string& path) const {
        for (TreeItem item : tree_.AllItems()) {
            if (TreeItemPath(tree_, item) == path) {
                return item;
            }
        }
        return kNoTreeItem;
    }

    RecoveredStore store_;
    PlainFolderTree tree_;
    test::RecordingSink sink_;
};

TEST_F(FolderTreePopulationTest, ParentLinksBuildTheTreeInRecordOrderWithOneNodePerFolder) {
    AddMailbox(u"AA", u"Mailbox - Ann");
    AddFolder(u"0100000000000011", u"AA", u"Top of Information Store", u"");
    AddFolder(u"0100000000000013", u"0100000000000012", u"Projects");  // before its parent
    AddFolder(u"0100000000000012", u"0100000000000011", u"Inbox");
    AddFolder(u"0100000000000014", u"0100000000000011", u"Contacts", u"IPF.Contact");
    AddFolder(u"0100000000000015", u"0100000000000099", u"Orphan");
    store_.catalog.push_back(CatalogEntry{60, 60, u"1-12", kTableRecordMarker, 0});
    store_.catalog.push_back(CatalogEntry{70, 70, u"1-13", kTableRecordMarker, 0});
    Populate();

    EXPECT_EQ(Paths(), (std::vector<std::string>{
                           "Mailbox - Ann\\",
                           "Mailbox - Ann\\Top of Information Store\\",
                           "Mailbox - Ann\\Top of Information Store\\Inbox\\",
                           "Mailbox - Ann\\Top of Information Store\\Inbox\\Projects\\",
                           "Mailbox - Ann\\Top of Information Store\\Contacts\\",
                       }));
    const auto nodes = Nodes();
    ASSERT_EQ(nodes.size(), 4u);
    // A top-level folder's node carries only its path.
    EXPECT_EQ(nodes[0]->treePath, u"Mailbox - Ann\\Top of Information Store\\");
    EXPECT_TRUE(nodes[0]->folderId.empty());
    EXPECT_TRUE(nodes[0]->containerClass.empty());
    EXPECT_EQ(nodes[0]->tableObjectId, 0);
    EXPECT_EQ(nodes[0]->treeItem, kNoTreeItem);

    EXPECT_EQ(nodes[1]->folderId, u"0100000000000012");
    EXPECT_EQ(nodes[1]->containerClass, u"IPF.Note");
    EXPECT_EQ(nodes[1]->tableObjectId, 60);
    EXPECT_EQ(nodes[1]->treeItem, ItemAt(nodes[1]->treePath));
    EXPECT_EQ(nodes[2]->tableObjectId, 70);
    EXPECT_EQ(nodes[3]->tableObjectId, 0) << "no catalog name contains 1-14";

    const TreeItem root = tree_.Children(kNoTreeItem).front();
    EXPECT_TRUE(tree_.IsExpanded(root));
    EXPECT_EQ(tree_.Image(root), 11);
    EXPECT_EQ(tree_.Image(ItemAt(nodes[1]->treePath)), 9);
    EXPECT_EQ(tree_.Image(ItemAt(nodes[2]->treePath)), 0);
    EXPECT_EQ(tree_.SelectedImage(ItemAt(nodes[2]->treePath)), 12);
    EXPECT_EQ(tree_.Image(ItemAt(nodes[3]->treePath)), 2);
}

TEST_F(FolderTreePopulationTest, DuplicateAndEmptyNamesHideTheFolderAndItsSubtree) {
    AddMailbox(u"AA", u"Mailbox - Ann");
    AddFolder(u"11", u"AA", u"Top");
    AddFolder(u"12", u"11", u"Inbox");
    AddFolder(u"13", u"11", u"Inbox");  // same name as an earlier sibling
    AddFolder(u"14", u"13", u"Under the duplicate");
    AddFolder(u"15", u"11", u"");
    AddFolder(u"16", u"15", u"Under the nameless");
    AddFolder(u"17", u"AA", u"");  // a nameless top-level folder is shown
    AddFolder(u"18", u"AA", u"Top");
    AddFolder(u"19", u"18", u"Under the second top");
    AddFolder(u"20", u"12", u"Inbox");  // a child may share its parent's name
    Populate();

    EXPECT_EQ(Paths(), (std::vector<std::string>{
                           "Mailbox - Ann\\",
                           "Mailbox - Ann\\Top\\",
                           "Mailbox - Ann\\Top\\Inbox\\",
                           "Mailbox - Ann\\Top\\Inbox\\Inbox\\",
                           "Mailbox - Ann\\\\",
                       }));
    EXPECT_EQ(Nodes().size(), 4u);
}

TEST_F(FolderTreePopulationTest, TheLabelFindsTheFirstMailboxWhoseNameContainsIt) {
    AddMailbox(u"BB", u"Mailbox - Anne");
    AddMailbox(u"AA", u"Mailbox - Ann");
    AddFolder(u"11", u"AA", u"Ann's folder");
    AddFolder(u"21", u"BB", u"Anne's folder");
    Populate();
    EXPECT_EQ(Paths(),
              (std::vector<std::string>{"Mailbox - Ann\\", "Mailbox - Ann\\Anne's folder\\"}));
}

TEST_F(FolderTreePopulationTest, ParentLinksThatFormALoopEndWhereTheyComeBack) {
    AddMailbox(u"AA", u"Mailbox - Ann");
    AddFolder(u"11", u"AA", u"Top");
    AddFolder(u"12", u"11", u"Loop");
    AddFolder(u"11", u"12", u"Back to top");  // the id of an ancestor
    AddFolder(u"13", u"13", u"Itself");       // its own parent, below Loop
    AddFolder(u"13", u"12", u"Into itself");
    Populate();
    EXPECT_EQ(Paths(), (std::vector<std::string>{
                           "Mailbox - Ann\\",
                           "Mailbox - Ann\\Top\\",
                           "Mailbox - Ann\\Top\\Loop\\",
                           "Mailbox - Ann\\Top\\Loop\\Into itself\\",
                       }));
}

TEST_F(FolderTreePopulationTest, ProgressCoversEveryFolderRecordAndTheButtonsComeBack) {
    AddMailbox(u"AA", u"Mailbox - Ann");
    AddMailbox(u"BB", u"Mailbox - Ben");
    AddFolder(u"11", u"AA", u"Top");
    AddFolder(u"21", u"BB", u"Ben's");
    AddFolder(u"22", u"21", u"Ben's inbox");
    Populate();
    EXPECT_EQ(sink_.calls, (std::vector<std::string>{
                               "EnableButton Back 0",
                               "EnableButton Next 0",
                               "SetScanStatus Please wait.Tree is being populated...",
                               "ShowProgress",
                               "SetProgressRange 0 3",
                               "SetProgressPosition 0",
                               "SetProgressPosition 1",
                               "SetProgressPosition 2",
                               "SetProgressPosition 3",
                               "SetProgressPosition 3",
                               "HideProgress",
                               "HideScanStatus",
                               "EnableButton Back 1",
                               "EnableButton Next 1",
                           }));
}

}  // namespace
}  // namespace velmor
