#include "export/pst_folder_writer.h"

#include "export/pst/pst_mailbox_file.h"

namespace velmor {

bool PstFolderWriter::Write(const ExportRecord& record) {
    if (!target_.file->AddItem(target_.folder, record)) {
        error_ = target_.file->error();
        return false;
    }
    return true;
}

bool PstFolderWriter::Finish() {
    if (!target_.file->CloseFolder(target_.folder)) {
        error_ = target_.file->error();
        return false;
    }
    return true;
}

}  // namespace velmor
