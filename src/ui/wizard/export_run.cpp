#include "wizard/export_run.h"

#include "browse/tree_item_path.h"
#include "discovery/null_progress_sink.h"
#include "edb/text_codec.h"
#include "export/mailbox_export.h"

namespace velmor::ui {

namespace {

// What the listing of a folder may show while it is exported: its progress only. The status
// text names the folder being written, and the buttons stay as the export set them.
class ListingProgress : public NullProgressSink {
public:
    explicit ListingProgress(ProgressSink& target) : target_(target) {}

    void SetItemProgressRange(int low, int high) override {
        target_.SetItemProgressRange(low, high);
    }
    void SetItemProgressPosition(int position) override {
        target_.SetItemProgressPosition(position);
    }

private:
    ProgressSink& target_;
};

void AddCheckedBelow(const FolderTree& tree, TreeItem parent, std::vector<TreeItem>& folders) {
    for (TreeItem child : tree.Children(parent)) {
        if (tree.CheckState(child) == kChecked) {
            folders.push_back(child);
        }
        AddCheckedBelow(tree, child, folders);
    }
}

bool AnyCheckedBelow(const FolderTree& tree, TreeItem parent) {
    for (TreeItem child : tree.Children(parent)) {
        if (tree.CheckState(child) == kChecked || AnyCheckedBelow(tree, child)) {
            return true;
        }
    }
    return false;
}

std::u16string FolderStatus(const std::u16string& path, size_t index, size_t count) {
    return u"Exporting " + path + u" (" + Utf8ToUtf16(std::to_string(index + 1)) + u" of " +
           Utf8ToUtf16(std::to_string(count)) + u")...";
}

}  // namespace

std::vector<TreeItem> CheckedFolders(const FolderTree& tree) {
    std::vector<TreeItem> folders;
    for (TreeItem root : tree.Children(kNoTreeItem)) {
        AddCheckedBelow(tree, root, folders);
    }
    return folders;
}

bool AnyFolderChecked(const FolderTree& tree) {
    for (TreeItem root : tree.Children(kNoTreeItem)) {
        if (AnyCheckedBelow(tree, root)) {
            return true;
        }
    }
    return false;
}

ExportSummary RunExport(ProcessingContext& context, const FolderTree& tree,
                        const std::vector<TreeItem>& folders, const ExportChoice& choice) {
    ProgressSink& sink = context.sink;
    ListingProgress listingProgress(sink);
    ProcessingContext listing{context.file, context.store, listingProgress, context.stop};
    ExportOptions options;
    options.formats = choice.formats;
    MailboxExport exporter(listing, tree, choice.directory, options);
    ExportSummary summary;
    summary.directory = choice.directory;
    if (!exporter.Prepare(summary.refused)) {
        return summary;
    }
    sink.ShowItemStatus();
    sink.ShowItemProgress();
    for (size_t i = 0; i < folders.size() && !context.stop.requested(); ++i) {
        sink.SetItemProgressPosition(0);
        sink.SetItemStatus(FolderStatus(TreeItemPath(tree, folders[i]), i, folders.size()));
        const FolderExportResult result = exporter.Export(folders[i]);
        summary.items += result.items;
        if (result.stopped) {
            summary.stopped = true;
        } else if (!result.error.empty()) {
            summary.failures.emplace_back(result.path, result.error);
        } else {
            ++summary.folders;
        }
    }
    summary.stopped = summary.stopped || context.stop.isSet();
    if (choice.formats.pst && !summary.stopped) {
        if (auto pst = exporter.FinishPst(summary.pstError)) {
            summary.pstFile = *pst;
        }
    }
    sink.HideItemStatus();
    sink.HideItemProgress();
    return summary;
}

std::u16string ExportSummaryText(const ExportSummary& summary) {
    const std::u16string where = Utf8ToUtf16(summary.directory.string());
    if (!summary.refused.empty()) {
        return u"Nothing was exported: " + Utf8ToUtf16(summary.refused);
    }
    std::u16string text = summary.stopped ? u"The export was stopped. " : u"";
    text += Utf8ToUtf16(std::to_string(summary.items)) + u" items of " +
            Utf8ToUtf16(std::to_string(summary.folders)) + u" folders were written to " + where +
            u".";
    if (!summary.pstFile.empty()) {
        text += u"\n\nThe PST file is " + Utf8ToUtf16(summary.pstFile.string()) + u".";
    }
    if (!summary.pstError.empty()) {
        text += u"\n\nThe PST file could not be written: " + Utf8ToUtf16(summary.pstError);
    }
    if (!summary.failures.empty()) {
        text += u"\n\nThese folders failed:";
        for (const auto& [path, reason] : summary.failures) {
            text += u"\n" + path + u": " + Utf8ToUtf16(reason);
        }
    }
    return text;
}

}  // namespace velmor::ui
