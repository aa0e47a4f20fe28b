#include "wizard/message_attachments.h"

#include <optional>

#include "export/atomic_file.h"
#include "export/attachment_file_name.h"

namespace velmor::ui {

namespace {

// Writes content as name in directory; the name given, or nothing with the reason in error.
std::optional<std::filesystem::path> WriteFile(const std::filesystem::path& directory,
                                               const std::string& name, const std::string& content,
                                               const EdbFile* database, std::string& error) {
    AtomicFile file(directory, database);
    std::optional<std::filesystem::path> written;
    if (file.Open() && file.Write(content)) {
        written = file.Commit(name);
    }
    if (!written) {
        error = file.error();
    }
    return written;
}

}  // namespace

std::string MessageAttachments::FileName(size_t index) const {
    return AttachmentSaveName(attachments_[index].name, index);
}

bool MessageAttachments::Save(size_t index, const std::filesystem::path& path,
                              const EdbFile* database, std::string& error) const {
    const std::optional<std::string> content = AttachmentContent(message_, index);
    if (!content) {
        error = "the attachment cannot be read";
        return false;
    }
    std::error_code code;
    if (database != nullptr && database->HoldsFile(path)) {
        error = "the database is not written over";
        return false;
    }
    std::filesystem::remove(path, code);
    const std::filesystem::path directory =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    return WriteFile(directory, path.filename().string(), *content, database, error).has_value();
}

size_t MessageAttachments::SaveAll(const std::filesystem::path& directory, const EdbFile* database,
                                   std::string& error) const {
    size_t written = 0;
    const std::vector<std::optional<std::string>> contents = AttachmentContents(message_);
    for (size_t i = 0; i < attachments_.size(); ++i) {
        const bool decoded = i < contents.size() && contents[i].has_value();
        std::string reason = "attachment " + std::to_string(i + 1) + " cannot be read";
        if (decoded && WriteFile(directory, FileName(i), *contents[i], database, reason)) {
            ++written;
        } else if (error.empty()) {
            error = reason;
        }
    }
    return written;
}

}  // namespace velmor::ui
