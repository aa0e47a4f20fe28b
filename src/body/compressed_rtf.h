#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmor {

// Compressed RTF as mail stores keep a body: a 16-byte header (compressed size, raw size,
// type, CRC) and either LZ77-style runs against a 4096-byte dictionary ("LZFu") or the raw
// bytes ("MELA").
struct DecompressedRtf {
    std::string rtf;
    bool known = false;      // the header named one of the two forms
    bool crcMatches = true;  // the stored CRC equals that of the compressed contents
    bool complete = true;    // the contents ended with the end marker and the raw size
};

DecompressedRtf DecompressRtf(std::span<const uint8_t> stored);

// CRC-32 (reflected 0xEDB88320) without pre- and post-inversion, as the header holds it.
uint32_t CompressedRtfCrc(std::span<const uint8_t> bytes);

// The dictionary's initial contents.
inline constexpr std::string_view kCompressedRtfPrefix =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern "
    "\\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0"
    "\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";

inline constexpr uint32_t kCompressedRtfLzfu = 0x75465A4C;
inline constexpr uint32_t kCompressedRtfMela = 0x414C454D;
inline constexpr size_t kCompressedRtfHeaderSize = 16;
inline constexpr size_t kCompressedRtfDictionarySize = 4096;

}  // namespace velmor
