#include "stm_writer/mime_corpus.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

namespace velmor::stm {

namespace {

constexpr int64_t kSmallestMessage = 1000;
constexpr int kBase64LineCharacters = 76;
constexpr int kKindCount = 6;

// A small generator whose sequence is the same on every machine.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 16);
    }
    uint32_t Below(uint32_t bound) { return Next() % bound; }

private:
    uint64_t state_;
};

constexpr std::string_view kWords[] = {
    "report", "meeting", "budget", "schedule", "the",    "of",     "and",     "quarterly",
    "draft",  "Müller",  "café",   "naïve",    "Zürich", "résumé", "straße",  "Ελλάδα",
    "данные", "東京",    "review", "attached", "please", "thanks", "regards", "tomorrow"};

std::string Words(Random& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kWords[random.Below(std::size(kWords))];
    }
    return text;
}

// Lines of UTF-8 prose, each under 78 bytes, about bytes long in all.
std::string Prose(Random& random, int64_t bytes) {
    std::string text;
    while (static_cast<int64_t>(text.size()) < bytes) {
        text += Words(random, 4 + static_cast<int>(random.Below(5)));
        text += ".\r\n";
    }
    return text;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    int line = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t a = static_cast<uint8_t>(bytes[i]);
        const uint32_t b = i + 1 < bytes.size() ? static_cast<uint8_t>(bytes[i + 1]) : 0;
        const uint32_t c = i + 2 < bytes.size() ? static_cast<uint8_t>(bytes[i + 2]) : 0;
        const uint32_t group = a << 16 | b << 8 | c;
        text += kAlphabet[group >> 18 & 63];
        text += kAlphabet[group >> 12 & 63];
        text += i + 1 < bytes.size() ? kAlphabet[group >> 6 & 63] : '=';
        text += i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
        line += 4;
        if (line >= kBase64LineCharacters) {
            text += "\r\n";
            line = 0;
        }
    }
    if (line > 0) {
        text += "\r\n";
    }
    return text;
}

std::string QuotedPrintable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    int line = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            encoded += "\r\n";
            ++i;
            line = 0;
            continue;
        }
        std::string piece(1, static_cast<char>(c));
        if (c >= 0x80 || c == '=' || c < ' ') {
            piece = {'=', kHex[c >> 4], kHex[c & 15]};
        }
        if (line + static_cast<int>(piece.size()) > 75) {
            encoded += "=\r\n";
            line = 0;
        }
        encoded += piece;
        line += static_cast<int>(piece.size());
    }
    return encoded;
}

std::string RandomBytes(Random& random, int64_t count) {
    std::string bytes(static_cast<size_t>(count), '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random.Next());
    }
    return bytes;
}

// A subject with non-ASCII words, as an RFC 2047 encoded word; plain gets the words.
std::string EncodedSubject(Random& random, std::string* plain) {
    const std::string words = Words(random, 4);
    if (plain != nullptr) {
        *plain = words;
    }
    return "=?UTF-8?B?" + Base64(words) + "?=";
}

// The header block of message number; subject, when given, gets its subject as UTF-8.
std::string Headers(Random& random, std::string* subject, int number, std::string_view contentType,
                    std::string_view encoding) {
    std::string encodedSubject = EncodedSubject(random, subject);
    // Base64 adds line breaks; an encoded word is one line.
    std::erase(encodedSubject, '\r');
    std::erase(encodedSubject, '\n');
    std::string text;
    text += "Received: from mail" + std::to_string(number % 7) +
            ".example.org (mail.example.org [192.0.2.7])\r\n\tby mx.example.net with ESMTP id " +
            std::to_string(1000 + number) +
            ";\r\n\tMon, 7 Dec 2026 09:" + std::to_string(10 + number % 50) + ":00 +0100\r\n";
    text += "From: =?UTF-8?Q?J=C3=BCrgen_M=C3=BCller?= <juergen" + std::to_string(number) +
            "@example.org>\r\n";
    text += "To: Ann Smith <ann@example.net>\r\n";
    text += "Subject: " + encodedSubject + "\r\n";
    text += "Date: Mon, 7 Dec 2026 09:" + std::to_string(10 + number % 50) + ":00 +0100\r\n";
    text += "Message-ID: <carve-" + std::to_string(number) + "@example.org>\r\n";
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: " + std::string(contentType) + "\r\n";
    if (!encoding.empty()) {
        text += "Content-Transfer-Encoding: " + std::string(encoding) + "\r\n";
    }
    text += "\r\n";
    return text;
}

std::string Boundary(int number, int depth) {
    return "=_part_" + std::to_string(number) + "_" + std::to_string(depth);
}

std::string AttachmentPart(Random& random, int index, int64_t bytes) {
    static constexpr std::string_view kTypes[] = {"application/pdf", "image/png",
                                                  "application/octet-stream"};
    const std::string_view type = kTypes[index % std::size(kTypes)];
    const std::string name = "attachment-" + std::to_string(index + 1) + ".bin";
    return "Content-Type: " + std::string(type) + "; name=\"" + name +
           "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment; "
           "filename=\"" +
           name + "\"\r\n\r\n" + Base64(RandomBytes(random, bytes));
}

std::string TextPart(Random& random, int64_t bytes) {
    return "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: "
           "quoted-printable\r\n\r\n" +
           QuotedPrintable(Prose(random, bytes));
}

std::string Multipart(std::string_view boundary, const std::vector<std::string>& parts) {
    std::string text = "This is a multi-part message in MIME format.\r\n";
    for (const std::string& part : parts) {
        text += "\r\n--" + std::string(boundary) + "\r\n" + part;
    }
    text += "\r\n--" + std::string(boundary) + "--\r\n";
    return text;
}

std::string MultipartType(std::string_view subtype, std::string_view boundary) {
    return "multipart/" + std::string(subtype) + ";\r\n\tboundary=\"" + std::string(boundary) +
           "\"";
}

}  // namespace

CorpusMessage MakeMessage(MessageKind kind, int64_t approxBytes, uint32_t seed, int number) {
    Random random(seed + static_cast<uint32_t>(number) * 7919u);
    CorpusMessage message;
    // Base64 grows bytes by a third.
    const int64_t payload = std::max<int64_t>(200, approxBytes * 3 / 4 - 900);
    switch (kind) {
        case MessageKind::PlainEightBit:
            message.bytes =
                Headers(random, &message.subject, number, "text/plain; charset=utf-8", "8bit") +
                Prose(random, std::max<int64_t>(200, approxBytes - 900));
            break;
        case MessageKind::QuotedPrintable:
            message.bytes =
                Headers(random, &message.subject, number, "text/plain; charset=utf-8",
                        "quoted-printable") +
                QuotedPrintable(Prose(random, std::max<int64_t>(200, approxBytes * 2 / 3 - 600)));
            break;
        case MessageKind::Alternative: {
            const std::string boundary = Boundary(number, 0);
            const std::string prose = Prose(random, std::max<int64_t>(200, approxBytes / 3));
            message.bytes =
                Headers(random, &message.subject, number, MultipartType("alternative", boundary),
                        "") +
                Multipart(boundary, {"Content-Type: text/plain; charset=utf-8\r\n"
                                     "Content-Transfer-Encoding: 8bit\r\n\r\n" +
                                         prose,
                                     "Content-Type: text/html; charset=utf-8\r\n"
                                     "Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
                                         QuotedPrintable("<html><body><p>" + prose +
                                                         "</p></body></html>\r\n")});
            message.multipart = true;
            break;
        }
        case MessageKind::MixedAttachments: {
            const std::string boundary = Boundary(number, 0);
            const int attachments = 2 + static_cast<int>(random.Below(3));
            std::vector<std::string> parts = {TextPart(random, 300)};
            for (int i = 0; i < attachments; ++i) {
                parts.push_back(AttachmentPart(random, i, payload / attachments));
            }
            message.bytes =
                Headers(random, &message.subject, number, MultipartType("mixed", boundary), "") +
                Multipart(boundary, parts);
            message.multipart = true;
            break;
        }
        case MessageKind::NestedMessage: {
            const std::string outer = Boundary(number, 0);
            const std::string inner = Boundary(number, 1);
            const std::string attached =
                Headers(random, nullptr, number + 100000, MultipartType("mixed", inner), "") +
                Multipart(inner, {TextPart(random, 200), AttachmentPart(random, 0, payload)});
            message.bytes =
                Headers(random, &message.subject, number, MultipartType("mixed", outer), "") +
                Multipart(outer, {TextPart(random, 300),
                                  "Content-Type: message/rfc822\r\nContent-Disposition: "
                                  "attachment\r\n\r\n" +
                                      attached});
            message.multipart = true;
            break;
        }
        case MessageKind::SinglePartAttachment:
            message.bytes = Headers(random, &message.subject, number,
                                    "application/pdf; name=\"scan.pdf\"", "base64") +
                            Base64(RandomBytes(random, payload));
            break;
    }
    return message;
}

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// filename*=UTF-8''... with every byte outside letters, digits and ".-_" percent-encoded.
std::string ExtendedFileName(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string value = "filename*=UTF-8''";
    for (char c : name) {
        const auto byte = static_cast<uint8_t>(c);
        if (std::isalnum(byte) != 0 && byte < 0x80) {
            value += c;
        } else if (c == '.' || c == '-' || c == '_') {
            value += c;
        } else {
            value += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return value;
}

std::string NamedAttachmentPart(const CorpusAttachment& attachment) {
    const bool ascii = IsAscii(attachment.name);
    const std::string typeName = ascii ? "; name=\"" + attachment.name + "\"" : std::string();
    const std::string fileName =
        ascii ? "filename=\"" + attachment.name + "\"" : ExtendedFileName(attachment.name);
    return "Content-Type: " + attachment.type + typeName +
           "\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n\t" +
           fileName + "\r\n\r\n" + Base64(attachment.content);
}

}  // namespace

CorpusMessage MakeMessageWithAttachments(int number,
                                         const std::vector<CorpusAttachment>& attachments,
                                         uint32_t seed) {
    Random random(seed + static_cast<uint32_t>(number) * 7919u);
    const std::string boundary = Boundary(number, 0);
    std::vector<std::string> parts = {TextPart(random, 300)};
    for (const CorpusAttachment& attachment : attachments) {
        parts.push_back(NamedAttachmentPart(attachment));
    }
    CorpusMessage message;
    message.bytes =
        Headers(random, &message.subject, number, MultipartType("mixed", boundary), "") +
        Multipart(boundary, parts);
    message.multipart = true;
    return message;
}

std::vector<CorpusMessage> MakeCorpus(int count, int64_t maxBytes, uint32_t seed) {
    std::vector<CorpusMessage> corpus;
    const double spread = std::log(static_cast<double>(maxBytes) / kSmallestMessage);
    for (int i = 0; i < count; ++i) {
        const double share = count > 1 ? static_cast<double>(i) / (count - 1) : 0;
        // Sizes rise and fall so that large and small neighbours meet.
        const double position = i % 2 == 0 ? share : 1 - share;
        const auto bytes = static_cast<int64_t>(kSmallestMessage * std::exp(spread * position));
        corpus.push_back(MakeMessage(static_cast<MessageKind>(i % kKindCount), bytes, seed, i + 1));
    }
    return corpus;
}

}  // namespace velmor::stm
