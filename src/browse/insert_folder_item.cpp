#include "browse/insert_folder_item.h"

#include <string_view>

#include "edb/text_contains.h"

namespace velmor {

namespace {

struct ImageRule {
    std::u16string_view text;
    int image;
};

// Tested in order with "contains"; the first match gives the image and selected image.
constexpr ImageRule kClassImages[] = {
    {u"IPF.Contact", 2}, {u"IPF.Appointment", 1}, {u"IPF.Journal", 8},
    {u"IPF.Task", 3},    {u"IPF.StickyNote", 4},  {kMailboxRootClass, 11},
};
constexpr ImageRule kNameImages[] = {
    {u"Deleted Items", 5}, {u"Outbox", 7}, {u"Drafts", 6}, {u"Inbox", 9}, {u"Search Folders", 10},
};
constexpr FolderImagePair kOrdinaryFolderImages{0, 12};

}  // namespace

FolderImagePair FolderImages(const std::u16string& name, const std::u16string& containerClass) {
    for (const ImageRule& rule : kClassImages) {
        if (Contains(containerClass, rule.text)) {
            return {rule.image, rule.image};
        }
    }
    for (const ImageRule& rule : kNameImages) {
        if (Contains(name, rule.text)) {
            return {rule.image, rule.image};
        }
    }
    return kOrdinaryFolderImages;
}

TreeItem InsertFolderItem(FolderTree& tree, const std::u16string& name, TreeItem parent,
                          const std::u16string& containerClass) {
    const FolderImagePair images = FolderImages(name, containerClass);
    return tree.InsertItem(name, images.image, images.selectedImage, parent);
}

}  // namespace velmor
