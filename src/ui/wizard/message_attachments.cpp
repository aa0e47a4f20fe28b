#include "wizard/message_attachments.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "edb/text_codec.h"
#include "export/atomic_file.h"
#include "export/attachment_file_name.h"
#include "export/safe_file_name.h"

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

constexpr char kAttachedMessageType[] = "message/rfc822";
constexpr char kMessageSuffix[] = ".eml";

bool IsAttachedMessage(const MimeAttachment& attachment) {
    std::string type = attachment.type;
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return type == kAttachedMessageType;
}

}  // namespace

std::string MessageAttachments::FileName(size_t index) const {
    const MimeAttachment& attachment = attachments_[index];
    if (!IsAttachedMessage(attachment)) {
        return AttachmentSaveName(attachment.name, index);
    }
    // An attached message is listed under its subject, and saved as a mail program saves a
    // message: the subject as a file name, and ".eml".
    if (attachment.name.empty()) {
        return AttachmentSaveName({}, index) + kMessageSuffix;
    }
    constexpr size_t kSubjectBytes = kMaxComponentBytes - (sizeof(kMessageSuffix) - 1);
    return AttachmentSaveName(SafeFileName(Utf8ToUtf16(attachment.name), kSubjectBytes), index) +
           kMessageSuffix;
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
                                   std::string& error, std::vector<Renamed>* renamed) const {
    size_t written = 0;
    const std::vector<std::optional<std::string>> contents = AttachmentContents(message_);
    for (size_t i = 0; i < attachments_.size(); ++i) {
        const bool decoded = i < contents.size() && contents[i].has_value();
        std::string reason = "attachment " + std::to_string(i + 1) + " cannot be read";
        const std::string name = FileName(i);
        const auto path =
            decoded ? WriteFile(directory, name, *contents[i], database, reason) : std::nullopt;
        if (path) {
            ++written;
            if (renamed != nullptr && path->filename().string() != name) {
                renamed->push_back({name, path->filename().string()});
            }
        } else if (error.empty()) {
            error = reason;
        }
    }
    return written;
}

}  // namespace velmor::ui
