#include "export/recovered_messages_export.h"

#include <ctime>
#include <memory>
#include <vector>

#include "browse/folder_kind.h"
#include "edb/text_codec.h"
#include "export/csv_writer.h"
#include "export/eml_writer.h"
#include "export/mbox_writer.h"
#include "export/pst/message_properties.h"
#include "export/pst/pst_mailbox_file.h"
#include "export/pst_folder_writer.h"
#include "export/recovered_message_record.h"
#include "export/safe_file_name.h"
#include "streaming/recovered_message_rows.h"

namespace velmor {

namespace {

// The entry's personal-folders file: its one mail folder below the file's top folder.
struct EntryPstFile {
    pst::PstMailboxFile file;
    uint32_t folder = 0;

    EntryPstFile(const std::filesystem::path& directory, const EdbFile* database)
        : file(directory, database, kStreamingEntryName) {}
};

}  // namespace

RecoveredExportResult ExportRecoveredMessages(RecoveredMessages& messages,
                                              const ExportFormats& formats,
                                              const std::filesystem::path& directory,
                                              const EdbFile* database,
                                              const std::function<bool()>& stopRequested) {
    RecoveredExportResult result;
    result.directory = directory;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (!std::filesystem::is_directory(directory, error)) {
        result.error = "cannot make the directory " + directory.string();
        return result;
    }
    // The PST file goes into the chosen directory, the other files into the entry's, made
    // new as a mailbox's folders are: never through a link, a taken name numbered.
    if (formats.WritesFolderFiles()) {
        auto made = CreateUniqueDirectory(directory, kStreamingEntryName, result.error);
        if (!made) {
            return result;
        }
        result.directory = *made;
    }
    std::vector<std::unique_ptr<FormatWriter>> writers;
    if (formats.eml) {
        writers.push_back(std::make_unique<EmlWriter>(result.directory, database));
    }
    if (formats.mbox) {
        writers.push_back(
            std::make_unique<MboxWriter>(result.directory, database, std::time(nullptr)));
    }
    if (formats.csv) {
        writers.push_back(
            std::make_unique<CsvWriter>(result.directory, database, RecoveredListHeadings()));
    }
    std::unique_ptr<EntryPstFile> pst;
    if (formats.pst) {
        pst = std::make_unique<EntryPstFile>(directory, database);
        if (!pst->file.Open()) {
            result.error = pst->file.error();
            return result;
        }
        pst->folder = pst->file.AddFolder(pst::PstMailboxFile::TopFolder(), kStreamingEntryName,
                                          pst::ContainerClass(kMailFolder));
        writers.push_back(
            std::make_unique<PstFolderWriter>(PstFolderTarget{&pst->file, pst->folder}));
    }
    // The files completed so far, when the writing ends.
    const auto completed = [&] {
        for (const auto& writer : writers) {
            result.files.insert(result.files.end(), writer->files().begin(), writer->files().end());
        }
        return result;
    };
    for (size_t i = 0; i < messages.messages().size(); ++i) {
        if (stopRequested && stopRequested()) {
            result.stopped = true;
            return completed();
        }
        const std::optional<ExportRecord> record = RecoveredMessageRecord(messages, i);
        if (!record) {
            ++result.unreadable;
            continue;
        }
        for (const auto& writer : writers) {
            if (!writer->Write(*record)) {
                result.error = writer->error();
                return completed();
            }
        }
        ++result.written;
    }
    for (const auto& writer : writers) {
        if (!writer->Finish()) {
            result.error = writer->error();
            return completed();
        }
    }
    completed();
    if (pst) {
        result.pst = pst->file.Commit(pst::PstFileName(kStreamingEntryName));
        if (!result.pst) {
            result.error = pst->file.error();
        }
    }
    return result;
}

}  // namespace velmor
