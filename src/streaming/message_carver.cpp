#include "streaming/message_carver.h"

#include <cstring>
#include <optional>
#include <string>

#include "edb/edb_constants.h"
#include "streaming/header_block.h"
#include "streaming/sequential_window.h"

namespace velmor {

namespace {

// Zeros before a header block that make it a message start inside a page.
constexpr int64_t kMinimumZeroFill = 16;

bool AllZero(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kZeros[256] = {};
    size_t i = 0;
    for (; i + sizeof(kZeros) <= bytes.size(); i += sizeof(kZeros)) {
        if (std::memcmp(bytes.data() + i, kZeros, sizeof(kZeros)) != 0) {
            return false;
        }
    }
    return std::memcmp(bytes.data() + i, kZeros, bytes.size() - i) == 0;
}

// The first position in [from, to) after at least kMinimumZeroFill zeros where a header block
// starts, or to.
int64_t NextStartAfterZeroFill(PageView view, int64_t from, int64_t to) {
    int64_t zero = view.find(0, from, to);
    while (zero >= 0) {
        int64_t runEnd = zero;
        while (runEnd < to && view.u8(runEnd) == 0) {
            ++runEnd;
        }
        if (runEnd == to) {
            return to;
        }
        if (runEnd - zero >= kMinimumZeroFill && StartsHeaderBlock(view, runEnd)) {
            return runEnd;
        }
        zero = view.find(0, runEnd, to);
    }
    return to;
}

// The first position from from on where delimiter ("\n--...") lies in bytes, or npos. Base64
// text, most of a message, holds no '-': the search runs at the speed of a byte search there.
size_t FindDelimiter(const std::string& bytes, size_t from, const std::string& delimiter) {
    const char* data = bytes.data();
    size_t pos = from + 1;
    while (pos < bytes.size()) {
        const void* dash = std::memchr(data + pos, '-', bytes.size() - pos);
        if (dash == nullptr) {
            return std::string::npos;
        }
        const auto at = static_cast<size_t>(static_cast<const char*>(dash) - data) - 1;
        if (at + delimiter.size() <= bytes.size() &&
            std::memcmp(data + at, delimiter.data(), delimiter.size()) == 0) {
            return at;
        }
        pos = at + 2;
    }
    return std::string::npos;
}

// The message being carved.
class OpenMessage {
public:
    // buffer: an emptied string whose room the message reuses.
    OpenMessage(int64_t offset, std::string boundary, std::string&& buffer)
        : offset_(offset),
          closing_(boundary.empty() ? std::string() : "\n--" + boundary + "--"),
          bytes_(std::move(buffer)) {}

    int64_t offset() const { return offset_; }
    int64_t size() const { return static_cast<int64_t>(bytes_.size()); }

    // Adds bytes; the count of them that belong to the message, less than given when its
    // multipart closes among them.
    int64_t Append(std::span<const uint8_t> bytes) {
        const size_t before = bytes_.size();
        bytes_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (closing_.empty() || closed_) {
            return static_cast<int64_t>(bytes.size());
        }
        const std::optional<size_t> end = ClosingEnd(false);
        if (!end) {
            return static_cast<int64_t>(bytes.size());
        }
        closed_ = true;
        bytes_.resize(*end);
        return static_cast<int64_t>(*end - before);
    }

    bool closed() const { return closed_; }

    // reasonWhenOpen marks a multipart that is not closed; a cut message is marked whatever
    // its kind.
    CarvedMessage Finish(const char* reasonWhenOpen, bool cut) {
        if (!closing_.empty() && !closed_ && ClosingEnd(true)) {
            closed_ = true;
        }
        CarvedMessage message;
        const size_t kept = bytes_.find_last_not_of('\0');
        bytes_.resize(kept == std::string::npos ? 0 : kept + 1);
        message.offset = offset_;
        message.pages =
            bytes_.empty() ? 0 : (offset_ + size() - 1) / PAGE_SIZE - offset_ / PAGE_SIZE + 1;
        if (cut || (!closing_.empty() && !closed_)) {
            message.incompleteReason = reasonWhenOpen;
        }
        message.bytes = std::move(bytes_);
        return message;
    }

private:
    // The end of the closing boundary's line, searched from where the last search stopped;
    // atEnd accepts a boundary whose line ending is not there.
    std::optional<size_t> ClosingEnd(bool atEnd) {
        const size_t found = FindDelimiter(bytes_, searchFrom_, closing_);
        if (found == std::string::npos) {
            searchFrom_ =
                bytes_.size() >= closing_.size() ? bytes_.size() - closing_.size() + 1 : 0;
            return std::nullopt;
        }
        size_t end = found + closing_.size();
        if (end + 2 <= bytes_.size() && bytes_.compare(end, 2, "\r\n") == 0) {
            return end + 2;
        }
        if (end + 1 <= bytes_.size() && bytes_[end] == '\n') {
            return end + 1;
        }
        if (end + 1 == bytes_.size() && bytes_[end] == '\r' && !atEnd) {
            searchFrom_ = found;
            return std::nullopt;
        }
        if (end == bytes_.size() && !atEnd) {
            searchFrom_ = found;
            return std::nullopt;
        }
        return end;
    }

    int64_t offset_;
    std::string closing_;
    std::string bytes_;
    size_t searchFrom_ = 0;
    bool closed_ = false;
};

class Carver {
public:
    Carver(ByteSource& source, const CarveLimits& limits,
           const std::function<void(CarvedMessage&&)>& found, const CarveObserver& observer)
        : source_(source),
          limits_(limits),
          found_(found),
          observer_(observer),
          window_(source, limits.chunkBytes, PAGE_SIZE + kHeaderLookahead) {}

    CarveCounts Run() {
        int64_t nextReport = 0;
        for (int64_t page = 0; page < source_.size(); page += PAGE_SIZE) {
            if (page >= nextReport) {
                if (observer_.stopRequested && observer_.stopRequested()) {
                    message_.reset();
                    counts_.stopped = true;
                    break;
                }
                if (observer_.progress) {
                    observer_.progress(page, source_.size());
                }
                nextReport = page + limits_.chunkBytes;
            }
            CarvePage(page);
        }
        Close(kReasonMultipartNotClosed);
        counts_.unreadableBytes = window_.unreadableBytes();
        return counts_;
    }

private:
    void CarvePage(int64_t page) {
        const PageView view = window_.At(page, PAGE_SIZE + kHeaderLookahead);
        const int64_t length = std::min<int64_t>(PAGE_SIZE, view.size());
        if (AllZero(view.bytes(0, length))) {
            Close(kReasonMultipartNotClosed);
            return;
        }
        int64_t from = 0;
        if (StartsHeaderBlock(view, 0)) {
            Open(view, page, 0);
        }
        while (from < length) {
            const int64_t next = NextStartAfterZeroFill(view, from, length);
            if (message_) {
                const int64_t room = limits_.maxMessageBytes - message_->size();
                const int64_t taken = std::min(next - from, room);
                const int64_t kept = message_->Append(view.bytes(from, taken));
                if (message_->closed()) {
                    Close(kReasonMultipartNotClosed);
                    from += kept;
                    continue;
                }
                if (taken < next - from) {
                    Close(kReasonSizeLimit, true);
                }
            }
            if (next < length) {
                Open(view, page, next);
            }
            from = next;
        }
    }

    void Open(PageView view, int64_t page, int64_t pos) {
        Close(kReasonMultipartNotClosed);
        spare_.clear();
        message_.emplace(page + pos, OutermostBoundary(view, pos), std::move(spare_));
    }

    void Close(const char* reasonWhenOpen, bool cut = false) {
        if (!message_) {
            return;
        }
        CarvedMessage message = message_->Finish(reasonWhenOpen, cut);
        message_.reset();
        if (message.bytes.empty()) {
            spare_ = std::move(message.bytes);
            return;
        }
        ++counts_.messages;
        if (!message.incompleteReason.empty()) {
            ++counts_.incomplete;
        }
        found_(std::move(message));
        // The next message reuses the room unless found took the bytes.
        spare_ = std::move(message.bytes);
    }

    ByteSource& source_;
    const CarveLimits& limits_;
    const std::function<void(CarvedMessage&&)>& found_;
    const CarveObserver& observer_;
    SequentialWindow window_;
    std::optional<OpenMessage> message_;
    std::string spare_;
    CarveCounts counts_;
};

}  // namespace

CarveCounts CarveMessages(ByteSource& source, const CarveLimits& limits,
                          const std::function<void(CarvedMessage&&)>& found,
                          const CarveObserver& observer) {
    return Carver(source, limits, found, observer).Run();
}

}  // namespace velmor
