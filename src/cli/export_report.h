#pragma once

#include <filesystem>
#include <string>

#include "export/folder_exporter.h"

namespace velmor::cli {

// What the export command prints on stdout: a line (or a JSON object) per folder that
// completed files, including one that failed or stopped after writing some, and the total.
class ExportReport {
public:
    ExportReport(std::filesystem::path outdir, bool json)
        : outdir_(std::move(outdir)), json_(json) {}

    void Add(const FolderExportResult& result);
    // The mailbox's personal-folders file; its path.
    void SetPst(const std::filesystem::path& file);
    // The whole output, line break included.
    std::string Text() const;

private:
    std::string Relative(const std::filesystem::path& path) const;
    std::string JsonFolder(const FolderExportResult& result) const;

    std::filesystem::path outdir_;
    bool json_;
    std::string folders_;
    size_t total_ = 0;
    std::string pst_;
};

}  // namespace velmor::cli
