#include "export/mime_message.h"

#include <gmime/gmime.h>

#include <mutex>

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr char kCharset[] = "utf-8";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr int64_t kTicksPerSecond = 10'000'000;
// Seconds from 1 January 1601 (the FILETIME epoch) to 1 January 1970.
constexpr int64_t kEpochDifferenceSeconds = 11'644'473'600;

// Owns one GObject reference.
template <typename T>
struct GObjectRef {
    explicit GObjectRef(T* object) : get(object) {}
    ~GObjectRef() { g_object_unref(get); }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    T* get;
};

void InitializeGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

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

// The store keeps names, not addresses: each gets the one unknown address, which no real
// mailbox can have.
void AddMailbox(GMimeMessage* message, GMimeAddressType type, const std::u16string& name) {
    InternetAddressList* list = g_mime_message_get_addresses(message, type);
    InternetAddress* mailbox =
        internet_address_mailbox_new(DisplayName(name).c_str(), kUnknownAddress);
    internet_address_set_charset(mailbox, kCharset);
    internet_address_list_add(list, mailbox);
    g_object_unref(mailbox);
}

void SetDate(GMimeMessage* message, uint64_t fileTime) {
    const int64_t seconds =
        static_cast<int64_t>(fileTime / kTicksPerSecond) - kEpochDifferenceSeconds;
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

}  // namespace

std::string MimeMessage(const ExportRecord& record, LineEnding ending) {
    InitializeGMime();
    GObjectRef<GMimeMessage> message(g_mime_message_new(TRUE));
    AddMailbox(message.get, GMIME_ADDRESS_TYPE_FROM, record.sender);
    for (const std::u16string& recipient : record.recipients) {
        AddMailbox(message.get, GMIME_ADDRESS_TYPE_TO, recipient);
    }
    g_mime_message_set_subject(message.get, Utf16ToUtf8(record.subject).c_str(), kCharset);
    if (record.fileTime) {
        SetDate(message.get, *record.fileTime);
    }
    const std::string itemId = Utf16ToUtf8(record.itemId);
    const std::string idPart = itemId.empty() ? "row" + std::to_string(record.rowNumber) : itemId;
    g_mime_message_set_message_id(message.get, (idPart + "@" + kMessageIdDomain).c_str());
    GMimeObject* headers = GMIME_OBJECT(message.get);
    g_mime_object_set_header(headers, "X-Velmor-Item-Id", itemId.c_str(), nullptr);
    if (record.marker) {
        g_mime_object_set_header(headers, "X-Velmor-Marker", "1", nullptr);
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
