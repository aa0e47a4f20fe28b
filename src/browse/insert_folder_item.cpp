#include "browse/insert_folder_item.h"

#include <string_view>

#include "browse/container_classes.h"
#include "browse/folder_path_rules.h"
#include "edb/text_contains.h"

namespace velmor {

namespace {

// Tree image pairs (image, selected image) of the folder tree.
struct FolderImagePair {
    int image;
    int selectedImage;
};

struct ImageRule {
    std::u16string_view text;
    int image;
};

// Tested in order with "contains"; the first match gives the image and selected image.
constexpr ImageRule kClassImages[] = {
    {kContactClass, 2}, {kAppointmentClass, 1}, {kJournalClass, 8},
    {kTaskClass, 3},    {kStickyNoteClass, 4},  {kMailboxRootClass, 11},
};
constexpr ImageRule kNameImages[] = {
    {u"Deleted Items", 5}, {kOutboxName, 7},        {kDraftsName, 6},
    {u"Inbox", 9},         {u"Search Folders", 10},
};
constexpr FolderImagePair kOrdinaryFolderImages{0, 12};

// The image pair of a folder: by its container class first, then by its name.
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

}  // namespace

TreeItem InsertFolderItem(FolderTree& tree, const std::u16string& name, TreeItem parent,
                          const std::u16string& containerClass) {
    const FolderImagePair images = FolderImages(name, containerClass);
    return tree.InsertItem(name, images.image, images.selectedImage, parent);
}

}  // namespace velmor
