#include "streaming/mime_summary.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "items/file_time.h"
#include "streaming/base64_characters.h"
#include "streaming/mime_library.h"
#include "streaming/mime_structure.h"
#include "streaming/summary_fields.h"

namespace velmor {

namespace {

// Holds one reference to a GObject and drops it at the end of its scope.
template <typename T>
struct Owned {
    explicit Owned(T* object) : get(object) {}
    ~Owned() {
        if (get) {
            g_object_unref(get);
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T* get;
};

constexpr std::string_view kEmptyLine = "\n\n";

GMimeMessage* ParseBytes(std::string_view bytes) {
    InitializeMimeLibrary();
    Owned<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get));
    g_mime_parser_set_format(parser.get, GMIME_FORMAT_MESSAGE);
    return g_mime_parser_construct_message(parser.get, nullptr);
}

std::string Text(const char* text) {
    return text ? text : "";
}

// A message as the MIME library reads it: its first kMaxMessageParts parts only, and a header
// block longer than kMaxHeaderBlockBytes cut there and closed by an empty line, the body kept.
GMimeMessage* ParseMessage(std::string_view bytes, bool* partsCut = nullptr) {
    const MimeStructure structure = ScanMimeStructure(bytes);
    if (structure.partsCutAt) {
        bytes = bytes.substr(0, *structure.partsCutAt);
    }
    if (partsCut != nullptr) {
        *partsCut = structure.partsCutAt.has_value();
    }
    const std::string_view header = HeaderBlockOf(bytes);
    if (header.size() <= kMaxHeaderBlockBytes) {
        return ParseBytes(bytes);
    }
    std::string bounded(header.substr(0, kMaxHeaderBlockBytes));
    bounded += kEmptyLine;
    bounded += bytes.substr(header.size());
    return ParseBytes(bounded);
}

// Reads one header block after another with the same parser and stream: building and
// freeing them anew cost a good part of reading a small header block. A message it returns
// reads from its stream, so it must be freed before the next one is read.
class HeaderBlockParser {
public:
    HeaderBlockParser() : stream_(g_mime_stream_mem_new()), parser_(g_mime_parser_new()) {
        g_mime_parser_set_format(parser_.get, GMIME_FORMAT_MESSAGE);
    }
    HeaderBlockParser(const HeaderBlockParser&) = delete;
    HeaderBlockParser& operator=(const HeaderBlockParser&) = delete;

    GMimeMessage* ParseMessage(std::string_view block) {
        Start(block);
        return g_mime_parser_construct_message(parser_.get, nullptr);
    }

    // The block as a part: its headers in order, read as for a message, without the message
    // and its address lists around them.
    GMimeObject* ParsePart(std::string_view block) {
        Start(block);
        return g_mime_parser_construct_part(parser_.get, nullptr);
    }

private:
    void Start(std::string_view block) {
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream_.get));
        g_byte_array_set_size(bytes, 0);
        g_byte_array_append(bytes, reinterpret_cast<const guint8*>(block.data()),
                            static_cast<guint>(block.size()));
        g_mime_stream_reset(stream_.get);
        g_mime_parser_init_with_stream(parser_.get, stream_.get);
    }

private:
    Owned<GMimeStream> stream_;
    Owned<GMimeParser> parser_;
};

// The fields of a header block the summary reads.
struct MessageFields {
    std::string messageId;
    std::string subject;
    std::unique_ptr<InternetAddressList, decltype(&g_object_unref)> from{nullptr, &g_object_unref};
    std::unique_ptr<GDateTime, decltype(&g_date_time_unref)> date{nullptr, &g_date_time_unref};
};

// Only a message's header block may begin with an mbox From line, which the library then
// passes over.
bool StartsWithFromLine(std::string_view block) {
    return block.starts_with("From ") || block.starts_with(">From ");
}

MessageFields FieldsOfMessage(GMimeMessage* message) {
    MessageFields fields;
    fields.messageId = Text(g_mime_message_get_message_id(message));
    fields.subject = Text(g_mime_message_get_subject(message));
    if (InternetAddressList* from = g_mime_message_get_from(message)) {
        fields.from.reset(INTERNET_ADDRESS_LIST(g_object_ref(from)));
    }
    if (GDateTime* date = g_mime_message_get_date(message)) {
        fields.date.reset(g_date_time_ref(date));
    }
    return fields;
}

// The fields as GMime's message takes them from its headers: the last Subject, Date and
// Message-Id, and the addresses of every From field in order.
MessageFields FieldsOfHeaders(GMimeHeaderList* headers) {
    MessageFields fields;
    fields.from.reset(internet_address_list_new());
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(headers, i);
        const char* name = g_mime_header_get_name(header);
        if (g_ascii_strcasecmp(name, "From") == 0) {
            const char* raw = g_mime_header_get_raw_value(header);
            if (InternetAddressList* list =
                    raw ? internet_address_list_parse(nullptr, raw) : nullptr) {
                internet_address_list_append(fields.from.get(), list);
                g_object_unref(list);
            }
        } else if (g_ascii_strcasecmp(name, "Subject") == 0) {
            fields.subject = Text(g_mime_header_get_value(header));
        } else if (g_ascii_strcasecmp(name, "Date") == 0) {
            if (const char* value = g_mime_header_get_value(header)) {
                fields.date.reset(g_mime_utils_header_decode_date(value));
            }
        } else if (g_ascii_strcasecmp(name, "Message-Id") == 0) {
            const char* value = g_mime_header_get_value(header);
            char* id = value ? g_mime_utils_decode_message_id(value) : nullptr;
            fields.messageId = Text(id);
            g_free(id);
        }
    }
    return fields;
}

// The fields of the header block alone, as ParseMessage bounds it.
std::optional<MessageFields> ReadMessageFields(std::string_view bytes) {
    InitializeMimeLibrary();
    thread_local HeaderBlockParser parser;
    const std::string_view header = HeaderBlockOf(bytes);
    const std::string block =
        header.size() <= kMaxHeaderBlockBytes
            ? SummaryFieldsOf(header)
            : SummaryFieldsOf(header.substr(0, kMaxHeaderBlockBytes)) + std::string(kEmptyLine);
    if (StartsWithFromLine(block)) {
        Owned<GMimeMessage> message(parser.ParseMessage(block));
        return message.get ? std::optional(FieldsOfMessage(message.get)) : std::nullopt;
    }
    Owned<GMimeObject> part(parser.ParsePart(block));
    return part.get ? std::optional(FieldsOfHeaders(g_mime_object_get_header_list(part.get)))
                    : std::nullopt;
}

std::string Addresses(InternetAddressList* list) {
    if (list == nullptr) {
        return {};
    }
    char* text = internet_address_list_to_string(list, nullptr, FALSE);
    std::string result = Text(text);
    g_free(text);
    return result;
}

void ReadFirstSender(InternetAddressList* list, MimeSummary& summary) {
    if (list == nullptr || internet_address_list_length(list) < 1) {
        return;
    }
    InternetAddress* address = internet_address_list_get_address(list, 0);
    summary.fromName = Text(internet_address_get_name(address));
    if (INTERNET_ADDRESS_IS_MAILBOX(address)) {
        summary.fromAddress =
            Text(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
    }
}

// The first text parts of the tree that are no attachments; attached messages keep theirs.
void FindTextParts(GMimeObject* object, MimeBody& body) {
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i) {
            FindTextParts(g_mime_multipart_get_part(multipart, i), body);
        }
        return;
    }
    if (!GMIME_IS_TEXT_PART(object) || g_mime_part_is_attachment(GMIME_PART(object))) {
        return;
    }
    GMimeContentType* type = g_mime_object_get_content_type(object);
    const bool html = g_mime_content_type_is_type(type, "text", "html");
    std::optional<std::string>& slot = html ? body.html : body.text;
    if (!slot && (html || g_mime_content_type_is_type(type, "text", "plain"))) {
        char* text = g_mime_text_part_get_text(GMIME_TEXT_PART(object));
        slot = Text(text);
        g_free(text);
    }
}

// The bytes write(stream) puts in a stream.
template <typename Write>
std::string Collected(const Write& write) {
    GByteArray* array = g_byte_array_new();
    {
        Owned<GMimeStream> sink(g_mime_stream_mem_new_with_byte_array(array));
        g_mime_stream_mem_set_owner(GMIME_STREAM_MEM(sink.get), FALSE);
        write(sink.get);
    }
    std::string bytes(reinterpret_cast<const char*>(array->data), array->len);
    g_byte_array_free(array, TRUE);
    return bytes;
}

// The base64 text of a part: how many characters it holds (line breaks and blanks left out)
// and how many of them are padding at its end.
struct Base64Text {
    int64_t characters = 0;
    int64_t padding = 0;

    // A cut part ends in the middle of a group of four.
    bool cut() const { return characters % 4 != 0; }
    int64_t decodedBytes() const { return characters / 4 * 3 - std::min<int64_t>(padding, 2); }
};

Base64Text CountBase64(GMimeDataWrapper* content) {
    Base64Text text;
    GMimeStream* raw = g_mime_data_wrapper_get_stream(content);
    if (raw == nullptr) {
        return text;
    }
    g_mime_stream_reset(raw);
    static constexpr size_t kReadBytes = 64 * 1024;
    std::vector<char> buffer(kReadBytes);
    ssize_t count = 0;
    while ((count = g_mime_stream_read(raw, buffer.data(), buffer.size())) > 0) {
        const auto end = buffer.begin() + count;
        text.characters += CountBase64Characters(buffer.data(), count);
        // Padding sits at the end: count the trailing '=' of this read, or add to those
        // of the reads before when it is all padding and blanks.
        int64_t trailing = 0;
        bool onlyPadding = true;
        for (auto it = end; it != buffer.begin();) {
            const char c = *--it;
            if (c == '=') {
                ++trailing;
            } else if (c != '\n' && c != '\r' && c != ' ' && c != '\t') {
                onlyPadding = false;
                break;
            }
        }
        text.padding = onlyPadding ? text.padding + trailing : trailing;
    }
    g_mime_stream_reset(raw);
    return text;
}

bool IsBase64(GMimePart* part) {
    return g_mime_part_get_content_encoding(part) == GMIME_CONTENT_ENCODING_BASE64;
}

// Calls attachment(object, base64Bytes) for each attachment of the part tree, in order, with
// the decoded size of a base64 part (-1 for others), and marks a cut base64 part in base64Cut
// (when given).
using AttachmentVisit = std::function<void(GMimeObject*, int64_t)>;
void WalkParts(GMimeObject* object, bool* base64Cut, const AttachmentVisit& attachment) {
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i) {
            WalkParts(g_mime_multipart_get_part(multipart, i), base64Cut, attachment);
        }
        return;
    }
    if (GMIME_IS_MESSAGE_PART(object)) {
        attachment(object, -1);
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        if (inner && g_mime_message_get_mime_part(inner)) {
            // Its own attachments stay inside it; a cut part still marks the whole.
            WalkParts(g_mime_message_get_mime_part(inner), base64Cut, [](GMimeObject*, int64_t) {});
        }
        return;
    }
    if (!GMIME_IS_PART(object)) {
        return;
    }
    GMimePart* part = GMIME_PART(object);
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    const bool isAttachment =
        g_mime_part_is_attachment(part) || g_mime_part_get_filename(part) != nullptr;
    int64_t base64Bytes = -1;
    if (content && IsBase64(part) && base64Cut) {
        const Base64Text text = CountBase64(content);
        base64Bytes = text.decodedBytes();
        if (text.cut()) {
            *base64Cut = true;
        }
    }
    if (isAttachment) {
        attachment(object, base64Bytes);
    }
}

std::string MediaType(GMimeObject* object) {
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (type == nullptr) {
        return {};
    }
    char* text = g_mime_content_type_get_mime_type(type);
    std::string result = Text(text);
    g_free(text);
    return result;
}

MimeAttachment DescribeAttachment(GMimeObject* object, int64_t base64Bytes) {
    MimeAttachment attachment;
    attachment.type = MediaType(object);
    if (GMIME_IS_PART(object)) {
        GMimePart* part = GMIME_PART(object);
        attachment.name = Text(g_mime_part_get_filename(part));
        GMimeDataWrapper* content = g_mime_part_get_content(part);
        if (base64Bytes >= 0) {
            attachment.size = base64Bytes;
        } else if (content) {
            Owned<GMimeStream> counter(g_mime_stream_null_new());
            g_mime_data_wrapper_write_to_stream(content, counter.get);
            attachment.size = static_cast<int64_t>(GMIME_STREAM_NULL(counter.get)->written);
        }
    } else if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        if (inner) {
            attachment.name = Text(g_mime_message_get_subject(inner));
            Owned<GMimeStream> counter(g_mime_stream_null_new());
            g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, counter.get);
            attachment.size = static_cast<int64_t>(GMIME_STREAM_NULL(counter.get)->written);
        }
    }
    return attachment;
}

// The decoded bytes of an attachment part, or an attached message as the message it is.
std::optional<std::string> PartContent(GMimeObject* object) {
    if (GMIME_IS_PART(object)) {
        if (GMimeDataWrapper* data = g_mime_part_get_content(GMIME_PART(object))) {
            return Collected(
                [&](GMimeStream* sink) { g_mime_data_wrapper_write_to_stream(data, sink); });
        }
    } else if (GMIME_IS_MESSAGE_PART(object)) {
        if (GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object))) {
            return Collected([&](GMimeStream* sink) {
                g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, sink);
            });
        }
    }
    return std::nullopt;
}

}  // namespace

std::string_view HeaderBlockOf(std::string_view bytes) {
    for (size_t line = 0; line < bytes.size();) {
        if (bytes[line] == '\n') {
            return bytes.substr(0, line + 1);
        }
        if (bytes[line] == '\r' && line + 1 < bytes.size() && bytes[line + 1] == '\n') {
            return bytes.substr(0, line + 2);
        }
        const size_t end = bytes.find('\n', line);
        if (end == std::string_view::npos) {
            break;
        }
        line = end + 1;
    }
    return bytes;
}

std::optional<MimeSummary> ReadMimeMessage(std::string_view bytes) {
    const std::optional<MessageFields> fields = ReadMessageFields(bytes);
    if (!fields) {
        return std::nullopt;
    }
    MimeSummary summary;
    summary.messageId = fields->messageId;
    summary.subject = fields->subject;
    summary.from = Addresses(fields->from.get());
    ReadFirstSender(fields->from.get(), summary);
    if (GDateTime* date = fields->date.get()) {
        char* text = g_date_time_format_iso8601(date);
        summary.date = Text(text);
        g_free(text);
        const int64_t unixSeconds = g_date_time_to_unix(date);
        if (unixSeconds > -kFileTimeSecondsBeforeUnixEpoch) {
            summary.fileTime =
                static_cast<uint64_t>(unixSeconds + kFileTimeSecondsBeforeUnixEpoch) *
                kFileTimeStepsPerSecond;
        }
    }
    const MimeStructure structure = ScanMimeStructure(bytes);
    summary.attachmentCount = structure.attachments;
    summary.base64Cut = structure.base64Cut;
    summary.partsCut = structure.partsCutAt.has_value();
    return summary;
}

std::optional<MimeParts> ReadMimeParts(std::string_view bytes) {
    bool partsCut = false;
    Owned<GMimeMessage> message(ParseMessage(bytes, &partsCut));
    if (message.get == nullptr) {
        return std::nullopt;
    }
    MimeParts parts;
    parts.partsCut = partsCut;
    if (GMimeObject* body = g_mime_message_get_mime_part(message.get)) {
        WalkParts(body, &parts.base64Cut, [&](GMimeObject* object, int64_t base64Bytes) {
            parts.attachments.push_back(DescribeAttachment(object, base64Bytes));
        });
    }
    return parts;
}

std::vector<MimeAttachment> ReadMimeAttachments(std::string_view bytes) {
    std::optional<MimeParts> parts = ReadMimeParts(bytes);
    return parts ? std::move(parts->attachments) : std::vector<MimeAttachment>{};
}

std::optional<MimeBody> ReadMimeBody(std::string_view bytes) {
    Owned<GMimeMessage> message(ParseMessage(bytes));
    if (message.get == nullptr) {
        return std::nullopt;
    }
    MimeBody body;
    body.to = Addresses(g_mime_message_get_to(message.get));
    if (GMimeObject* part = g_mime_message_get_mime_part(message.get)) {
        FindTextParts(part, body);
    }
    return body;
}

std::optional<std::string> AttachmentContent(std::string_view bytes, size_t index) {
    Owned<GMimeMessage> message(ParseMessage(bytes));
    GMimeObject* body = message.get ? g_mime_message_get_mime_part(message.get) : nullptr;
    if (body == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> content;
    size_t seen = 0;
    WalkParts(body, nullptr, [&](GMimeObject* object, int64_t) {
        if (seen++ == index) {
            content = PartContent(object);
        }
    });
    return content;
}

std::vector<std::optional<std::string>> AttachmentContents(std::string_view bytes) {
    std::vector<std::optional<std::string>> contents;
    Owned<GMimeMessage> message(ParseMessage(bytes));
    if (GMimeObject* body = message.get ? g_mime_message_get_mime_part(message.get) : nullptr) {
        WalkParts(body, nullptr,
                  [&](GMimeObject* object, int64_t) { contents.push_back(PartContent(object)); });
    }
    return contents;
}

}  // namespace velmor
