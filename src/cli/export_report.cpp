#include "cli/export_report.h"

#include "cli/json_writer.h"
#include "cli/plain_text.h"

namespace velmor::cli {

std::string ExportReport::Relative(const std::filesystem::path& path) const {
    return path.lexically_relative(outdir_).string();
}

std::string ExportReport::JsonFolder(const FolderExportResult& result) const {
    std::string files;
    for (const auto& file : result.files) {
        files += (files.empty() ? "" : ", ") + JsonString(Relative(result.directory / file));
    }
    return "{\"path\": " + JsonString(result.path) +
           ", \"dir\": " + JsonString(Relative(result.directory)) +
           ", \"kind\": " + std::to_string(result.folderKind) +
           ", \"items\": " + std::to_string(result.items) + ", \"files\": [" + files + "]}";
}

void ExportReport::Add(const FolderExportResult& result) {
    if (!result.ok() && result.files.empty()) {
        return;
    }
    total_ += result.items;
    if (json_) {
        folders_ += (folders_.empty() ? "" : ", ") + JsonFolder(result);
    } else {
        folders_ += PlainText(result.path) + "\t" + Relative(result.directory) + "\t" +
                    std::to_string(result.items) + "\n";
    }
}

void ExportReport::SetPst(const std::filesystem::path& file) {
    pst_ = Relative(file);
}

std::string ExportReport::Text() const {
    if (json_) {
        return "{\"outdir\": " + JsonString(outdir_.string()) + ", \"folders\": [" + folders_ +
               "], \"items\": " + std::to_string(total_) +
               (pst_.empty() ? "" : ", \"pst\": " + JsonString(pst_)) + "}\n";
    }
    return pst_.empty() ? folders_
                        : folders_ + "PST\t" + pst_ + "\t" + std::to_string(total_) + "\n";
}

}  // namespace velmor::cli
