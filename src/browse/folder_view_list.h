#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "browse/folder_tree.h"
#include "edb/stored_text_decoder.h"
#include "items/item_records.h"

namespace velmor {

// The items that the last scan of a folder found, held only for one browse job; the kind of
// the vector is the kind of the folder that was scanned.
using FolderItems = std::variant<std::monostate, std::vector<CMailItem>, std::vector<CContact>,
                                 std::vector<CCalendar>, std::vector<CTask>,
                                 std::vector<CStickyNote>, std::vector<CJournal>>;

// One folder item of the tree: how a browse job finds the folder's data.
struct FolderViewNode {
    std::u16string folderId;
    std::u16string treePath;  // the key by which a browse job finds the node
    FolderItems items;        // written only by the job that holds the browse job event
    std::u16string containerClass;
    int32_t tableObjectId = 0;                      // the folder's own message table, or 0
    std::optional<StoredTextForm> mailboxTextForm;  // its mailbox's names' form, for item ties
    // The form its mail subjects settled on when it was last listed, for the ties of bodies.
    std::optional<StoredTextForm> settledSubjectForm;
    TreeItem treeItem = kNoTreeItem;
};

// The folder view nodes in creation order. One writer (the tree population) appends while
// browse jobs may read: a node becomes visible to readers only once it is linked, complete.
class FolderViewList {
public:
    FolderViewList() = default;
    FolderViewList(const FolderViewList&) = delete;
    FolderViewList& operator=(const FolderViewList&) = delete;
    ~FolderViewList() { Clear(); }

    // Links a filled node at the tail.
    void Append(FolderViewNode node);

    // Calls visit(node) for each linked node in order while it returns true.
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        for (Link* link = head_.load(std::memory_order_acquire); link != nullptr;
             link = link->next.load(std::memory_order_acquire)) {
            if (!visit(link->node)) {
                return;
            }
        }
    }

    // The first node whose tree path equals path exactly, or nullptr.
    FolderViewNode* FindByPath(const std::u16string& path) const;
    // The first node whose tree item is item, or nullptr.
    const FolderViewNode* FindByTreeItem(TreeItem item) const;

    // Frees every node with its items; only while no browse job or population runs.
    void Clear();

private:
    struct Link {
        FolderViewNode node;
        std::atomic<Link*> next{nullptr};
    };

    std::atomic<Link*> head_{nullptr};
    Link* tail_ = nullptr;
    std::vector<std::unique_ptr<Link>> owned_;  // touched by the writer only
};

}  // namespace velmor
