#include "browse/folder_tree_population.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "browse/folder_table_lookup.h"
#include "browse/folder_table_name.h"
#include "browse/insert_folder_item.h"
#include "browse/mailbox_key.h"
#include "browse/tree_item_path.h"

namespace velmor {

namespace {

// The texts of the children inserted under one item so far, so that the duplicate-name test
// needs no walk over the item's siblings.
class ChildTexts {
public:
    bool HasChildWithText(const std::u16string& text) const { return texts_.contains(text); }
    void Add(const std::u16string& text) { texts_.insert(text); }

private:
    std::unordered_set<std::u16string> texts_;
};

// Folder records by parent id, each list in record order: a parent's children come out in
// the order of the full record walk without walking all records for every parent.
using ChildRecords = std::unordered_map<std::u16string, std::vector<size_t>>;

ChildRecords IndexChildRecords(const std::vector<FolderEntry>& folders) {
    ChildRecords children;
    for (size_t i = 0; i < folders.size(); ++i) {
        children[folders[i].parentId].push_back(i);
    }
    return children;
}

FolderTableLookup MakeTableLookup(const RecoveredStore& store) {
    std::vector<std::u16string> names;
    names.reserve(store.folders.size());
    for (const FolderEntry& folder : store.folders) {
        names.push_back(FolderTableName(folder.folderId));
    }
    return FolderTableLookup(store.catalog, names);
}

class FolderTreeBuilder {
public:
    FolderTreeBuilder(FolderTree& tree, RecoveredStore& store)
        : tree_(tree),
          store_(store),
          children_(IndexChildRecords(store.folders)),
          tables_(MakeTableLookup(store)) {}

    // Inserts the subfolders of folder parentId below item, depth first with siblings in
    // record order, each with its view node. A folder whose id is already on the path from
    // the root is not entered again, so damaged parent links that form a loop end there.
    void AddSubfolders(const std::u16string& parentId, TreeItem item, const std::u16string& path) {
        std::vector<Frame> stack;
        Enter(stack, parentId, item, path);
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.records == nullptr || frame.next == frame.records->size()) {
                Leave(stack);
                continue;
            }
            const FolderEntry& record = store_.folders[(*frame.records)[frame.next++]];
            if (record.displayName.empty() || frame.texts.HasChildWithText(record.displayName) ||
                pathIds_.contains(record.folderId)) {
                continue;
            }
            frame.texts.Add(record.displayName);
            const TreeItem child =
                InsertFolderItem(tree_, record.displayName, frame.item, record.containerClass);
            std::u16string childPath = frame.path + record.displayName + kPathSeparator;
            FolderViewNode node;
            node.treePath = childPath;
            node.folderId = record.folderId;
            node.containerClass = record.containerClass;
            node.tableObjectId = tables_.FindFolderTable(FolderTableName(record.folderId));
            node.mailboxTextForm = record.mailboxTextForm;
            node.treeItem = child;
            store_.folderViews.Append(std::move(node));
            Enter(stack, record.folderId, child, std::move(childPath));
        }
    }

private:
    struct Frame {
        const std::u16string* folderId;
        const std::vector<size_t>* records;  // the folder's child records, or nullptr
        size_t next = 0;
        TreeItem item;
        std::u16string path;
        ChildTexts texts;
    };

    void Enter(std::vector<Frame>& stack, const std::u16string& folderId, TreeItem item,
               std::u16string path) {
        auto it = children_.find(folderId);
        stack.push_back(Frame{&folderId,
                              it == children_.end() ? nullptr : &it->second,
                              0,
                              item,
                              std::move(path),
                              {}});
        pathIds_.insert(folderId);
    }

    void Leave(std::vector<Frame>& stack) {
        pathIds_.erase(pathIds_.find(*stack.back().folderId));
        stack.pop_back();
    }

    FolderTree& tree_;
    RecoveredStore& store_;
    ChildRecords children_;
    FolderTableLookup tables_;
    std::unordered_multiset<std::u16string> pathIds_;
};

}  // namespace

void PopulateFolderTree(FolderTree& tree, RecoveredStore& store, ProgressSink& sink,
                        const std::u16string& mailboxLabel) {
    const std::u16string mailboxKey = FindMailboxKey(store.mailboxes, mailboxLabel);
    const TreeItem root = InsertFolderItem(tree, mailboxLabel, kNoTreeItem, kMailboxRootClass);
    sink.EnableButton(WizardButton::Back, false);
    sink.EnableButton(WizardButton::Next, false);
    sink.SetScanStatus(kTreePopulationStatus);
    sink.ShowProgress();
    const int folderCount = static_cast<int>(store.folderCount());
    sink.SetProgressRange(0, folderCount);
    sink.SetProgressPosition(0);

    FolderTreeBuilder builder(tree, store);
    const std::u16string rootPath = TreeItemPath(tree, root);
    ChildTexts rootTexts;
    int counter = 0;
    for (const FolderEntry& record : store.folders) {
        if (record.parentId == mailboxKey && !rootTexts.HasChildWithText(record.displayName)) {
            rootTexts.Add(record.displayName);
            const TreeItem item =
                InsertFolderItem(tree, record.displayName, root, record.containerClass);
            const std::u16string path = rootPath + record.displayName + kPathSeparator;
            // A top-level folder's node carries only its path.
            FolderViewNode node;
            node.treePath = path;
            store.folderViews.Append(std::move(node));
            builder.AddSubfolders(record.folderId, item, path);
        }
        sink.SetProgressPosition(++counter);
    }

    sink.SetProgressPosition(folderCount);
    tree.Expand(root);
    sink.HideProgress();
    sink.HideScanStatus();
    sink.EnableButton(WizardButton::Back, true);
    sink.EnableButton(WizardButton::Next, true);
}

}  // namespace velmor
