#include "edb_writer/rtf_compressor.h"

#include <array>

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

constexpr std::string_view kDictionaryPrefix =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern "
    "\\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0"
    "\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
constexpr size_t kDictionarySize = 4096;
constexpr size_t kShortestMatch = 2;
constexpr size_t kLongestMatch = 17;
constexpr uint32_t kLzfu = 0x75465A4C;
constexpr uint32_t kMela = 0x414C454D;
constexpr uint32_t kHeaderAfterSizeField = 12;

uint32_t Crc(const std::vector<uint8_t>& bytes) {
    uint32_t crc = 0;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    return crc;
}

std::vector<uint8_t> WithHeader(uint32_t type, size_t rawSize, const std::vector<uint8_t>& body,
                                uint32_t crc) {
    ByteWriter out;
    out.U32(static_cast<uint32_t>(body.size() + kHeaderAfterSizeField));
    out.U32(static_cast<uint32_t>(rawSize));
    out.U32(type);
    out.U32(crc);
    out.Bytes(body);
    return out.Take();
}

// The dictionary as the reader keeps it, with the longest match search of the writer.
class Dictionary {
public:
    Dictionary() {
        for (size_t i = 0; i < kDictionaryPrefix.size(); ++i) {
            bytes_[i] = static_cast<uint8_t>(kDictionaryPrefix[i]);
        }
    }

    size_t write() const { return write_; }

    // Longest run of the input from pos that a reference can copy; its offset and length.
    std::pair<size_t, size_t> LongestMatch(std::string_view input, size_t pos) const {
        const size_t valid = std::min(kDictionarySize, filled_);
        size_t bestOffset = 0;
        size_t bestLength = 0;
        for (size_t offset = 0; offset < valid; ++offset) {
            // A reference to the write position marks the end of the data.
            if (offset == write_ || bytes_[offset] != static_cast<uint8_t>(input[pos])) {
                continue;
            }
            size_t length = 0;
            while (length < kLongestMatch && pos + length < input.size() &&
                   ByteCopied(input, pos, offset, length) ==
                       static_cast<uint8_t>(input[pos + length])) {
                ++length;
            }
            if (length > bestLength) {
                bestLength = length;
                bestOffset = offset;
            }
        }
        return {bestOffset, bestLength};
    }

    void Put(uint8_t byte) {
        bytes_[write_] = byte;
        write_ = (write_ + 1) % kDictionarySize;
        ++filled_;
    }

private:
    // The byte that copying from offset yields as the i-th byte, counting the bytes that the
    // copy itself writes before it.
    uint8_t ByteCopied(std::string_view input, size_t pos, size_t offset, size_t i) const {
        const size_t at = (offset + i) % kDictionarySize;
        const size_t sinceWrite = (at + kDictionarySize - write_) % kDictionarySize;
        if (sinceWrite < i) {
            return static_cast<uint8_t>(input[pos + sinceWrite]);
        }
        return bytes_[at];
    }

    std::array<uint8_t, kDictionarySize> bytes_{};
    size_t write_ = kDictionaryPrefix.size();
    size_t filled_ = kDictionaryPrefix.size();
};

}  // namespace

std::vector<uint8_t> CompressRtf(std::string_view rtf) {
    Dictionary dictionary;
    std::vector<uint8_t> body;
    size_t control = 0;
    int bit = 8;
    auto startToken = [&](bool reference) {
        if (bit == 8) {
            control = body.size();
            body.push_back(0);
            bit = 0;
        }
        if (reference) {
            body[control] = static_cast<uint8_t>(body[control] | (1 << bit));
        }
        ++bit;
    };
    auto putReference = [&](size_t offset, size_t length) {
        const auto word = static_cast<uint16_t>((offset << 4) | (length - kShortestMatch));
        body.push_back(static_cast<uint8_t>(word >> 8));
        body.push_back(static_cast<uint8_t>(word));
    };
    size_t pos = 0;
    while (pos < rtf.size()) {
        const auto [offset, length] = dictionary.LongestMatch(rtf, pos);
        if (length >= kShortestMatch) {
            startToken(true);
            putReference(offset, length);
            for (size_t i = 0; i < length; ++i) {
                dictionary.Put(static_cast<uint8_t>(rtf[pos + i]));
            }
            pos += length;
        } else {
            startToken(false);
            body.push_back(static_cast<uint8_t>(rtf[pos]));
            dictionary.Put(static_cast<uint8_t>(rtf[pos]));
            ++pos;
        }
    }
    startToken(true);
    putReference(dictionary.write(), kShortestMatch);
    return WithHeader(kLzfu, rtf.size(), body, Crc(body));
}

std::vector<uint8_t> StoreRtfUncompressed(std::string_view rtf) {
    return WithHeader(kMela, rtf.size(), std::vector<uint8_t>(rtf.begin(), rtf.end()), 0);
}

}  // namespace velmor::testdb
