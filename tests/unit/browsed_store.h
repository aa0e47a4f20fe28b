#pragma once

#include <functional>
#include <string>
#include <vector>

#include "browse/browse_worker.h"
#include "browse/folder_tree_population.h"
#include "browse/plain_folder_tree.h"
#include "browse/plain_item_list.h"
#include "browse/tree_item_path.h"
#include "discovery/processing_driver.h"
#include "edb/text_codec.h"
#include "opened_database.h"

namespace velmor::test {

// An item list that keeps the headings of every column set it was given and can act when a
// row is inserted.
class RecordingItemList : public PlainItemList {
public:
    std::vector<std::string> columnSets;  // headings joined by '|'
    std::function<void(int row)> onInsert;

    void SetColumns(const std::vector<ItemColumn>& columns) override {
        std::string headings;
        for (const ItemColumn& column : columns) {
            headings += (headings.empty() ? "" : "|") + Utf16ToUtf8(column.heading);
        }
        columnSets.push_back(headings);
        PlainItemList::SetColumns(columns);
    }
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override {
        PlainItemList::InsertListedRow(row, image, cells, item);
        if (onInsert) {
            onInsert(row);
        }
    }

    // Each row as its image followed by its cells, joined by '|'.
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (const Row& row : rows()) {
            std::string text = std::to_string(row.image);
            for (const std::u16string& cell : row.cells) {
                text += "|" + Utf16ToUtf8(cell);
            }
            out.push_back(text);
        }
        return out;
    }
};

// A recording sink that can act on each call, on the thread that makes it.
class HookedSink : public RecordingSink {
public:
    std::function<void(const std::string& call)> onCall;

protected:
    void Add(std::string call) override {
        RecordingSink::Add(call);
        if (onCall) {
            onCall(call);
        }
    }
};

// A store written by the writer, run through the seven processing parts, with the folder tree
// of one mailbox populated: what the wizard has when its browsing step opens.
class BrowsedStore {
public:
    explicit BrowsedStore(const testdb::StoreBuilder& builder, size_t mailbox = 0)
        : database_(builder) {
        Prepare(mailbox);
    }
    explicit BrowsedStore(const testdb::DatabaseImage& image, size_t mailbox = 0)
        : database_(image) {
        Prepare(mailbox);
    }

    ProcessingContext& context() { return context_; }
    RecoveredStore& store() { return database_.store; }
    StopFlag& stop() { return database_.stop; }
    const std::u16string& rootLabel() const { return rootLabel_; }
    std::filesystem::path databasePath() const { return database_.path(); }

    // The tree item with this path, none when there is none.
    TreeItem ItemAt(const std::u16string& path) const {
        for (TreeItem item : tree.AllItems()) {
            if (TreeItemPath(tree, item) == path) {
                return item;
            }
        }
        return kNoTreeItem;
    }
    // The path of a folder below the root, for example Folder(u"Top\\Inbox").
    std::u16string Folder(const std::u16string& relative) const {
        return rootLabel_ + kPathSeparator + relative + kPathSeparator;
    }
    // Selects the item with this path as a click does.
    void Select(const std::u16string& path) {
        SelectFolderForBrowsing(tree, store().folderViews, ItemAt(path), state);
    }
    // Selects the folder and runs its browse job on this thread; the rows it listed.
    std::vector<std::string> Browse(const std::u16string& path) {
        Select(path);
        BrowseWorker(context_, list, state);
        return list.Rows();
    }
    int SelectedKind() const { return state.Selection().folderKind; }

    PlainFolderTree tree;
    BrowseJobState state;
    RecordingItemList list;
    HookedSink sink;

private:
    void Prepare(size_t mailbox) {
        const ScopedTmpDir templateDir(database_.dir_.path());
        RunProcessingParts(database_.context);
        rootLabel_ = store().mailboxes.entries().at(mailbox).displayName;
        PopulateFolderTree(tree, store(), sink, rootLabel_);
        sink.calls.clear();
    }

    OpenedDatabase database_;
    ProcessingContext context_{database_.file, database_.store, sink, database_.stop};
    std::u16string rootLabel_;
};

}  // namespace velmor::test
