#include "export/folder_exporter.h"

#include <ctime>
#include <memory>

#include "browse/browse_worker.h"
#include "browse/folder_kind.h"
#include "browse/folder_tie_form.h"
#include "browse/mail_body.h"
#include "browse/mailbox_owner_label.h"
#include "browse/message_details.h"
#include "export/csv_writer.h"
#include "export/eml_writer.h"
#include "export/icalendar_writer.h"
#include "export/mbox_writer.h"
#include "export/pst_folder_writer.h"
#include "export/vcard_writer.h"

namespace velmor {

namespace {

bool IsOwnMailKind(int folderKind) {
    return folderKind == kSentItemsFolder || folderKind == kOutboxFolder;
}

std::u16string Trimmed(const std::u16string& text) {
    const size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

// The item list the export lists into: every row goes straight to the writers.
class ExportingItemList : public ItemList {
public:
    ExportingItemList(ProcessingContext& context, const BrowseSelection& selection,
                      const std::filesystem::path& directory, const ExportOptions& options)
        : context_(context),
          database_(context.file),
          selection_(selection),
          folder_(context.store.folderViews.FindByPath(selection.path)),
          directory_(directory),
          options_(options),
          owner_(Trimmed(MailboxOwnerLabel(selection.path))),
          exportTime_(std::time(nullptr)) {}

    void DeleteAllRows() override {}
    void SetColumns(const std::vector<ItemColumn>& columns) override;
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override {
        InsertListedRow(row, image, cells, ListedItem{});
    }
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override;

    // Completes the open files when the listing ran to its end (else they are dropped) and
    // reports every file completed.
    void Finish(bool listingComplete, FolderExportResult& result);

    size_t written() const { return written_; }
    const std::string& error() const { return error_; }

private:
    // A mail's body goes into the messages written; the other formats show no body.
    bool WritesBodies() const {
        return IsMailKind(selection_.folderKind) &&
               (options_.formats.eml || options_.formats.mbox || options_.pst.file != nullptr);
    }

    ProcessingContext& context_;
    const EdbFile& database_;
    const BrowseSelection& selection_;
    const FolderViewNode* folder_;  // for the form of its bodies' ties, settled as it lists
    const std::filesystem::path& directory_;
    const ExportOptions& options_;
    // The sender of mails in the sent items and the outbox that store none.
    const std::u16string owner_;
    const time_t exportTime_;
    std::vector<std::unique_ptr<FormatWriter>> writers_;
    size_t written_ = 0;
    std::string error_;
};

void ExportingItemList::SetColumns(const std::vector<ItemColumn>& columns) {
    writers_.clear();
    const ExportFormats& formats = options_.formats;
    const int kind = selection_.folderKind;
    if (IsMailKind(kind) && formats.eml) {
        writers_.push_back(std::make_unique<EmlWriter>(directory_, &database_));
    }
    if (IsMailKind(kind) && formats.mbox) {
        writers_.push_back(std::make_unique<MboxWriter>(directory_, &database_, exportTime_));
    }
    if (IsContactKind(kind) && formats.vcard) {
        writers_.push_back(std::make_unique<VcardWriter>(directory_, &database_));
    }
    if (IsCalendarKind(kind) && formats.icalendar) {
        writers_.push_back(std::make_unique<IcalendarWriter>(directory_, &database_, exportTime_));
    }
    if (options_.pst.file != nullptr) {
        writers_.push_back(std::make_unique<PstFolderWriter>(options_.pst));
    }
    if (formats.csv) {
        CsvRow headings;
        for (const ItemColumn& column : columns) {
            headings.push_back(column.heading);
        }
        writers_.push_back(std::make_unique<CsvWriter>(directory_, &database_, headings));
    }
}

void ExportingItemList::InsertListedRow(int row, int image,
                                        const std::vector<std::u16string>& cells,
                                        const ListedItem& item) {
    (void)image;
    if (!error_.empty()) {
        return;
    }
    if (options_.includeRow && !options_.includeRow(row + 1)) {
        return;
    }
    ExportRecord record = MakeExportRecord(selection_.folderKind, row, cells, item);
    if (record.sender.empty() && IsOwnMailKind(selection_.folderKind)) {
        record.sender = owner_;
    }
    if (WritesBodies()) {
        MailBody body = ReadMailBodyOfItem(context_, record.itemId, FolderTieForm(folder_));
        record.bodyText = std::move(body.text);
        record.bodyHtml = std::move(body.html);
        record.details =
            ReadMessageDetails(context_, record.itemId, record.sender, record.recipients);
    }
    if (options_.completeRecord && IsMailKind(selection_.folderKind)) {
        options_.completeRecord(record, item);
    }
    for (const auto& writer : writers_) {
        if (!writer->Write(record)) {
            error_ = writer->error();
            return;
        }
    }
    ++written_;
}

void ExportingItemList::Finish(bool listingComplete, FolderExportResult& result) {
    for (const auto& writer : writers_) {
        if (listingComplete && error_.empty() && !writer->Finish()) {
            error_ = writer->error();
        }
        result.files.insert(result.files.end(), writer->files().begin(), writer->files().end());
    }
}

}  // namespace

FolderExportResult ExportFolder(ProcessingContext& context, const BrowseSelection& selection,
                                const std::filesystem::path& directory,
                                const ExportOptions& options) {
    FolderExportResult result;
    result.path = selection.path;
    result.directory = directory;
    result.folderKind = selection.folderKind;
    ExportingItemList list(context, selection, directory, options);
    ListFolder(context, list, selection);
    result.stopped = context.stop.requested();
    list.Finish(!result.stopped, result);
    result.items = list.written();
    result.error = list.error();
    return result;
}

}  // namespace velmor
