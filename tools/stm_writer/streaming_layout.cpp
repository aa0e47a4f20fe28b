#include "stm_writer/streaming_layout.h"

#include <algorithm>

namespace velmor::stm {

namespace {

constexpr int64_t kRunBytes = kStreamingPageSize * kPagesPerRun;
constexpr std::string_view kOtherText =
    "Free text that belongs to no message: a log line, a note; nothing of it starts a "
    "header block.\r\n";
constexpr std::string_view kOtherXml =
    "<?xml version=\"1.0\"?>\n<item id=\"7\"><name>note</name><value>42</value></item>\n";

}  // namespace

StreamingLayout::StreamingLayout(Sink sink, uint32_t seed)
    : sink_(std::move(sink)), state_(seed * 2654435761u + 7) {}

uint32_t StreamingLayout::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 16);
}

void StreamingLayout::Write(std::span<const uint8_t> bytes) {
    sink_(bytes);
    offset_ += static_cast<int64_t>(bytes.size());
}

void StreamingLayout::WriteZeroPages(int64_t count) {
    static const std::vector<uint8_t> kZeroPage(kStreamingPageSize, 0);
    for (int64_t i = 0; i < count; ++i) {
        Write(kZeroPage);
    }
}

void StreamingLayout::WriteOtherData(int64_t pages) {
    std::vector<uint8_t> page(kStreamingPageSize);
    for (int64_t i = 0; i < pages; ++i) {
        const uint32_t kind = Next() % 3;
        if (kind == 0) {
            for (uint8_t& byte : page) {
                byte = static_cast<uint8_t>(Next() | 1);  // binary, with no zero fill in it
            }
        } else {
            const std::string_view text = kind == 1 ? kOtherText : kOtherXml;
            for (size_t j = 0; j < page.size(); ++j) {
                page[j] = static_cast<uint8_t>(text[j % text.size()]);
            }
        }
        Write(page);
    }
}

void StreamingLayout::AddMessage(std::string_view bytes, bool endsByStructure, bool moveRun) {
    LaidMessage laid;
    laid.offset = offset_;
    laid.length = static_cast<int64_t>(bytes.size());
    laid.keptLength = laid.length;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    // The message fills the rest of the run it starts in, then whole runs.
    const int64_t firstRun = kRunBytes - offset_ % kRunBytes;
    if (moveRun && laid.length > firstRun) {
        const int64_t runLength = std::min(kRunBytes, laid.length - firstRun);
        Write({data, static_cast<size_t>(firstRun)});
        movedRuns_.emplace_back(bytes.substr(firstRun, runLength));
        WriteZeroPages(kPagesPerRun);
        Write(
            {data + firstRun + runLength, static_cast<size_t>(laid.length - firstRun - runLength)});
        laid.keptLength = firstRun;
        laid.runMoved = true;
    } else {
        Write({data, bytes.size()});
    }
    // The last page's tail is zero fill.
    const int64_t tail = (kStreamingPageSize - offset_ % kStreamingPageSize) % kStreamingPageSize;
    static const std::vector<uint8_t> kZeros(kStreamingPageSize, 0);
    Write({kZeros.data(), static_cast<size_t>(tail)});
    messages_.push_back(laid);
    Gap(endsByStructure && !laid.runMoved);
}

void StreamingLayout::Gap(bool endsByStructure) {
    switch (Next() % 4) {
        case 0:  // the next message on the next page
            break;
        case 1:  // free pages
            WriteZeroPages(1 + Next() % 3);
            break;
        case 2:  // other data, after a free page unless the message's end is its structure
            if (!endsByStructure) {
                WriteZeroPages(1);
            }
            WriteOtherData(1 + Next() % 3);
            break;
        default:  // the rest of the run free
            WriteZeroPages((kRunBytes - offset_ % kRunBytes) / kStreamingPageSize);
            break;
    }
}

void StreamingLayout::Finish() {
    for (const std::string& run : movedRuns_) {
        // A free page keeps the moved run from joining the message before it.
        WriteZeroPages(1);
        Write({reinterpret_cast<const uint8_t*>(run.data()), run.size()});
        const int64_t tail =
            (kStreamingPageSize - offset_ % kStreamingPageSize) % kStreamingPageSize;
        static const std::vector<uint8_t> kZeros(kStreamingPageSize, 0);
        Write({kZeros.data(), static_cast<size_t>(tail)});
    }
    movedRuns_.clear();
}

}  // namespace velmor::stm
