#include <cstdio>
#include <string>
#include <unordered_map>

#include "browse/tree_item_path.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

// Tree image of every item by its path; a top-level folder's node has no tree item of its own.
std::unordered_map<std::u16string, int> ImagesByPath(const PlainFolderTree& tree) {
    std::unordered_map<std::u16string, int> images;
    for (TreeItem item : tree.AllItems()) {
        images.try_emplace(TreeItemPath(tree, item), tree.Image(item));
    }
    return images;
}

}  // namespace

int RunFoldersCommand(const CliOptions& options) {
    MailboxTree mailbox;
    if (const int status = mailbox.Load(options); status != kExitOk) {
        return status;
    }
    if (mailbox.streamingEntry()) {
        return PrintStreamingFolders(options);
    }
    const auto images = ImagesByPath(mailbox.tree());
    std::string out =
        options.json ? "{\"root\": " + JsonString(mailbox.rootLabel()) + ", \"folders\": [" : "";
    bool first = true;
    mailbox.session().store().folderViews.ForEach([&](const FolderViewNode& node) {
        auto it = images.find(node.treePath);
        const std::string image = std::to_string(it == images.end() ? 0 : it->second);
        const std::string tableId = std::to_string(node.tableObjectId);
        if (options.json) {
            out += first ? "" : ", ";
            out += "{\"path\": " + JsonString(node.treePath) + ", \"image\": " + image +
                   ", \"folderId\": " + JsonString(node.folderId) +
                   ", \"containerClass\": " + JsonString(node.containerClass) +
                   ", \"tableObjectId\": " + tableId + "}";
        } else {
            out += PlainText(node.treePath) + "\t" + image + "\t" + PlainText(node.folderId) +
                   "\t" + PlainText(node.containerClass) + "\t" + tableId + "\n";
        }
        first = false;
        return true;
    });
    out += options.json ? "]}\n" : "";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

}  // namespace velmor::cli
