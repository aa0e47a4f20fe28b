#include "export/mailbox_export.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "browse/folder_classification.h"
#include "browse/tree_item_path.h"
#include "export/safe_file_name.h"

namespace velmor {

MailboxExport::MailboxExport(ProcessingContext& context, const FolderTree& tree,
                             std::filesystem::path outputDirectory, ExportOptions options)
    : context_(context),
      tree_(tree),
      outputDirectory_(std::move(outputDirectory)),
      options_(std::move(options)) {}

bool MailboxExport::Prepare(std::string& error) {
    const std::string where = outputDirectory_.string();
    if (context_.file.HoldsFile(outputDirectory_)) {
        error = where + " is the open database";
        return false;
    }
    std::error_code code;
    std::filesystem::create_directories(outputDirectory_, code);
    if (!std::filesystem::is_directory(outputDirectory_, code)) {
        error = "cannot create the directory " + where +
                (code ? ": " + code.message() : ": a file has that name");
        return false;
    }
    if (::access(outputDirectory_.c_str(), W_OK | X_OK) != 0) {
        error = "cannot write to " + where + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> MailboxExport::DirectoryOf(TreeItem item, std::string& error) {
    const TreeItem parent = tree_.Parent(item);
    if (parent == kNoTreeItem) {
        return outputDirectory_;
    }
    if (auto known = directories_.find(item); known != directories_.end()) {
        return known->second;
    }
    const auto parentDirectory = DirectoryOf(parent, error);
    if (!parentDirectory) {
        return std::nullopt;
    }
    auto directory = CreateUniqueDirectory(*parentDirectory, tree_.Text(item), error);
    if (directory) {
        directories_.emplace(item, *directory);
    }
    return directory;
}

FolderExportResult MailboxExport::Export(TreeItem item) {
    BrowseSelection selection{TreeItemPath(tree_, item), kUnclassifiedFolder};
    ClassifyFolder(context_.store.folderViews, item, selection.folderKind);
    std::string error;
    const auto directory = DirectoryOf(item, error);
    if (!directory) {
        FolderExportResult failed;
        failed.path = selection.path;
        failed.folderKind = selection.folderKind;
        failed.error = error;
        return failed;
    }
    return ExportFolder(context_, selection, *directory, options_);
}

}  // namespace velmor
