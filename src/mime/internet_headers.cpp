#include "mime/internet_headers.h"

#include "edb/text_codec.h"
#include "mime/gmime_object.h"

namespace velmor {

namespace {

// Ends the header block, whether or not the stored text ends with one.
constexpr char kHeaderEnd[] = "\r\n\r\n";

std::u16string Text(const char* utf8) {
    return utf8 != nullptr ? Utf8ToUtf16(utf8) : std::u16string();
}

void AddAddresses(InternetAddressList* list, std::vector<HeaderAddress>& into) {
    if (list == nullptr) {
        return;
    }
    const int count = internet_address_list_length(list);
    for (int i = 0; i < count; ++i) {
        InternetAddress* address = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_GROUP(address)) {
            AddAddresses(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address)), into);
        } else if (INTERNET_ADDRESS_IS_MAILBOX(address)) {
            into.push_back(
                {Text(internet_address_get_name(address)),
                 Text(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)))});
        }
    }
}

std::optional<std::u16string> Header(GMimeMessage* message, const char* name) {
    const char* value = g_mime_object_get_header(GMIME_OBJECT(message), name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return Text(value);
}

}  // namespace

InternetHeaders ParseInternetHeaders(const std::u16string& text) {
    InitializeGMime();
    InternetHeaders headers;
    const std::string bytes = Utf16ToUtf8(text) + kHeaderEnd;
    GObjectRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    GObjectRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get));
    GObjectRef<GMimeMessage> message(g_mime_parser_construct_message(parser.get, nullptr));
    if (message.get == nullptr) {
        return headers;
    }
    AddAddresses(g_mime_message_get_from(message.get), headers.from);
    AddAddresses(g_mime_message_get_to(message.get), headers.to);
    AddAddresses(g_mime_message_get_cc(message.get), headers.cc);
    AddAddresses(g_mime_message_get_reply_to(message.get), headers.replyTo);
    if (const char* id = g_mime_message_get_message_id(message.get); id != nullptr && *id) {
        headers.messageId = u"<" + Text(id) + u">";
    }
    headers.inReplyTo = Header(message.get, "In-Reply-To");
    headers.references = Header(message.get, "References");
    return headers;
}

}  // namespace velmor
