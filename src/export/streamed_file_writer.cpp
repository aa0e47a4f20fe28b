#include "export/streamed_file_writer.h"

namespace velmor {

bool StreamedFileWriter::Write(const ExportRecord& record) {
    if (!file_.isOpen() && !Begin()) {
        return false;
    }
    return file_.Write(Entry(record)) || Failed();
}

bool StreamedFileWriter::Finish() {
    if (!file_.isOpen() && (!writtenWhenEmpty_ || !Begin())) {
        return !writtenWhenEmpty_;
    }
    if (!file_.Write(Footer())) {
        return Failed();
    }
    const auto path = file_.Commit(name_);
    if (!path) {
        return Failed();
    }
    files_.push_back(path->filename().string());
    return true;
}

bool StreamedFileWriter::Begin() {
    return (file_.Open() && file_.Write(Header())) || Failed();
}

bool StreamedFileWriter::Failed() {
    error_ = file_.error();
    return false;
}

}  // namespace velmor
