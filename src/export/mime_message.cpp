#include "export/mime_message.h"

#include <iterator>

#include "edb/text_codec.h"
#include "items/file_time.h"
#include "mime/gmime_object.h"

namespace velmor {

namespace {

constexpr char kCharset[] = "utf-8";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
// Ends the header block, whether or not the stored headers end with one.
constexpr char kHeaderEnd[] = "\r\n\r\n";
// The headers that describe the original body, which the export does not have.
constexpr const char* kBodyHeaders[] = {"Content-Type",        "Content-Transfer-Encoding",
                                        "Content-Disposition", "Content-ID",
                                        "Content-Description", "Content-Language"};
// By importance: low, normal, high.
constexpr const char* kImportanceHeaders[] = {"low", "normal", "high"};
constexpr const char* kPriorityHeaders[] = {"5", "3", "1"};

// A name as a header's display name: control characters, line breaks included, become blanks.
std::string DisplayName(const std::u16string& name) {
    std::string text = Utf16ToUtf8(name);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstPrintable || byte == kDelete) {
            c = ' ';
        }
    }
    return text;
}

// An address the store keeps, or the unknown address, which no real mailbox can have, for a
// name alone or a distinguished name: that one is no e-mail address.
void AddMailbox(GMimeMessage* message, GMimeAddressType type, const MessageAddress& address) {
    InternetAddressList* list = g_mime_message_get_addresses(message, type);
    const bool usable = !address.address.empty() && address.addressType != kExchangeAddressType;
    InternetAddress* mailbox = internet_address_mailbox_new(
        DisplayName(address.name).c_str(),
        usable ? DisplayName(address.address).c_str() : kUnknownAddress);
    internet_address_set_charset(mailbox, kCharset);
    internet_address_list_add(list, mailbox);
    g_object_unref(mailbox);
}

void AddMailboxes(GMimeMessage* message, GMimeAddressType type,
                  const std::vector<MessageAddress>& addresses) {
    for (const MessageAddress& address : addresses) {
        AddMailbox(message, type, address);
    }
}

void SetDate(GMimeMessage* message, uint64_t fileTime) {
    const int64_t seconds = FileTimeToUnixSeconds(fileTime);
    if (GDateTime* date = g_date_time_new_from_unix_utc(seconds)) {
        g_mime_message_set_date(message, date);
        g_date_time_unref(date);
    }
}

// Text with each CRLF and each lone CR as one LF, the line break the writer converts.
std::string WithLineFeeds(const std::u16string& text) {
    std::string utf8 = Utf16ToUtf8(text);
    std::string result;
    result.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r') {
            result += utf8[i];
        } else if (i + 1 == utf8.size() || utf8[i + 1] != '\n') {
            result += '\n';
        }
    }
    return result;
}

// The transfer encoding follows the content, so that no line exceeds 998 octets and 8-bit
// text is encoded.
GMimeObject* TextPart(const char* subtype, const std::u16string& text) {
    GMimeTextPart* part = g_mime_text_part_new_with_subtype(subtype);
    g_mime_text_part_set_text(part, WithLineFeeds(text).c_str());
    g_mime_part_set_content_encoding(
        GMIME_PART(part),
        g_mime_part_get_best_content_encoding(GMIME_PART(part), GMIME_ENCODING_CONSTRAINT_7BIT));
    return GMIME_OBJECT(part);
}

// The body: the parts given, or an empty text when there are none.
GMimeObject* Body(const ExportRecord& record) {
    const bool text = record.bodyText.has_value();
    const bool html = record.bodyHtml.has_value();
    if (text && html) {
        GMimeMultipart* alternative = g_mime_multipart_new_with_subtype("alternative");
        GObjectRef<GMimeObject> plain(TextPart("plain", *record.bodyText));
        GObjectRef<GMimeObject> rich(TextPart("html", *record.bodyHtml));
        g_mime_multipart_add(alternative, plain.get);
        g_mime_multipart_add(alternative, rich.get);
        return GMIME_OBJECT(alternative);
    }
    if (html) {
        return TextPart("html", *record.bodyHtml);
    }
    return TextPart("plain", text ? *record.bodyText : std::u16string());
}

// The sender: the details read, or the record's name.
MessageAddress Sender(const ExportRecord& record) {
    const MessageAddress& from = record.details.from;
    return from.name.empty() && from.address.empty() ? MessageAddress{record.sender, u"", u""}
                                                     : from;
}

// A message id as GMime takes it: without its angle brackets.
std::string BareMessageId(const std::u16string& id) {
    std::string text = DisplayName(id);
    if (text.starts_with('<') && text.ends_with('>')) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

void SetHeader(GMimeMessage* message, const char* name, const std::string& value) {
    g_mime_object_set_header(GMIME_OBJECT(message), name, value.c_str(), nullptr);
}

// The headers built from what the store keeps, for a mail without its Internet headers.
GMimeMessage* BuiltMessage(const ExportRecord& record) {
    GMimeMessage* message = g_mime_message_new(TRUE);
    const MessageDetails& details = record.details;
    AddMailbox(message, GMIME_ADDRESS_TYPE_FROM, Sender(record));
    AddMailboxes(message, GMIME_ADDRESS_TYPE_REPLY_TO, details.replyTo);
    AddMailboxes(message, GMIME_ADDRESS_TYPE_TO, ToRecipients(record));
    AddMailboxes(message, GMIME_ADDRESS_TYPE_CC, details.cc);
    AddMailboxes(message, GMIME_ADDRESS_TYPE_BCC, details.bcc);
    g_mime_message_set_subject(message, Utf16ToUtf8(record.subject).c_str(), kCharset);
    if (record.fileTime) {
        SetDate(message, *record.fileTime);
    }
    const std::string itemId = Utf16ToUtf8(record.itemId);
    const std::string idPart = itemId.empty() ? "row" + std::to_string(record.rowNumber) : itemId;
    const std::string storedId = details.messageId ? BareMessageId(*details.messageId) : "";
    g_mime_message_set_message_id(
        message, (storedId.empty() ? idPart + "@" + kMessageIdDomain : storedId).c_str());
    if (details.inReplyTo) {
        SetHeader(message, "In-Reply-To", DisplayName(*details.inReplyTo));
    }
    if (details.references) {
        SetHeader(message, "References", DisplayName(*details.references));
    }
    if (details.importance && *details.importance < std::size(kImportanceHeaders)) {
        SetHeader(message, "Importance", kImportanceHeaders[*details.importance]);
        SetHeader(message, "X-Priority", kPriorityHeaders[*details.importance]);
    }
    return message;
}

// The mail's own Internet headers, as a parser reads them; their body headers give way to the
// body written here. Null when they do not make a message.
GMimeMessage* OriginalMessage(const std::u16string& headers) {
    const std::string bytes = Utf16ToUtf8(headers) + kHeaderEnd;
    GObjectRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    GObjectRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get));
    GMimeMessage* message = g_mime_parser_construct_message(parser.get, nullptr);
    if (message == nullptr) {
        return nullptr;
    }
    GMimeObject* object = GMIME_OBJECT(message);
    for (const char* name : kBodyHeaders) {
        while (g_mime_object_remove_header(object, name)) {
        }
    }
    if (g_mime_object_get_header(object, "MIME-Version") == nullptr) {
        g_mime_object_set_header(object, "MIME-Version", "1.0", nullptr);
    }
    return message;
}

}  // namespace

std::string MimeMessage(const ExportRecord& record, LineEnding ending, StatusLine status) {
    InitializeGMime();
    GMimeMessage* original =
        record.details.internetHeaders ? OriginalMessage(*record.details.internetHeaders) : nullptr;
    GObjectRef<GMimeMessage> message(original != nullptr ? original : BuiltMessage(record));
    GMimeObject* headers = GMIME_OBJECT(message.get);
    const std::string itemId = Utf16ToUtf8(record.itemId);
    g_mime_object_set_header(headers, "X-Velmor-Item-Id", itemId.c_str(), nullptr);
    if (record.marker) {
        g_mime_object_set_header(headers, "X-Velmor-Marker", "1", nullptr);
    }
    if (status == StatusLine::Mbox && record.details.read.value_or(false)) {
        g_mime_object_set_header(headers, "Status", "RO", nullptr);
    }
    GObjectRef<GMimeObject> body(Body(record));
    g_mime_message_set_mime_part(message.get, body.get);

    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(
        options, ending == LineEnding::CrLf ? GMIME_NEWLINE_FORMAT_DOS : GMIME_NEWLINE_FORMAT_UNIX);
    char* bytes = g_mime_object_to_string(headers, options);
    g_mime_format_options_free(options);
    std::string result = bytes != nullptr ? bytes : "";
    g_free(bytes);
    return result;
}

}  // namespace velmor
