#include "discovery/processing_driver.h"

#include <string>

#include "browse/message_template.h"
#include "discovery/catalog_scan.h"
#include "discovery/fill_mailbox_list.h"
#include "discovery/mailbox_scan.h"
#include "discovery/page_grouping.h"
#include "discovery/schema_resolution.h"
#include "discovery/store_code_page.h"
#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/text_codec.h"
#include "edb/text_form_evidence.h"
#include "items/folder_table_scan.h"
#include "items/message_index_scan.h"

namespace velmor {

namespace {

constexpr int kPartCount = 7;
constexpr int kPositionBeforeMailboxList = 65;
constexpr int kPositionAfterMailboxList = 70;
constexpr int kPositionAfterFolders = 90;
constexpr int kPositionDone = 100;

void AnnouncePart(ProgressSink& sink, int part) {
    const std::string counter = std::to_string(part) + "/" + std::to_string(kPartCount);
    sink.SetScanStatus(Utf8ToUtf16("Processing Part " + counter + "..."));
    sink.SetHelpText(Utf8ToUtf16(
        "Processing File for Mailboxes,Folders and Items (Processing Part " + counter + ")..."));
    sink.RedrawHelpText();
}

}  // namespace

bool RunProcessingParts(ProcessingContext& context) {
    ProgressSink& sink = context.sink;
    RecoveredStore& store = context.store;
    if (context.stop.requested()) {
        return true;
    }
    sink.SetHelpText(kProcessingHelpText);
    SetEightBitCodePage(ChosenEightBitCodePage().value_or(kWindowsWesternCodePage));
    ForgetStoreTextForm();
    WriteMessageTemplate();
    sink.DeleteAllMailboxRows();
    sink.ShowProgress();

    AnnouncePart(sink, 1);
    GroupPagesByObject(context);
    if (store.pageGroups.empty()) {
        return false;
    }
    if (context.stop.requested()) {
        return true;
    }

    AnnouncePart(sink, 2);
    ScanCatalog(context);
    if (store.catalog.empty()) {
        return false;
    }
    if (context.stop.requested()) {
        return true;
    }

    AnnouncePart(sink, 3);
    ResolveSchema(context);
    if (context.stop.requested()) {
        return true;
    }

    AnnouncePart(sink, 4);
    ScanMailboxTable(context);
    if (store.mailboxes.empty()) {
        return false;
    }
    if (context.stop.requested()) {
        return true;
    }
    sink.SetProgressPosition(kPositionBeforeMailboxList);

    AnnouncePart(sink, 5);
    FillMailboxList(context);
    sink.SetProgressPosition(kPositionAfterMailboxList);
    sink.SetScanStatus(kScanningForItemsStatus);

    AnnouncePart(sink, 6);
    ScanFolderTable(context);
    if (context.stop.requested()) {
        return true;
    }
    SettleStoreCodePage(context);
    sink.SetProgressPosition(kPositionAfterFolders);

    AnnouncePart(sink, 7);
    BuildMessageIndex(context);
    sink.SetHelpText(kSelectMailboxHelpText);
    sink.RedrawHelpText();
    sink.SetProgressPosition(kPositionDone);
    return true;
}

}  // namespace velmor
