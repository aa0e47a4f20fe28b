#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "edb/edb_file.h"
#include "streaming/mime_summary.h"

namespace velmor::ui {

// The attachments of one mail as its message window lists and saves them: the mail's MIME
// bytes and the attachments the MIME library lists in them.
class MessageAttachments {
public:
    MessageAttachments(std::string message, std::vector<MimeAttachment> attachments)
        : message_(std::move(message)), attachments_(std::move(attachments)) {}

    const std::vector<MimeAttachment>& list() const { return attachments_; }

    // The file name an attachment is offered under: its own name without any directory, else
    // "attachment" and its number from 1; for an attached message (listed under its subject),
    // the subject made a safe file name, and ".eml"; each made safe as AttachmentSaveName makes
    // names.
    std::string FileName(size_t index) const;

    // Writes attachment index to path, replacing a file there (the file dialog asked first)
    // but never the database or its streaming file. False with the reason in error.
    bool Save(size_t index, const std::filesystem::path& path, const EdbFile* database,
              std::string& error) const;
    // An attachment written under another name than it was offered under: its name was taken.
    struct Renamed {
        std::string offered;
        std::string used;
    };
    // Writes every attachment into directory under its file name, numbered " (2)"... when
    // the name is taken (those in renamed, when given). How many were written; the reason of
    // the first failure in error.
    size_t SaveAll(const std::filesystem::path& directory, const EdbFile* database,
                   std::string& error, std::vector<Renamed>* renamed = nullptr) const;

private:
    std::string message_;
    std::vector<MimeAttachment> attachments_;
};

}  // namespace velmor::ui
