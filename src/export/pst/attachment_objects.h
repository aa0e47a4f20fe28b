#pragma once

#include <vector>

#include "export/mail_attachments.h"
#include "export/pst/node_database.h"

namespace velmor::pst {

// Gives a message node its attachments: the attachment table in the message's subnodes, a
// row per attachment, and an attachment object subnode per row (its row id), holding the
// attachment's data by value; data of more than one block goes to a data tree in the
// attachment's own subnodes.
void AddAttachmentObjects(NodeContent& message, const std::vector<MailAttachment>& attachments);

}  // namespace velmor::pst
