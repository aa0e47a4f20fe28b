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

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Where the message being carved ends in [from, to): the first run of zeros that is
// kMinimumZeroFill long or reaches to (zero fill up to the end of the page), or to.
int64_t ZeroFillFrom(PageView view, int64_t from, int64_t to) {
    int64_t zero = view.find(0, from, to);
    while (zero >= 0) {
        int64_t runEnd = zero;
        while (runEnd < to && view.u8(runEnd) == 0) {
            ++runEnd;
        }
        if (runEnd == to || runEnd - zero >= kMinimumZeroFill) {
            return zero;
        }
        zero = view.find(0, runEnd, to);
    }
    return to;
}

// The first line start in [from, to) where an mbox "From " separator line and a header block
// start, or to: the next message of a mailbox file.
int64_t NextMboxSeparator(PageView view, int64_t from, int64_t to) {
    for (int64_t newline = view.find('\n', from, to); newline >= 0;
         newline = view.find('\n', newline + 1, to)) {
        const int64_t line = newline + 1;
        if (StartsWithMboxSeparator(view, line) && StartsHeaderBlock(view, line)) {
            return line;
        }
    }
    return to;
}

// Whether the page's bytes up to where the epilogue ends on it are text: up to the first zero,
// or, for a message of a mailbox file, up to the next "From " separator line. A mailbox file's
// epilogue, laid out without gaps, may also fill the page and go on past it.
bool EpilogueGoesOnIntoPage(PageView view, int64_t length, bool mbox) {
    const int64_t zero = view.find(0, 0, length);
    int64_t end = zero < 0 ? length : zero;
    if (mbox) {
        end = NextMboxSeparator(view, 0, end);
    }
    if (zero < 0 && end == length && !mbox) {
        return false;
    }
    for (const uint8_t c : view.bytes(0, end)) {
        if ((c < ' ' && c != '\t' && c != '\r' && c != '\n') || c == 0x7f) {
            return false;
        }
    }
    return true;
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

// The message being carved; its bytes stay in the window, from its offset on. After the
// closing boundary of its outermost multipart come the epilogue's bytes.
class OpenMessage {
public:
    OpenMessage(int64_t offset, std::string_view boundary, bool mbox)
        : offset_(offset),
          mbox_(mbox),
          delimiter_(boundary.empty() ? std::string() : "\n--" + std::string(boundary)),
          closing_(boundary.empty() ? std::string() : delimiter_ + "--") {}

    int64_t offset() const { return offset_; }
    int64_t size() const { return size_; }
    // It starts with an mbox "From " line: the next such line followed by a header block
    // starts the next message.
    bool mbox() const { return mbox_; }

    // bytes: the message's bytes so far, some of them just added.
    void Append(std::string_view bytes) {
        size_ = static_cast<int64_t>(bytes.size());
        if (!closing_.empty() && !closed_ && HasClosingLine(bytes, false)) {
            closed_ = true;
        }
    }

    // A multipart whose closing boundary has not come.
    bool openMultipart() const { return !closing_.empty() && !closed_; }
    bool closed() const { return closed_; }
    // "\n--boundary": the start of any boundary line of the outermost multipart.
    const std::string& delimiter() const { return delimiter_; }

    // bytes: the message's bytes (size() of them). reasonWhenOpen marks a multipart that is
    // not closed; a cut message is marked whatever its kind.
    CarvedMessage Finish(std::string_view bytes, const char* reasonWhenOpen, bool cut) {
        if (openMultipart() && HasClosingLine(bytes, true)) {
            closed_ = true;
        }
        CarvedMessage message;
        const size_t kept = bytes.find_last_not_of('\0');
        message.bytes = bytes.substr(0, kept == std::string_view::npos ? 0 : kept + 1);
        message.offset = offset_;
        const auto length = static_cast<int64_t>(message.bytes.size());
        message.pages =
            length == 0 ? 0 : (offset_ + length - 1) / PAGE_SIZE - offset_ / PAGE_SIZE + 1;
        if (cut || openMultipart()) {
            message.incompleteReason = reasonWhenOpen;
        }
        return message;
    }

private:
    // Whether the closing boundary's line is in bytes, searched from where the last search
    // stopped: the boundary, then only blanks up to the line end. atEnd accepts a closing
    // line whose line end is not there.
    bool HasClosingLine(std::string_view bytes, bool atEnd) {
        while (true) {
            const size_t found = FindDelimiter(bytes, searchFrom_, closing_);
            if (found == std::string_view::npos) {
                searchFrom_ =
                    bytes.size() >= closing_.size() ? bytes.size() - closing_.size() + 1 : 0;
                return false;
            }
            size_t end = found + closing_.size();
            while (end < bytes.size() && (bytes[end] == ' ' || bytes[end] == '\t')) {
                ++end;
            }
            const bool lineEnds =
                end < bytes.size() &&
                (bytes[end] == '\n' ||
                 (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n'));
            const bool mayEnd =
                end == bytes.size() || (end + 1 == bytes.size() && bytes[end] == '\r');
            if (lineEnds || (mayEnd && atEnd)) {
                return true;
            }
            if (mayEnd) {
                searchFrom_ = found;  // the line goes on in bytes not read yet
                return false;
            }
            searchFrom_ = found + 1;
        }
    }

    int64_t offset_;
    bool mbox_;
    std::string delimiter_;
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
        for (int64_t page = 0; page < source_.size(); page += limits_.alignment) {
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
        const PageView view = window_.At(page, limits_.alignment + kHeaderLookahead);
        const int64_t length = std::min<int64_t>(limits_.alignment, view.size());
        if (AllZero(view.bytes(0, length))) {
            Close(kReasonMultipartNotClosed);
            return;
        }
        // An epilogue goes on into this page only to end on it, but in a mailbox file.
        if (message_ && message_->closed() &&
            !EpilogueGoesOnIntoPage(view, length, message_->mbox())) {
            Close(kReasonMultipartNotClosed);
        }
        if (StartsHeaderBlock(view, 0) && (!message_ || TakesStart(view))) {
            Open(view, page, 0);
        }
        int64_t from = 0;
        while (from < length) {
            if (!message_) {
                const int64_t next = NextStartAfterZeroFill(view, from, length);
                if (next < length) {
                    Open(view, page, next);
                }
                from = next;
                continue;
            }
            const int64_t zeroFill = ZeroFillFrom(view, from, length);
            const int64_t end =
                message_->mbox() ? NextMboxSeparator(view, from, zeroFill) : zeroFill;
            const int64_t room = limits_.maxMessageBytes - message_->size();
            const int64_t taken = std::min(end - from, room);
            message_->Append(MessageBytes(message_->size() + taken));
            from += taken;
            if (from < end) {
                Close(kReasonSizeLimit, true);
            } else if (end < zeroFill) {
                Open(view, page, end);
            } else if (end < length) {
                Close(kReasonMultipartNotClosed);
            }
        }
    }

    // Whether a header block at a page boundary starts a message while one is open: not
    // inside the open one's header block, nor inside its multipart while a boundary line of
    // it follows within the look-ahead. The open one is then cut.
    bool TakesStart(PageView view) const {
        if (message_->closed()) {
            return true;
        }
        if (EndsInsideHeaderBlock(MessageBytes(message_->size()))) {
            return false;
        }
        if (message_->openMultipart()) {
            const std::string_view ahead = AsText(view.bytes(0, view.size()));
            if (ahead.find(message_->delimiter()) != std::string_view::npos) {
                return false;
            }
        }
        return true;
    }

    // The first length bytes of the open message, read since its start.
    std::string_view MessageBytes(int64_t length) const {
        const PageView held = window_.Held(message_->offset(), length);
        return AsText(held.bytes(0, held.size()));
    }

    void Open(PageView view, int64_t page, int64_t pos) {
        Close(kReasonMultipartNotClosed);
        message_.emplace(page + pos, OutermostBoundary(view, pos),
                         StartsWithMboxSeparator(view, pos));
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
