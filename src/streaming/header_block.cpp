#include "streaming/header_block.h"

#include <gmime/gmime.h>

#include <array>
#include <bit>
#include <cctype>

#include "streaming/mime_library.h"

namespace velmor {

namespace {

constexpr std::array<std::string_view, 8> kMessageFields = {
    "received", "from", "to", "subject", "date", "message-id", "mime-version", "content-type"};
constexpr int kFieldsForAStart = 2;
// Longer names are taken for other text: the longest registered field names are under 40.
constexpr int64_t kMaxFieldNameLength = 76;
constexpr std::string_view kMultipartType = "multipart/";
constexpr std::string_view kMboxSeparator = "From ";
// An mbox separator line ("From sender date") longer than this is other text.
constexpr int64_t kMaxSeparatorLine = 1000;

// Whether an mbox "From " line, or its ">From " escaped form, starts at pos.
bool StartsWithEnvelopeLine(PageView bytes, int64_t pos) {
    while (bytes.u8(pos) == '>') {
        ++pos;
    }
    return StartsWithMboxSeparator(bytes, pos);
}

bool IsFieldNameChar(uint8_t c) {
    return c > ' ' && c < 0x7f && c != ':';
}

bool EqualsIgnoringCase(std::span<const uint8_t> name, std::string_view lower) {
    if (name.size() != lower.size()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        if (std::tolower(name[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

// Past the mbox "From " separator line at pos, or pos when there is none.
int64_t SkipMboxSeparator(PageView bytes, int64_t pos) {
    if (!StartsWithMboxSeparator(bytes, pos)) {
        return pos;
    }
    const int64_t lineEnd = bytes.find('\n', pos, std::min(bytes.size(), pos + kMaxSeparatorLine));
    return lineEnd < 0 || bytes.find(0, pos, lineEnd) >= 0 ? pos : lineEnd + 1;
}

// Walks the fields of the header block at pos (after its mbox separator line, if any) within
// the look-ahead. visit(name, valueFrom, lineEnd) sees each field's first line. It ends after
// at least one field (true) at the empty line, at a line that is no field (the body starting
// without its empty line), at zero fill, or at the end of the bytes or the look-ahead; on a
// first line that is no field it is false. An mbox "From " line after the first field (mail
// programs that annotate a mailbox put fields such as Replied: before it) stays in the block,
// as Python's email package reads it.
template <typename Visit>
bool WalkFields(PageView bytes, int64_t pos, const Visit& visit) {
    const int64_t limit = std::min(bytes.size(), pos + kHeaderLookahead);
    int64_t p = SkipMboxSeparator(bytes, pos);
    bool first = true;
    while (p < limit) {
        const uint8_t c = bytes.u8(p);
        if (c == '\n' || c == 0 || (c == '\r' && bytes.u8(p + 1) == '\n')) {
            return !first;
        }
        int64_t valueFrom = -1;
        if (c == ' ' || c == '\t') {
            if (first) {
                return false;
            }
        } else if (!first && StartsWithEnvelopeLine(bytes, p)) {
            // Not a field: nothing to visit.
        } else {
            // The name first, so that a long line of other text is turned down at once.
            const int64_t nameLimit = std::min(limit, p + kMaxFieldNameLength + 1);
            int64_t nameEnd = p;
            while (nameEnd < nameLimit && IsFieldNameChar(bytes.u8(nameEnd))) {
                ++nameEnd;
            }
            if (nameEnd == limit) {
                return !first;  // a field cut by the look-ahead still counts as one
            }
            if (nameEnd == p || bytes.u8(nameEnd) != ':') {
                return !first;
            }
            valueFrom = nameEnd + 1;
        }
        const int64_t lineEnd = bytes.find('\n', p, limit);
        const int64_t contentEnd = lineEnd < 0 ? limit : lineEnd;
        if (bytes.find(0, p, contentEnd) >= 0) {
            return !first;
        }
        if (valueFrom >= 0) {
            visit(bytes.bytes(p, valueFrom - 1 - p), valueFrom, contentEnd);
        }
        first = false;
        if (lineEnd < 0) {
            return true;
        }
        p = lineEnd + 1;
    }
    return !first;
}

// Appends a line of a field's value without its line ending; zeros, which would end the
// value early for the MIME library, are left out.
void AppendLine(std::span<const uint8_t> line, std::string& value) {
    for (const uint8_t c : line) {
        if (c != '\r' && c != 0) {
            value += static_cast<char>(c);
        }
    }
}

}  // namespace

bool StartsWithMboxSeparator(PageView bytes, int64_t pos) {
    for (size_t i = 0; i < kMboxSeparator.size(); ++i) {
        if (bytes.u8(pos + static_cast<int64_t>(i)) != kMboxSeparator[i]) {
            return false;
        }
    }
    return true;
}

bool StartsHeaderBlock(PageView bytes, int64_t pos) {
    unsigned seen = 0;
    const bool fields =
        WalkFields(bytes, pos, [&](std::span<const uint8_t> name, int64_t, int64_t) {
            for (size_t i = 0; i < kMessageFields.size(); ++i) {
                if (EqualsIgnoringCase(name, kMessageFields[i])) {
                    seen |= 1u << i;
                }
            }
        });
    return fields && std::popcount(seen) >= kFieldsForAStart;
}

bool EndsInsideHeaderBlock(std::string_view bytes) {
    const size_t floor =
        bytes.size() > static_cast<size_t>(kHeaderLookahead) ? bytes.size() - kHeaderLookahead : 0;
    size_t end = bytes.size();
    bool lastLine = true;  // the line the bytes end in, maybe cut
    bool fieldSeen = false;
    while (true) {
        const size_t newline = end == 0 ? std::string_view::npos : bytes.rfind('\n', end - 1);
        const size_t start = newline == std::string_view::npos ? 0 : newline + 1;
        if (start < floor) {
            return false;
        }
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            // An empty line: a header block ends here, or one starts after it.
            if (!lastLine) {
                return fieldSeen;
            }
        } else if (line[0] == ' ' || line[0] == '\t') {
            fieldSeen = true;
        } else {
            size_t name = 0;
            while (name < line.size() && name <= static_cast<size_t>(kMaxFieldNameLength) &&
                   IsFieldNameChar(static_cast<uint8_t>(line[name]))) {
                ++name;
            }
            const bool field = name > 0 && name < line.size() && line[name] == ':';
            const bool cutName = lastLine && name == line.size();
            const bool separator = start == 0 && line.starts_with(kMboxSeparator);
            if (!field && !cutName && !separator) {
                return false;
            }
            fieldSeen = true;
        }
        if (start == 0) {
            return fieldSeen;
        }
        lastLine = false;
        end = newline;
    }
}

std::string OutermostBoundary(PageView bytes, int64_t pos) {
    std::string value;
    int64_t valueEnd = -1;
    WalkFields(bytes, pos, [&](std::span<const uint8_t> name, int64_t from, int64_t lineEnd) {
        if (valueEnd < 0 && EqualsIgnoringCase(name, "content-type")) {
            AppendLine(bytes.bytes(from, lineEnd - from), value);
            valueEnd = lineEnd;
        }
    });
    if (valueEnd < 0) {
        return {};
    }
    // Continuation lines of the field follow its first line.
    const int64_t limit = std::min(bytes.size(), pos + kHeaderLookahead);
    int64_t p = valueEnd + 1;
    while (p < limit && (bytes.u8(p) == ' ' || bytes.u8(p) == '\t')) {
        int64_t lineEnd = bytes.find('\n', p, limit);
        if (lineEnd < 0) {
            lineEnd = limit;
        }
        AppendLine(bytes.bytes(p, lineEnd - p), value);
        p = lineEnd + 1;
    }
    // Most messages are no multipart: the library's reading is left to those that are.
    const size_t media = value.find_first_not_of(" \t");
    if (media == std::string::npos ||
        g_ascii_strncasecmp(value.c_str() + media, kMultipartType.data(), kMultipartType.size()) !=
            0) {
        return {};
    }
    // The MIME library reads the parameters as the message's reader will, RFC 2231
    // continuations and charsets included.
    InitializeMimeLibrary();
    GMimeContentType* type = g_mime_content_type_parse(nullptr, value.c_str());
    if (type == nullptr) {
        return {};
    }
    std::string boundary;
    if (g_ascii_strcasecmp(g_mime_content_type_get_media_type(type), "multipart") == 0) {
        if (const char* parameter = g_mime_content_type_get_parameter(type, "boundary")) {
            boundary = parameter;
        }
    }
    g_object_unref(type);
    return boundary;
}

}  // namespace velmor
