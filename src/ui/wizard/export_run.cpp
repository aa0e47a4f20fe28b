#include "wizard/export_run.h"

#include <algorithm>

#include "discovery/null_progress_sink.h"
#include "edb/text_codec.h"
#include "export/mailbox_export.h"

namespace velmor::ui {

namespace {

// Steps of the export's one progress bar.
constexpr int64_t kBarSteps = 10000;

// What the listing of a folder may show while it is exported: its progress, as the folder's
// span of the whole export's bar. The status text names the folder being written, and the
// buttons stay as the export set them.
class ListingProgress : public NullProgressSink {
public:
    explicit ListingProgress(ProgressSink& target) : target_(target) {}

    void StartFolder(int64_t start, int64_t end) {
        start_ = start;
        end_ = end;
        low_ = 0;
        high_ = 0;
        target_.SetItemProgressPosition(static_cast<int>(start_));
    }
    void SetItemProgressRange(int low, int high) override {
        low_ = low;
        high_ = high;
    }
    void SetItemProgressPosition(int position) override {
        if (high_ <= low_) {
            return;
        }
        const int64_t done = std::clamp<int64_t>(position - low_, 0, high_ - low_);
        target_.SetItemProgressPosition(
            static_cast<int>(start_ + done * (end_ - start_) / (high_ - low_)));
    }

private:
    ProgressSink& target_;
    int64_t start_ = 0;
    int64_t end_ = 0;
    int low_ = 0;
    int high_ = 0;
};

// Where each folder's span of the bar starts, and at the end the bar's end. A folder's span
// is the share of its table's pages among those of all folders written: the pages hold its
// items, so that the bar moves by the items written, an empty folder taking next to nothing.
// Without any pages every folder takes an equal span.
std::vector<int64_t> FolderSpans(RecoveredStore& store, const std::vector<TreeItem>& folders) {
    std::vector<int64_t> pages;
    for (TreeItem folder : folders) {
        const FolderViewNode* node = store.folderViews.FindByTreeItem(folder);
        const ObjectPageGroup* group = node != nullptr && node->tableObjectId != 0
                                           ? store.pageGroups.Find(node->tableObjectId)
                                           : nullptr;
        pages.push_back(group != nullptr ? group->pageCount : 0);
    }
    int64_t total = 0;
    for (int64_t count : pages) {
        total += count;
    }
    if (total == 0) {
        std::fill(pages.begin(), pages.end(), 1);
        total = static_cast<int64_t>(pages.size());
    }
    std::vector<int64_t> starts{0};
    int64_t sum = 0;
    for (int64_t count : pages) {
        sum += count;
        starts.push_back(sum * kBarSteps / std::max<int64_t>(total, 1));
    }
    return starts;
}

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

// The files of the folder that are named only once the folder is complete.
std::vector<std::u16string> FolderFileKinds(const ExportFormats& formats, int folderKind) {
    std::vector<std::u16string> kinds;
    if (formats.mbox && IsMailKind(folderKind)) {
        kinds.push_back(u"mbox");
    }
    if (formats.vcard && IsContactKind(folderKind)) {
        kinds.push_back(u"vCard");
    }
    if (formats.icalendar && IsCalendarKind(folderKind)) {
        kinds.push_back(u"iCalendar");
    }
    if (formats.csv) {
        kinds.push_back(u"CSV");
    }
    return kinds;
}

std::u16string Count(size_t count, const std::u16string& one, const std::u16string& many) {
    return Utf8ToUtf16(std::to_string(count)) + u" " + (count == 1 ? one : many);
}

// The count first and the folder's own name last, so that a short line cuts only the name.
std::u16string FolderStatus(const std::u16string& name, size_t index, size_t count) {
    return u"Exporting " + Utf8ToUtf16(std::to_string(index + 1)) + u" of " +
           Utf8ToUtf16(std::to_string(count)) + u": " + name;
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

ExportSummary RunExport(
    ProcessingContext& context, const FolderTree& tree, const std::vector<TreeItem>& folders,
    const ExportChoice& choice, const ExportRows& rows,
    const std::function<void(ExportRecord&, const ListedItem&)>& completeRecord) {
    ProgressSink& sink = context.sink;
    ListingProgress listingProgress(sink);
    ProcessingContext listing{context.file, context.store, listingProgress, context.stop};
    ExportOptions options;
    options.formats = choice.formats;
    const std::set<int>* folderRows = nullptr;
    options.includeRow = [&folderRows](int row) {
        return folderRows == nullptr || folderRows->contains(row);
    };
    options.completeRecord = completeRecord;
    MailboxExport exporter(listing, tree, choice.directory, options);
    ExportSummary summary;
    summary.directory = choice.directory;
    summary.pstChosen = choice.formats.pst;
    if (!exporter.Prepare(summary.refused)) {
        return summary;
    }
    sink.ShowItemStatus();
    sink.ShowItemProgress();
    sink.SetItemProgressRange(0, static_cast<int>(kBarSteps));
    const std::vector<int64_t> spans = FolderSpans(context.store, folders);
    for (size_t i = 0; i < folders.size() && !context.stop.requested(); ++i) {
        listingProgress.StartFolder(spans[i], spans[i + 1]);
        const auto chosen = rows.find(folders[i]);
        folderRows = chosen == rows.end() ? nullptr : &chosen->second;
        sink.SetItemStatus(FolderStatus(tree.Text(folders[i]), i, folders.size()));
        const FolderExportResult result = exporter.Export(folders[i]);
        summary.items += result.items;
        if (result.stopped) {
            summary.stopped = true;
            summary.stoppedFolder = result.path;
            summary.stoppedFolderItems = result.items;
            summary.notWritten = FolderFileKinds(choice.formats, result.folderKind);
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
    if (!summary.stopped) {
        sink.SetItemProgressPosition(static_cast<int>(kBarSteps));
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
    // The items of the folder a stop left incomplete are told with that folder.
    const size_t completeItems = summary.items - summary.stoppedFolderItems;
    text += Count(completeItems, u"item", u"items") + u" of " +
            Count(summary.folders, u"folder", u"folders") +
            (completeItems == 1 ? u" was" : u" were") + u" written to " + where + u".";
    if (!summary.stoppedFolder.empty()) {
        const size_t written = summary.stoppedFolderItems;
        text += u"\n\n" + summary.stoppedFolder + u" is incomplete: " +
                Utf8ToUtf16(std::to_string(written)) + u" of its items " +
                (written == 1 ? u"was" : u"were") + u" written";
        for (size_t i = 0; i < summary.notWritten.size(); ++i) {
            const bool last = i + 1 == summary.notWritten.size();
            text += (i == 0 ? u", its " : last ? u" and " : u", ") + summary.notWritten[i];
        }
        text += summary.notWritten.empty() ? u"." : u" files were not.";
    }
    if (summary.stopped && summary.pstChosen) {
        text += u"\n\nThe PST file was not written.";
    }
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

MessageIcon ExportSummaryIcon(const ExportSummary& summary) {
    if (!summary.refused.empty()) {
        return MessageIcon::Error;
    }
    if (summary.stopped || !summary.failures.empty() || !summary.pstError.empty()) {
        return MessageIcon::Warning;
    }
    return MessageIcon::Information;
}

}  // namespace velmor::ui
