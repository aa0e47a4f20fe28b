#include "browse/mail_body.h"

#include <algorithm>
#include <span>
#include <vector>

#include "body/compressed_rtf.h"
#include "body/rtf_body.h"
#include "browse/column_value.h"
#include "browse/record_block_walk.h"
#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_text_decoder.h"
#include "edb/stored_value.h"
#include "edb/text_codec.h"
#include "items/record_block.h"

namespace velmor {

namespace {

// Entries walked per record block; a writer never puts more in a directory.
constexpr int kMaxBodyEntries = 80;

constexpr char16_t kNoBodyNote[] = u"This mail has no body.";
constexpr char16_t kCompressedNote[] =
    u"The body is stored compressed by a newer database engine and cannot be shown.";
constexpr char16_t kMissingValueNote[] = u"Part of the body is missing from the database.";
constexpr char16_t kCrcNote[] =
    u"The RTF body is damaged (CRC mismatch); it is shown as far as it could be read.";
constexpr char16_t kRtfSizeNote[] =
    u"The RTF body is damaged (wrong size); it is shown as far as it could be read.";
constexpr char16_t kUnknownCompressionNote[] =
    u"The RTF body is stored in an unknown compression type and cannot be shown.";
constexpr char16_t kCappedNote[] = u"The body is larger than 64 MiB and was cut there.";

void AddNote(MailBody& body, std::u16string_view note) {
    if (body.note.find(note) != std::u16string::npos) {
        return;
    }
    if (!body.note.empty()) {
        body.note += u' ';
    }
    body.note += note;
}

// The bytes of a body value, with a note on what kept them from being read whole.
ColumnValue ReadValue(ProcessingContext& context, const PageView& block, const BlockEntry& e,
                      MailBody& body) {
    ColumnValue value = ReadColumnValue(context, block, e);
    if (value.lost) {
        AddNote(body, kMissingValueNote);
    }
    if (value.compressed) {
        AddNote(body, kCompressedNote);
    }
    if (value.missingBytes != 0) {
        body.missingBytes += value.missingBytes;
        AddNote(body, kMissingValueNote);
    }
    if (value.capped) {
        AddNote(body, kCappedNote);
    }
    return value;
}

// Count of continuation bytes that a UTF-8 lead byte announces; nothing for a byte that
// cannot lead.
std::optional<size_t> Utf8Continuations(uint8_t lead) {
    if (lead < 0x80) {
        return 0;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 1;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 2;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 3;
    }
    return std::nullopt;
}

bool IsUtf8(std::span<const uint8_t> bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto extra = Utf8Continuations(bytes[i]);
        if (!extra || *extra > bytes.size() - i - 1) {
            return false;
        }
        for (size_t k = 1; k <= *extra; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        i += *extra + 1;
    }
    return true;
}

// HTML kept as bytes: UTF-8 when it reads as such, else text of the store's code page.
std::u16string HtmlBytesAsText(const std::vector<uint8_t>& bytes) {
    if (IsUtf8(bytes)) {
        return Utf8ToUtf16(std::string(bytes.begin(), bytes.end()));
    }
    return CodePageToUtf16(bytes, EightBitCodePage());
}

std::u16string GapMark(uint64_t length) {
    const std::string digits = std::to_string(length);
    return u"[\u2026 " + std::u16string(digits.begin(), digits.end()) + u" bytes missing \u2026]";
}

// Stored text with a visible mark at each run of missing bytes, so that a reader sees where
// the text breaks off instead of sentences that run into each other. The value is read as a
// whole first; each part between gaps is then taken in that reading.
std::u16string StoredTextWithGapMarks(const ColumnValue& value,
                                      std::optional<StoredTextForm> tieForm) {
    const DecodedText whole = DecodeStoredText(value.bytes, tieForm);
    if (value.gaps.empty() || whole.text.empty()) {
        return whole.text;
    }
    const bool utf16 = whole.form == StoredTextForm::Utf16;
    const auto textBytes = static_cast<uint64_t>(
        utf16
            ? 2 * whole.text.size()
            : std::find(value.bytes.begin(), value.bytes.end(), uint8_t{0}) - value.bytes.begin());
    const auto part = [&](uint64_t from, uint64_t to) {
        if (utf16) {
            return whole.text.substr(from / 2, to / 2 - from / 2);
        }
        const std::span<const uint8_t> bytes(value.bytes);
        return CodePageToUtf16(bytes.subspan(from, to - from), EightBitCodePage());
    };
    std::u16string marked;
    uint64_t from = 0;
    for (const LongValueGap& gap : value.gaps) {
        if (gap.at > textBytes) {
            break;
        }
        marked += part(from, gap.at);
        marked += GapMark(gap.length);
        from = gap.at;
    }
    return marked + part(from, textBytes);
}

// Takes what the RTF holds where the other columns left a gap.
void UseRtf(MailBody& body, const std::vector<uint8_t>& stored) {
    const DecompressedRtf decompressed = DecompressRtf(stored);
    if (!decompressed.known) {
        AddNote(body, kUnknownCompressionNote);
        return;
    }
    if (!decompressed.complete) {
        AddNote(body, kRtfSizeNote);
    }
    if (!decompressed.crcMatches) {
        AddNote(body, kCrcNote);
    }
    body.rtf = decompressed.rtf;
    RtfBody content = ReadRtfBody(decompressed.rtf);
    if (content.origin == RtfOrigin::Html) {
        if (!body.html) {
            body.html = std::move(content.text);
        }
    } else if (!body.text) {
        body.text = std::move(content.text);
    }
}

}  // namespace

const std::u16string& MailBody::best() const {
    static const std::u16string kNone;
    return html ? *html : text ? *text : kNone;
}

MailBody ReadMailBody(ProcessingContext& context, int64_t recordPosition,
                      std::optional<StoredTextForm> tieForm) {
    MailBody body;
    PageBuffer buffer{};
    const PageView block(buffer);
    if (!ReadablePosition(context.file, recordPosition) ||
        !ReadRecordBlock(context.file, recordPosition, buffer)) {
        AddNote(body, kNoBodyNote);
        return body;
    }
    const SchemaIds& schema = context.store.schema;
    std::optional<std::vector<uint8_t>> rtf;
    WalkRecordBlock(block, kMaxBodyEntries, context.stop, [&](const BlockEntry& e) {
        const bool text = schema.is(MessageColumn::S1000, e.column);
        const bool htmlBytes = schema.is(MessageColumn::N1013, e.column);
        const bool htmlText = schema.is(MessageColumn::S1013, e.column);
        const bool compressedRtf = schema.is(MessageColumn::N1009, e.column);
        if (!text && !htmlBytes && !htmlText && !compressedRtf) {
            return true;
        }
        ColumnValue value = ReadValue(context, block, e, body);
        if (!value.present) {
            return true;
        }
        if (text && !body.text) {
            body.text = StoredTextWithGapMarks(value, tieForm);
        } else if (htmlBytes && !body.html) {
            body.html = HtmlBytesAsText(value.bytes);
        } else if (htmlText && !body.html) {
            body.html = StoredTextWithGapMarks(value, tieForm);
        } else if (compressedRtf && !rtf) {
            rtf = std::move(value.bytes);
        }
        return true;
    });
    if (rtf) {
        UseRtf(body, *rtf);
    }
    if (body.empty() && body.note.empty()) {
        AddNote(body, kNoBodyNote);
    }
    return body;
}

MailBody ReadMailBodyOfItem(ProcessingContext& context, const std::u16string& itemId,
                            std::optional<StoredTextForm> tieForm) {
    MailBody found;
    bool any = false;
    context.store.messageIndex.ForEachWithId(itemId, [&](const MessageIndexEntry& entry) {
        MailBody body = ReadMailBody(context, entry.recordPosition, tieForm);
        if (!any || (found.empty() && !body.empty())) {
            found = std::move(body);
            any = true;
        }
        return found.empty();
    });
    if (!any) {
        AddNote(found, kNoBodyNote);
    }
    return found;
}

}  // namespace velmor
