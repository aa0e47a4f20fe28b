#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::stm {

// One self-written MIME message, CRLF line endings throughout.
struct CorpusMessage {
    std::string bytes;
    bool multipart = false;  // its end is the closing boundary of its outermost multipart
    std::string subject;     // as the Subject header gives it, decoded to UTF-8
};

// The kinds of message the corpus holds.
enum class MessageKind {
    PlainEightBit,         // text/plain, UTF-8 in 8bit, encoded-word subject
    QuotedPrintable,       // text/plain in quoted-printable
    Alternative,           // multipart/alternative: plain and HTML
    MixedAttachments,      // multipart/mixed: text and several base64 attachments
    NestedMessage,         // multipart/mixed with a message/rfc822 that has an attachment
    SinglePartAttachment,  // a whole message of one base64 attachment
};

// A message of kind, about approxBytes long (attachments fill it), its contents drawn from
// seed; number makes its Message-ID and boundaries unique.
CorpusMessage MakeMessage(MessageKind kind, int64_t approxBytes, uint32_t seed, int number);

// An attachment of a message made to order.
struct CorpusAttachment {
    std::string name;  // UTF-8; a name outside ASCII is written as an RFC 2231 parameter
    std::string type;  // "application/pdf"
    std::string content;
};

// A multipart/mixed message with a text part and the attachments, in base64, its headers as
// MakeMessage writes them for number (Message-ID <carve-number@example.org>).
CorpusMessage MakeMessageWithAttachments(int number,
                                         const std::vector<CorpusAttachment>& attachments,
                                         uint32_t seed);

// count messages of every kind in turn, from 1 KB up to maxBytes, sizes spread
// logarithmically.
std::vector<CorpusMessage> MakeCorpus(int count, int64_t maxBytes, uint32_t seed);

}  // namespace velmor::stm
