#include "streaming/mime_structure.h"

#include <gmime/gmime.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "streaming/base64_characters.h"
#include "streaming/mime_library.h"

namespace velmor {

namespace {

// The parser's limit of nested parts; deeper ones are read as plain parts.
constexpr int kMaxNesting = 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lower[i]) {
            return false;
        }
    }
    return true;
}

// The fields of a part's header block that shape its tree, unfolded.
struct PartFields {
    std::optional<std::string> contentType;  // the last one
    std::optional<std::string> disposition;  // the last one
    std::optional<std::string> firstEncoding;
    std::optional<std::string> lastEncoding;
};

// How a header block ended: at its empty line, at the end of the bytes (the part then has no
// content), or at the end of the bytes inside a field name (no part at all).
enum class HeadersEnd { EmptyLine, EndOfBytes, InsideFieldName };

// Where a part's content ended: at a boundary line (level in the stack of boundaries, the
// innermost last) or at the end of the bytes.
struct Found {
    static constexpr int kEndOfBytes = -1;
    int level = kEndOfBytes;
    bool closing = false;
    size_t line = 0;  // where the boundary line (or the end) is
};

// A parsed Content-Type value, or the default one.
class ContentType {
public:
    ContentType(const std::optional<std::string>& value, bool inDigest) {
        if (value) {
            type_ = g_mime_content_type_parse(nullptr, value->c_str());
        }
        if (type_) {
            media_ = g_mime_content_type_get_media_type(type_);
            subtype_ = g_mime_content_type_get_media_subtype(type_);
        } else if (inDigest) {
            media_ = "message";
            subtype_ = "rfc822";
        }
    }
    ~ContentType() {
        if (type_) {
            g_object_unref(type_);
        }
    }
    ContentType(const ContentType&) = delete;
    ContentType& operator=(const ContentType&) = delete;

    bool Is(const char* media, const char* subtype = nullptr) const {
        return g_ascii_strcasecmp(media_, media) == 0 &&
               (subtype == nullptr || g_ascii_strcasecmp(subtype_, subtype) == 0);
    }
    const char* Parameter(const char* name) const {
        return type_ ? g_mime_content_type_get_parameter(type_, name) : nullptr;
    }

private:
    GMimeContentType* type_ = nullptr;
    const char* media_ = "text";
    const char* subtype_ = "plain";
};

bool IsAttachedMessageType(const ContentType& type) {
    return type.Is("message", "rfc822") || type.Is("message", "rfc2822") ||
           type.Is("message", "global") || type.Is("message", "news");
}

GMimeContentEncoding Encoding(const std::optional<std::string>& value) {
    return value ? g_mime_content_encoding_from_string(value->c_str())
                 : GMIME_CONTENT_ENCODING_DEFAULT;
}

class StructureScanner {
public:
    StructureScanner(std::string_view text, int64_t maxParts) : text_(text), maxParts_(maxParts) {}

    MimeStructure Run() {
        size_t pos = 0;
        PartFields fields;
        if (ReadHeaders(pos, fields) == HeadersEnd::InsideFieldName) {
            return result_;
        }
        const ContentType type(fields.contentType, false);
        if (type.Is("multipart")) {
            Multipart(pos, type, 0);
        } else {
            Leaf(pos, fields, type, 0);
        }
        return result_;
    }

private:
    size_t LineEnd(size_t from) const {
        const void* found = std::memchr(text_.data() + from, '\n', text_.size() - from);
        return found ? static_cast<size_t>(static_cast<const char*>(found) - text_.data())
                     : text_.size();
    }

    // Past the line at from, or the end of the bytes when it has no line break.
    size_t SkipLine(size_t from) const {
        const size_t end = LineEnd(from);
        return end < text_.size() ? end + 1 : text_.size();
    }

    HeadersEnd ReadHeaders(size_t& pos, PartFields& fields) const {
        std::string* folding = nullptr;  // the tracked field whose value goes on
        bool firstLine = true;
        while (pos < text_.size()) {
            const size_t end = LineEnd(pos);
            std::string_view line = text_.substr(pos, end - pos);
            if (end == text_.size() && !line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (end < text_.size() && (line.empty() || line == "\r")) {
                pos = end + 1;
                return HeadersEnd::EmptyLine;
            }
            if (!firstLine && !line.empty() && IsBlank(line[0])) {
                if (folding) {
                    *folding += line;
                }
            } else {
                folding = nullptr;
                // A name: no control characters, no blank inside, blanks allowed before ':'.
                size_t colon = 0;
                bool blank = false;
                bool valid = true;
                for (; colon < line.size() && line[colon] != ':'; ++colon) {
                    if (IsBlank(line[colon])) {
                        blank = true;
                    } else if (blank || IsControl(line[colon])) {
                        valid = false;
                        break;
                    }
                }
                if (valid && colon == line.size()) {
                    if (end == text_.size()) {
                        pos = text_.size();
                        return HeadersEnd::InsideFieldName;
                    }
                    valid = false;  // the name runs into the line break
                }
                if (valid) {
                    std::string_view name = line.substr(0, colon);
                    while (!name.empty() && IsBlank(name.back())) {
                        name.remove_suffix(1);
                    }
                    const std::string value(line.substr(colon + 1));
                    if (EqualsIgnoringCase(name, "content-type")) {
                        folding = &fields.contentType.emplace(value);
                    } else if (EqualsIgnoringCase(name, "content-disposition")) {
                        folding = &fields.disposition.emplace(value);
                    } else if (EqualsIgnoringCase(name, "content-transfer-encoding")) {
                        if (!fields.firstEncoding) {
                            fields.firstEncoding = value;
                        }
                        folding = &fields.lastEncoding.emplace(value);
                    }
                }
            }
            firstLine = false;
            pos = end < text_.size() ? end + 1 : text_.size();
        }
        return HeadersEnd::EndOfBytes;
    }

    // Whether the line at [from, from + length) is pattern followed by blanks only.
    bool IsBoundary(size_t from, size_t length, const std::string& pattern) const {
        if (length < pattern.size() ||
            std::memcmp(text_.data() + from, pattern.data(), pattern.size()) != 0) {
            return false;
        }
        for (size_t i = from + pattern.size(); i < from + length; ++i) {
            if (!IsLineSpace(text_[i])) {
                return false;
            }
        }
        return true;
    }

    // The boundary the line at from is, innermost first, or nothing.
    std::optional<Found> BoundaryAt(size_t from) const {
        if (from + 1 >= text_.size() || text_[from] != '-' || text_[from + 1] != '-') {
            return std::nullopt;
        }
        size_t length = LineEnd(from) - from;
        if (text_[from + length - 1] == '\r') {
            --length;
        }
        if (length < 2) {
            return std::nullopt;
        }
        for (int level = static_cast<int>(boundaries_.size()) - 1; level >= 0; --level) {
            const std::string& open = boundaries_[static_cast<size_t>(level)];
            if (IsBoundary(from, length, open + "--")) {
                return Found{level, true, from};
            }
            if (IsBoundary(from, length, open)) {
                return Found{level, false, from};
            }
        }
        return std::nullopt;
    }

    // The content from pos (a line start) up to the next boundary line of the stack, which
    // starts at pos or right after a "\n--".
    Found ScanContent(size_t pos) const {
        if (boundaries_.empty()) {
            return Found{Found::kEndOfBytes, false, text_.size()};
        }
        size_t line = pos;
        while (line < text_.size()) {
            if (const std::optional<Found> found = BoundaryAt(line)) {
                return *found;
            }
            line = NextDashLine(line + 1);
        }
        return Found{Found::kEndOfBytes, false, text_.size()};
    }

    // The first line start after from that begins with "--", or the end of the bytes. Base64
    // text, most of a message, holds no '-': the search runs at the speed of memchr there.
    size_t NextDashLine(size_t from) const {
        while (from + 1 < text_.size()) {
            const void* dash = std::memchr(text_.data() + from, '-', text_.size() - from);
            if (dash == nullptr) {
                break;
            }
            const auto at = static_cast<size_t>(static_cast<const char*>(dash) - text_.data());
            if (at > 0 && text_[at - 1] == '\n' && at + 1 < text_.size() && text_[at + 1] == '-') {
                return at;
            }
            from = at + 1;
        }
        return text_.size();
    }

    bool Immediate(const Found& found, bool closing) const {
        return found.level >= 0 && static_cast<size_t>(found.level) + 1 == boundaries_.size() &&
               found.closing == closing;
    }

    Found Multipart(size_t pos, const ContentType& type, int depth) {
        const char* boundary = type.Parameter("boundary");
        if (boundary == nullptr || depth >= kMaxNesting) {
            return ScanContent(pos);
        }
        boundaries_.push_back(std::string("--") + boundary);
        Found found = ScanContent(pos);
        const bool digest = type.Is("multipart", "digest");
        while (Immediate(found, false)) {
            const size_t end = LineEnd(found.line);
            if (end == text_.size()) {
                found = Found{Found::kEndOfBytes, false, text_.size()};
                break;
            }
            if (++parts_ > maxParts_) {
                // Nothing past here is read: the walk ends as at the end of the bytes.
                result_.partsCutAt = found.line;
                found = Found{Found::kEndOfBytes, false, text_.size()};
                break;
            }
            found = Part(end + 1, digest, depth + 1);
        }
        if (Immediate(found, true)) {
            pos = SkipLine(found.line);
            boundaries_.pop_back();
            return ScanContent(pos);
        }
        boundaries_.pop_back();
        return found;
    }

    // A part of a multipart, from its header block on.
    Found Part(size_t pos, bool inDigest, int depth) {
        PartFields fields;
        if (ReadHeaders(pos, fields) == HeadersEnd::InsideFieldName) {
            return Found{Found::kEndOfBytes, false, text_.size()};
        }
        const ContentType type(fields.contentType, inDigest);
        if (type.Is("multipart")) {
            return Multipart(pos, type, depth);
        }
        return Leaf(pos, fields, type, depth);
    }

    Found Leaf(size_t pos, const PartFields& fields, const ContentType& type, int depth) {
        if (IsAttachedMessageType(type) && depth < kMaxNesting) {
            const GMimeContentEncoding first = Encoding(fields.firstEncoding);
            const bool encoded = first == GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE ||
                                 first == GMIME_CONTENT_ENCODING_UUENCODE ||
                                 first == GMIME_CONTENT_ENCODING_BASE64;
            if (!encoded) {
                CountAttachment();
                return AttachedMessage(pos, depth + 1);
            }
        }
        if (IsAttachment(fields, type)) {
            CountAttachment();
        }
        const Found found = ScanContent(pos);
        if (Encoding(fields.lastEncoding) == GMIME_CONTENT_ENCODING_BASE64 &&
            CountBase64Characters(text_.data() + pos, static_cast<int64_t>(found.line - pos)) % 4 !=
                0) {
            result_.base64Cut = true;
        }
        return found;
    }

    // A message/rfc822 part: its own header block and tree, whose attachments stay its own.
    Found AttachedMessage(size_t pos, int depth) {
        if (!boundaries_.empty()) {
            if (pos >= text_.size()) {
                return Found{Found::kEndOfBytes, false, text_.size()};
            }
            if (const std::optional<Found> found = BoundaryAt(pos)) {
                return *found;
            }
        }
        PartFields fields;
        if (ReadHeaders(pos, fields) == HeadersEnd::InsideFieldName) {
            return Found{Found::kEndOfBytes, false, text_.size()};
        }
        const ContentType type(fields.contentType, false);
        ++insideMessages_;
        const Found found = type.Is("multipart") ? Multipart(pos, type, depth + 1)
                                                 : Leaf(pos, fields, type, depth + 1);
        --insideMessages_;
        return found;
    }

    bool IsAttachment(const PartFields& fields, const ContentType& type) const {
        if (fields.disposition) {
            GMimeContentDisposition* disposition =
                g_mime_content_disposition_parse(nullptr, fields.disposition->c_str());
            const bool attachment =
                disposition &&
                (g_mime_content_disposition_is_attachment(disposition) ||
                 g_mime_content_disposition_get_parameter(disposition, "filename") != nullptr);
            if (disposition) {
                g_object_unref(disposition);
            }
            if (attachment) {
                return true;
            }
        }
        return type.Parameter("name") != nullptr;
    }

    void CountAttachment() {
        if (insideMessages_ == 0) {
            ++result_.attachments;
        }
    }

    std::string_view text_;
    std::vector<std::string> boundaries_;  // "--" and each enclosing multipart's boundary
    int insideMessages_ = 0;
    int64_t parts_ = 0;  // parts of multiparts begun
    int64_t maxParts_;
    MimeStructure result_;
};

}  // namespace

MimeStructure ScanMimeStructure(std::string_view message, int64_t maxParts) {
    InitializeMimeLibrary();
    return StructureScanner(message, maxParts).Run();
}

}  // namespace velmor
