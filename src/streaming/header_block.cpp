#include "streaming/header_block.h"

#include <array>
#include <bit>
#include <cctype>

namespace velmor {

namespace {

constexpr std::array<std::string_view, 8> kMessageFields = {
    "received", "from", "to", "subject", "date", "message-id", "mime-version", "content-type"};
constexpr int kFieldsForAStart = 2;
// Longer names are taken for other text: the longest registered field names are under 40.
constexpr int64_t kMaxFieldNameLength = 76;

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

// Walks the fields of the header block at pos within the look-ahead. visit(name, valueFrom,
// lineEnd) sees each field's first line; it ends at the empty line, at the end of the bytes
// or the look-ahead (true), or at a line that is no field (false).
template <typename Visit>
bool WalkFields(PageView bytes, int64_t pos, const Visit& visit) {
    const int64_t limit = std::min(bytes.size(), pos + kHeaderLookahead);
    int64_t p = pos;
    bool first = true;
    while (p < limit) {
        const uint8_t c = bytes.u8(p);
        if (c == '\n' || (c == '\r' && bytes.u8(p + 1) == '\n')) {
            return !first;
        }
        int64_t valueFrom = -1;
        if (c == ' ' || c == '\t') {
            if (first) {
                return false;
            }
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
                return false;
            }
            valueFrom = nameEnd + 1;
        }
        const int64_t lineEnd = bytes.find('\n', p, limit);
        const int64_t contentEnd = lineEnd < 0 ? limit : lineEnd;
        if (bytes.find(0, p, contentEnd) >= 0) {
            return false;
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

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

}  // namespace

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

std::string OutermostBoundary(PageView bytes, int64_t pos) {
    std::string value;
    int64_t valueEnd = -1;
    WalkFields(bytes, pos, [&](std::span<const uint8_t> name, int64_t from, int64_t lineEnd) {
        if (value.empty() && EqualsIgnoringCase(name, "content-type")) {
            const auto line = bytes.bytes(from, lineEnd - from);
            value.assign(line.begin(), line.end());
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
        const auto line = bytes.bytes(p, lineEnd - p);
        value.append(line.begin(), line.end());
        p = lineEnd + 1;
    }
    const std::string lower = Lower(value);
    const size_t type = lower.find_first_not_of(" \t");
    if (type == std::string::npos || lower.compare(type, 10, "multipart/") != 0) {
        return {};
    }
    size_t at = lower.find("boundary=");
    while (at != std::string::npos && at > 0 && lower[at - 1] != ';' && lower[at - 1] != ' ' &&
           lower[at - 1] != '\t') {
        at = lower.find("boundary=", at + 1);
    }
    if (at == std::string::npos) {
        return {};
    }
    size_t begin = at + 9;
    size_t end = 0;
    if (begin < value.size() && value[begin] == '"') {
        ++begin;
        end = value.find('"', begin);
    } else {
        end = value.find_first_of("; \t\r\n", begin);
    }
    if (end == std::string::npos) {
        end = value.size();
    }
    std::string boundary = value.substr(begin, end - begin);
    while (!boundary.empty() && (boundary.back() == '\r' || boundary.back() == ' ')) {
        boundary.pop_back();
    }
    return boundary;
}

}  // namespace velmor
