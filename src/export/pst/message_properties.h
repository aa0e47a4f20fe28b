#pragma once

#include <string>
#include <vector>

#include "export/export_record.h"
#include "export/mail_attachments.h"
#include "export/pst/property_list.h"

namespace velmor::pst {

// The message class of the items of a folder kind, and the folder's container class.
std::u16string MessageClass(int folderKind);
std::u16string ContainerClass(int folderKind);

// Splits a subject into its prefix ("RE: ", with the blank) and the subject after it; an
// empty prefix when there is none.
std::pair<std::u16string, std::u16string> SplitSubject(const std::u16string& subject);

// The properties of the item of an exported row; exportTime (a FILETIME) stands for the
// creation and modification times of an item whose stored time is not usable. A mail with
// attachments says so in its flags and counts them in its size.
PropertyList MessageProperties(const ExportRecord& record, uint64_t exportTime,
                               const std::vector<MailAttachment>& attachments);

// The rows of the item's recipient table, one per recipient.
std::vector<PropertyList> RecipientRows(const ExportRecord& record);

}  // namespace velmor::pst
