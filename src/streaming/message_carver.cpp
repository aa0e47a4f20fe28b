#include "streaming/message_carver.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

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
size_t FindDelimiter(std::string_view bytes, size_t from, std::string_view delimiter) {
    const char* data = bytes.data();
    size_t pos = from + 1;
    while (pos < bytes.size()) {
        const void* dash = std::memchr(data + pos, '-', bytes.size() - pos);
        if (dash == nullptr) {
            return std::string_view::npos;
        }
        const auto at = static_cast<size_t>(static_cast<const char*>(dash) - data) - 1;
        if (bytes.substr(at).starts_with(delimiter)) {
            return at;
        }
        pos = at + 2;
    }
    return std::string_view::npos;
}

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The message being carved; its bytes stay in the window, from its offset on.
class OpenMessage {
public:
    OpenMessage(int64_t offset, std::string_view boundary)
        : offset_(offset),
          closing_(boundary.empty() ? std::string() : "\n--" + std::string(boundary) + "--") {}

    int64_t offset() const { return offset_; }
    int64_t size() const { return size_; }

    // Takes the added bytes that end bytes, the message's bytes so far; the count of them
    // that belong to the message, less than added when its multipart closes among them.
    int64_t Append(std::string_view bytes, int64_t added) {
        const int64_t before = size_;
        size_ = static_cast<int64_t>(bytes.size());
        if (closing_.empty() || closed_) {
            return added;
        }
        const std::optional<size_t> end = ClosingEnd(bytes, false);
        if (!end) {
            return added;
        }
        closed_ = true;
        size_ = static_cast<int64_t>(*end);
        return size_ - before;
    }

    bool closed() const { return closed_; }

    // bytes: the message's bytes (size() of them). reasonWhenOpen marks a multipart that is
    // not closed; a cut message is marked whatever its kind.
    CarvedMessage Finish(std::string_view bytes, const char* reasonWhenOpen, bool cut) {
        if (!closing_.empty() && !closed_ && ClosingEnd(bytes, true)) {
            closed_ = true;
        }
        CarvedMessage message;
        const size_t kept = bytes.find_last_not_of('\0');
        message.bytes = bytes.substr(0, kept == std::string_view::npos ? 0 : kept + 1);
        message.offset = offset_;
        const auto length = static_cast<int64_t>(message.bytes.size());
        message.pages =
            length == 0 ? 0 : (offset_ + length - 1) / PAGE_SIZE - offset_ / PAGE_SIZE + 1;
        if (cut || (!closing_.empty() && !closed_)) {
            message.incompleteReason = reasonWhenOpen;
        }
        return message;
    }

private:
    // The end of the closing boundary's line, searched from where the last search stopped;
    // atEnd accepts a boundary whose line ending is not there.
    std::optional<size_t> ClosingEnd(std::string_view bytes, bool atEnd) {
        const size_t found = FindDelimiter(bytes, searchFrom_, closing_);
        if (found == std::string_view::npos) {
            searchFrom_ = bytes.size() >= closing_.size() ? bytes.size() - closing_.size() + 1 : 0;
            return std::nullopt;
        }
        size_t end = found + closing_.size();
        if (bytes.substr(end).starts_with("\r\n")) {
            return end + 2;
        }
        if (end + 1 <= bytes.size() && bytes[end] == '\n') {
            return end + 1;
        }
        if (end + 1 == bytes.size() && bytes[end] == '\r' && !atEnd) {
            searchFrom_ = found;
            return std::nullopt;
        }
        if (end == bytes.size() && !atEnd) {
            searchFrom_ = found;
            return std::nullopt;
        }
        return end;
    }

    int64_t offset_;
    std::string closing_;
    int64_t size_ = 0;
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
          window_(source, limits.chunkBytes) {}

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
            window_.KeepFrom(message_ ? message_->offset() : page);
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
                const int64_t kept =
                    message_->Append(MessageBytes(message_->size() + taken), taken);
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

    // The first length bytes of the open message, read since its start.
    std::string_view MessageBytes(int64_t length) const {
        const PageView held = window_.Held(message_->offset(), length);
        return AsText(held.bytes(0, held.size()));
    }

    void Open(PageView view, int64_t page, int64_t pos) {
        Close(kReasonMultipartNotClosed);
        message_.emplace(page + pos, OutermostBoundary(view, pos));
    }

    void Close(const char* reasonWhenOpen, bool cut = false) {
        if (!message_) {
            return;
        }
        CarvedMessage message =
            message_->Finish(MessageBytes(message_->size()), reasonWhenOpen, cut);
        message_.reset();
        if (message.bytes.empty()) {
            return;
        }
        ++counts_.messages;
        if (!message.incompleteReason.empty()) {
            ++counts_.incomplete;
        }
        found_(std::move(message));
    }

    ByteSource& source_;
    const CarveLimits& limits_;
    const std::function<void(CarvedMessage&&)>& found_;
    const CarveObserver& observer_;
    SequentialWindow window_;
    std::optional<OpenMessage> message_;
    CarveCounts counts_;
};

}  // namespace

CarveCounts CarveMessages(ByteSource& source, const CarveLimits& limits,
                          const std::function<void(CarvedMessage&&)>& found,
                          const CarveObserver& observer) {
    return Carver(source, limits, found, observer).Run();
}

}  // namespace velmor
