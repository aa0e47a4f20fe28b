#include "pictures.h"

namespace velmor::ui {

namespace {

std::vector<QIcon> IconsOf(std::initializer_list<const char*> names) {
    std::vector<QIcon> icons;
    for (const char* name : names) {
        icons.emplace_back(Picture(name));
    }
    return icons;
}

}  // namespace

QPixmap Picture(const QString& name) {
    return QPixmap(":/images/" + name + ".png");
}

std::vector<QIcon> TreeImages() {
    return IconsOf({
        "tree-folder",
        "tree-appointments",
        "tree-contacts",
        "tree-tasks",
        "tree-sticky-notes",
        "tree-deleted-items",
        "tree-drafts",
        "tree-outbox",
        "tree-journal",
        "tree-inbox",
        "tree-search-folders",
        "tree-mailbox",
        "tree-folder-open",
        "tree-spare",
    });
}

std::vector<QIcon> ListImages() {
    return IconsOf({
        "list-mail",
        "list-marked-mail",
        "list-contact",
        "list-appointment",
        "list-task",
        "list-sticky-note",
        "list-journal",
    });
}

}  // namespace velmor::ui
