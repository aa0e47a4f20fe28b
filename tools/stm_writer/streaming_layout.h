#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::stm {

inline constexpr int64_t kStreamingPageSize = 4096;
// Pages are handed out in runs of 64 KiB.
inline constexpr int64_t kPagesPerRun = 16;

// Where the layout put a message.
struct LaidMessage {
    int64_t offset = 0;
    int64_t length = 0;
    // Bytes left in place when a run of the message was moved: the part before the run.
    int64_t keptLength = 0;
    bool runMoved = false;
};

// Lays messages into a streaming file the way the store does: each from a page boundary, on
// through runs of 64 KiB, with free pages (zeros) and other data between them. The bytes go
// to sink in file order.
class StreamingLayout {
public:
    using Sink = std::function<void(std::span<const uint8_t>)>;
    StreamingLayout(Sink sink, uint32_t seed);

    // endsByStructure: the message's end can be told from its bytes (the closing boundary of
    // a multipart, zero fill in its last page), so other data may follow it directly; a
    // message without that is followed by a free page or the next message. moveRun puts the
    // message's second run at the end of the file and leaves free pages in its place.
    void AddMessage(std::string_view bytes, bool endsByStructure, bool moveRun = false);
    // Writes the moved runs; the layout is complete.
    void Finish();

    const std::vector<LaidMessage>& messages() const { return messages_; }
    int64_t size() const { return offset_; }

private:
    void Write(std::span<const uint8_t> bytes);
    void WriteZeroPages(int64_t count);
    void WriteOtherData(int64_t pages);
    void Gap(bool endsByStructure);
    uint32_t Next();

    Sink sink_;
    uint64_t state_;
    int64_t offset_ = 0;
    std::vector<LaidMessage> messages_;
    std::vector<std::string> movedRuns_;
};

}  // namespace velmor::stm
