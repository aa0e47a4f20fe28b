#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "browse/folder_tree.h"
#include "discovery/processing_context.h"
#include "export/export_formats.h"
#include "export/export_record.h"
#include "wizard/wizard_screen.h"

namespace velmor::ui {

inline constexpr char16_t kExportingInProgress[] =
    u"Exporting Items is in Progress.Please Stop the Process to close the Application";

// What the export dialog asks: where the files go and which formats are written.
struct ExportChoice {
    std::filesystem::path directory;
    ExportFormats formats;
};

// How an export ended, for the message that closes it.
struct ExportSummary {
    std::filesystem::path directory;
    size_t items = 0;
    size_t folders = 0;                                            // folders written completely
    std::vector<std::pair<std::u16string, std::string>> failures;  // tree path, reason
    std::string refused;  // why nothing could be written at all
    bool stopped = false;
    std::u16string stoppedFolder;            // tree path of the folder a stop left incomplete
    size_t stoppedFolderItems = 0;           // its items written (counted in items too)
    std::vector<std::u16string> notWritten;  // its file kinds that a stop left unwritten
    bool pstChosen = false;
    std::filesystem::path pstFile;  // the mailbox's PST file when one was written
    std::string pstError;           // why the PST file could not be completed
};

// The rows to write of each folder, by row number from 1; a folder not named is written whole.
using ExportRows = std::map<TreeItem, std::set<int>>;

// The checked folders of the tree, depth first: the checked items below the top-level items.
std::vector<TreeItem> CheckedFolders(const FolderTree& tree);
// Whether CheckedFolders has any; stops at the first.
bool AnyFolderChecked(const FolderTree& tree);

// The export worker's body: writes the folders one after the other, showing the folder being
// written in the item status and the progress over all of them in the item progress bar,
// each folder's span sized by its items; a stop
// ends it between two items. Of the folders that rows names, only those rows are written.
// completeRecord completes each mail record (its original from the streaming file).
ExportSummary RunExport(
    ProcessingContext& context, const FolderTree& tree, const std::vector<TreeItem>& folders,
    const ExportChoice& choice, const ExportRows& rows = {},
    const std::function<void(ExportRecord&, const ListedItem&)>& completeRecord = {});

// The message that ends an export: how many items of how many folders were written where,
// what a stop left unwritten, and which folders failed, why.
std::u16string ExportSummaryText(const ExportSummary& summary);
// An export that wrote nothing is an error; one stopped or with failures is a warning.
MessageIcon ExportSummaryIcon(const ExportSummary& summary);

}  // namespace velmor::ui
