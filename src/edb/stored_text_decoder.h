#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmor {

// How a stored text value was read.
enum class StoredTextForm { Utf16, EightBit };

// What a stored value's bytes allow it to be: text only as UTF-16, only as 8-bit text, both
// (a tie the value cannot settle itself), or neither.
enum class AllowedForms { Utf16, EightBit, Both, Neither };
AllowedForms FormsAllowed(std::span<const uint8_t> bytes);

struct DecodedText {
    std::u16string text;
    StoredTextForm form = StoredTextForm::EightBit;
    AllowedForms allowed = AllowedForms::Neither;  // filled by DecodeStoredTextNotingForms only
};

// A stored text value, UTF-16LE or 8-bit text in the store's code page, decided by the whole
// value:
// - a first byte that is not 0 followed by a 0 (a first character below U+0100) is UTF-16;
// - a first byte of 0 is 8-bit text that is empty, unless the value reads as UTF-16 text
//   (ReadsAsUtf16Text) whose first character is U+xx00;
// - otherwise the value is UTF-16 when it reads as UTF-16 text (ReadsAsUtf16Text) and either
//   does not read as 8-bit text (ReadsAsEightBitText) or, fitting both readings, uses Latin and
//   at most two other scripts (UsesFewScripts) and holds a byte that is not printable ASCII;
//   else it is 8-bit text.
// UTF-16 takes the first size / 2 code units and ends at the first zero unit; 8-bit text ends
// at the first zero byte.
DecodedText DecodeStoredText(std::span<const uint8_t> bytes);

// The same, with a value both readings allow taking tieForm (the form of the certain values of
// its column or mailbox) when there is one.
DecodedText DecodeStoredText(std::span<const uint8_t> bytes, std::optional<StoredTextForm> tieForm);

// The same, also telling what the bytes allow (FormsAllowed) from the readings the decision
// makes anyway: a column's evidence costs no second reading of its values.
DecodedText DecodeStoredTextNotingForms(std::span<const uint8_t> bytes,
                                        std::optional<StoredTextForm> tieForm);

// Up to its first zero code unit the value is whole UTF-16LE (an odd last byte only when it is
// 0, surrogates paired) of characters a name or body can hold: no control other than tab and
// line breaks, no private-use, unassigned or non-character code point, no presentation forms,
// and of ideographs and Korean syllables only those of the national standard sets.
bool ReadsAsUtf16Text(std::span<const uint8_t> bytes);

// The text's letters come from Latin and at most two other writing systems (Chinese, Japanese
// and Korean count as one).
bool UsesFewScripts(std::u16string_view text);

// Up to its first zero byte the value has no control byte other than tab and line breaks, and
// only zeros follow that byte.
bool ReadsAsEightBitText(std::span<const uint8_t> bytes);

}  // namespace velmor
