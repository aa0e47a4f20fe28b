#include "export/eml_writer.h"

#include <cstdio>

#include "export/mime_message.h"

namespace velmor {

std::string EmlFileName(int rowNumber) {
    char name[32];
    std::snprintf(name, sizeof name, "%05d.eml", rowNumber);
    return name;
}

bool EmlWriter::Write(const ExportRecord& record) {
    AtomicFile file(directory_, database_);
    const std::string message =
        record.originalMime ? *record.originalMime : MimeMessage(record, LineEnding::CrLf);
    if (file.Open() && file.Write(message)) {
        if (const auto path = file.Commit(EmlFileName(record.rowNumber))) {
            files_.push_back(path->filename().string());
            return true;
        }
    }
    error_ = file.error();
    return false;
}

}  // namespace velmor
