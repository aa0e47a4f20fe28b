#include "export/pst/attachment_objects.h"

#include "edb/text_codec.h"
#include "export/pst/property_context.h"
#include "export/pst/property_ids.h"
#include "export/pst/pst_layout.h"
#include "export/pst/table_columns.h"
#include "export/pst/table_context.h"
#include "streaming/mime_structure.h"

namespace velmor::pst {

namespace {

constexpr size_t kShortBaseLength = 8;
constexpr size_t kShortExtensionLength = 3;
constexpr char kShortenedMark[] = "~1";
constexpr char kUnnamedBase[] = "ATTACH";
// Attachment subnodes are numbered from here, apart from the message's other subnodes.
constexpr uint32_t kFirstAttachmentIndex = 0x401;
// A message's attachments come from its original's parts, of which no more than
// kMaxMessageParts are read: with one leaf of the subnode tree left for the message's own
// subnodes, they always fit, so that no message fails the file for its attachments.
static_assert(kMaxMessageParts < kMaxSubnodeLeafEntries * (kMaxSubnodeIndexEntries - 1));

// The letters and digits of text, upper case, and whether anything else was dropped.
std::string ShortPart(std::string_view text, bool& dropped) {
    std::string part;
    for (char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            part += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        } else {
            dropped = true;
        }
    }
    return part;
}

// The size the attachment object takes: the bytes of its values.
uint32_t AttachmentSize(const PropertyList& properties) {
    size_t size = 0;
    for (const auto& [id, value] : properties.values()) {
        size += value.bytes.size();
    }
    return static_cast<uint32_t>(size);
}

// The 8.3 name of an attachment, as the attachment table lists it: up to eight letters and
// digits of the name before its last dot and three of its extension, upper case, the name
// ending in "~1" when it was shortened.
std::u16string ShortFileName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    bool dropped = false;
    std::string base = ShortPart(
        std::string_view(fileName).substr(0, hasExtension ? dot : fileName.size()), dropped);
    std::string extension;
    if (hasExtension) {
        extension = ShortPart(std::string_view(fileName).substr(dot + 1), dropped);
        if (extension.size() > kShortExtensionLength) {
            extension.resize(kShortExtensionLength);
            dropped = true;
        }
    }
    if (base.empty()) {
        base = kUnnamedBase;
        dropped = true;
    }
    if (dropped || base.size() > kShortBaseLength) {
        base.resize(std::min(base.size(), kShortBaseLength - (sizeof(kShortenedMark) - 1)));
        base += kShortenedMark;
    }
    const std::string name = extension.empty() ? base : base + "." + extension;
    return std::u16string(name.begin(), name.end());
}

PropertyList AttachmentProperties(const MailAttachment& attachment, uint32_t number) {
    using namespace prop;
    const std::u16string longName = Utf8ToUtf16(attachment.fileName);
    PropertyList properties;
    properties.SetInt32(kObjectType, kObjectTypeAttachment);
    properties.SetInt32(kAttachNumber, number);
    properties.SetInt32(kAttachMethod, kAttachByValue);
    properties.SetInt32(kRenderingPosition, kRenderingPositionNone);
    properties.SetString(kAttachLongFileName, longName);
    properties.SetString(kAttachFileName, ShortFileName(attachment.fileName));
    properties.SetString(kDisplayName, longName);
    const size_t dot = longName.rfind(u'.');
    if (dot != std::u16string::npos && dot > 0) {
        properties.SetString(kAttachExtension, longName.substr(dot));
    }
    if (!attachment.mimeType.empty()) {
        properties.SetString(kAttachMimeTag, Utf8ToUtf16(attachment.mimeType));
    }
    properties.SetBinary(kAttachDataBinary,
                         Bytes(attachment.content.begin(), attachment.content.end()));
    // The size counts its own value too.
    properties.SetInt32(kAttachSize, AttachmentSize(properties) + sizeof(uint32_t));
    return properties;
}

}  // namespace

void AddAttachmentObjects(NodeContent& message, const std::vector<MailAttachment>& attachments) {
    if (attachments.empty()) {
        return;
    }
    TableContext table(AttachmentTableColumns());
    for (size_t i = 0; i < attachments.size(); ++i) {
        const uint32_t nid =
            MakeNid(kNidTypeAttachment, kFirstAttachmentIndex + static_cast<uint32_t>(i));
        const PropertyList properties =
            AttachmentProperties(attachments[i], static_cast<uint32_t>(i));
        table.AddRow(nid, properties);
        message.subnodes.push_back({nid, BuildPropertyContext(properties)});
    }
    message.subnodes.push_back({kNidAttachmentTable, table.Build()});
}

}  // namespace velmor::pst
