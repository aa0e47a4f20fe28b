#include "browse/folder_classification.h"

#include <string_view>

#include "browse/container_classes.h"
#include "browse/folder_path_rules.h"

namespace velmor {

namespace {

struct ClassRule {
    std::u16string_view text;
    FolderKind kind;
};

// Tested in this order with "contains"; the first match wins.
constexpr ClassRule kClassKinds[] = {
    {kJournalClass, kJournalFolder},
    {kContactClass, kContactFolder},
    {kAppointmentClass, kAppointmentFolder},
    {kStickyNoteClass, kStickyNoteFolder},
    {kTaskClass, kTaskFolder},
};

}  // namespace

std::u16string ClassifyFolder(const FolderViewList& folderViews, TreeItem item, int& kind) {
    const FolderViewNode* node = folderViews.FindByTreeItem(item);
    if (node == nullptr) {
        return {};
    }
    kind = kMailFolder;
    for (const ClassRule& rule : kClassKinds) {
        if (Contains(node->containerClass, rule.text)) {
            kind = rule.kind;
            return node->folderId;
        }
    }
    if (Contains(node->treePath, kSentItemsName)) {
        kind = kSentItemsFolder;
    } else if (Contains(node->treePath, kOutboxName)) {
        kind = kOutboxFolder;
    }
    return node->folderId;
}

}  // namespace velmor
