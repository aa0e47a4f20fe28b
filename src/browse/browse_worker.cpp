#include "browse/browse_worker.h"

#include "browse/container_classes.h"
#include "browse/folder_classification.h"
#include "browse/folder_path_rules.h"
#include "browse/item_columns.h"
#include "browse/kind_listers.h"
#include "browse/mail_lister.h"
#include "browse/mailbox_owner_label.h"
#include "browse/tree_item_path.h"
#include "items/folder_item_scanners.h"
#include "items/tied_mail_text.h"

namespace velmor {

namespace {

// Scans the node's folder into a chain of Record and lists the chain unless a stop came.
template <typename Record, typename Scan, typename List>
void ScanAndList(ProcessingContext& context, FolderViewNode& node, ItemList& list, Scan scan,
                 List listItems) {
    auto& items = node.items.emplace<std::vector<Record>>();
    const bool scanned = scan(context, node.tableObjectId, items, node.folderId);
    if (!context.stop.requested() && scanned) {
        listItems(context, items, list);
    }
}

void ScanAndListMail(ProcessingContext& context, FolderViewNode& node, ItemList& list,
                     const std::u16string& path) {
    auto& mails = node.items.emplace<std::vector<CMailItem>>();
    const bool scanned = ScanMailItems(context, node.tableObjectId, mails, node.folderId);
    if (context.stop.requested()) {
        return;
    }
    const SettledMailForms columnForms = SettleTiedMailText(mails, node.mailboxTextForm);
    node.settledSubjectForm = columnForms.subject;
    const std::u16string owner = Contains(path, kDraftsName) ? MailboxOwnerLabel(path) : u"";
    if (scanned) {
        ListMailItems(context, mails, list, IsSentOrOutboxPath(path),
                      Contains(path, kAdministratorFolderName), owner, columnForms);
    }
}

// Picks the scanner and lister by the container class; the first class contained wins.
void ScanAndListFolder(ProcessingContext& context, FolderViewNode& node, ItemList& list,
                       const std::u16string& path) {
    const std::u16string& kind = node.containerClass;
    if (Contains(kind, kContactClass)) {
        ScanAndList<CContact>(context, node, list, ScanContacts, ListContacts);
    } else if (Contains(kind, kAppointmentClass)) {
        ScanAndList<CCalendar>(context, node, list, ScanAppointments, ListAppointments);
    } else if (Contains(kind, kStickyNoteClass)) {
        ScanAndList<CStickyNote>(context, node, list, ScanStickyNotes, ListStickyNotes);
    } else if (Contains(kind, kJournalClass)) {
        ScanAndList<CJournal>(context, node, list, ScanJournalEntries, ListJournalEntries);
    } else if (Contains(kind, kTaskClass)) {
        ScanAndList<CTask>(context, node, list, ScanTasks, ListTasks);
    } else {
        ScanAndListMail(context, node, list, path);
    }
}

}  // namespace

void SelectFolderForBrowsing(const FolderTree& tree, const FolderViewList& folderViews,
                             TreeItem item, BrowseJobState& state) {
    BrowseSelection selection{TreeItemPath(tree, item), kUnclassifiedFolder};
    ClassifyFolder(folderViews, item, selection.folderKind);
    state.Select(std::move(selection));
}

void ListFolder(ProcessingContext& context, ItemList& list, const BrowseSelection& selection) {
    list.DeleteAllRows();
    SetupItemColumns(list, selection.folderKind);
    FolderViewNode* node = context.store.folderViews.FindByPath(selection.path);
    if (node != nullptr) {
        ScanAndListFolder(context, *node, list, selection.path);
        node->items = std::monostate{};
    }
}

void BrowseWorker(ProcessingContext& context, ItemList& list, BrowseJobState& state) {
    ProgressSink& sink = context.sink;
    context.stop.request();
    state.BrowseJobEvent.Wait();
    context.stop.clear();

    // The job is current before Stop shows and ends before Next shows again, so that the
    // buttons and the commands shown always find the job as the user sees it.
    state.CurrentBrowseJob = std::this_thread::get_id();
    sink.ShowItemStatus();
    sink.ShowItemProgress();
    sink.SetItemProgressPosition(0);
    ShowBusyButtons(sink);

    ListFolder(context, list, state.Selection());
    if (context.stop.isSet()) {
        list.ListingStopped();
    }

    sink.HideItemStatus();
    sink.HideItemProgress();
    state.CurrentBrowseJob = std::thread::id{};
    context.stop.clear();
    ShowIdleButtons(sink);
    state.BrowseJobEvent.Set();
}

}  // namespace velmor
