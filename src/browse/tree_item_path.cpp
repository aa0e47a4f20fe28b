#include "browse/tree_item_path.h"

#include <vector>

namespace velmor {

std::u16string TreeItemPath(const FolderTree& tree, TreeItem item) {
    std::vector<std::u16string> texts;
    for (TreeItem at = item; at != kNoTreeItem; at = tree.Parent(at)) {
        texts.push_back(tree.Text(at));
    }
    std::u16string path;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
        path += *it;
        path += kPathSeparator;
    }
    return path;
}

}  // namespace velmor
