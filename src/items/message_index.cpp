#include "items/message_index.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "items/item_date.h"

namespace velmor {

namespace {

constexpr size_t kIdDigits = 16;
constexpr int kBitsPerDigit = 4;
constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
constexpr size_t kInitialSlots = 1024;
// Slots stay at most half used, so probe runs stay short.
constexpr size_t kMaxLoadDivisor = 2;
constexpr size_t kPrefetchDistance = 32;
// A build reports its progress, and may be abandoned, every this many entries.
constexpr size_t kProgressStep = size_t{1} << 16;
// A table larger than this is taken from the system this much at a time, with a report after
// each.
constexpr size_t kPopulateSliceBytes = size_t{32} << 20;
constexpr int kTagShift = 32;

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// The value of 16 upper-case hex digits; nothing for any other text, which no entry's id can
// equal.
std::optional<uint64_t> ParseItemId(const std::u16string& text) {
    if (text.size() != kIdDigits) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (char16_t c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = (value << kBitsPerDigit) | static_cast<uint64_t>(digit);
    }
    return value;
}

// The hash's upper half, which does not choose the slot in a table under 2^32 slots.
uint32_t TagOf(uint64_t hash) {
    return static_cast<uint32_t>(hash >> kTagShift);
}

}  // namespace

// Mixes the id's bits so that ids differing only in their low bytes spread over the slots.
uint64_t MessageIdHash(uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    return value;
}

std::u16string MessageIndexEntry::itemId() const {
    std::u16string text(kIdDigits, u'0');
    for (size_t i = 0; i < kIdDigits; ++i) {
        const int shift = static_cast<int>((kIdDigits - 1 - i) * kBitsPerDigit);
        text[i] = kHexDigits[(itemIdValue >> shift) & 0xF];
    }
    return text;
}

std::u16string MessageIndexEntry::dateText() const {
    return FormatFileTime(fileTime);
}

size_t MessageIndex::HomeSlot(uint64_t hash) const {
    return hash & (slots_.size() - 1);
}

size_t MessageIndex::SlotOf(uint64_t idValue, uint64_t hash) const {
    const size_t mask = slots_.size() - 1;
    const uint32_t tag = TagOf(hash);
    for (size_t slot = HomeSlot(hash);; slot = (slot + 1) & mask) {
        const Slot& chain = slots_[slot];
        if (chain.firstNumber == 0 ||
            (chain.tag == tag && entries_[chain.firstNumber - 1].itemIdValue == idValue)) {
            return slot;
        }
    }
}

// The entries are taken from the last to the first: each becomes the head of its id's chain,
// so that every chain runs in index order without a note of its last entry.
MessageIndex::MessageIndex(std::deque<MessageIndexEntry> entries, const BuildProgress& progress)
    : entries_(std::move(entries)) {
    if (entries_.empty()) {
        return;
    }
    const size_t count = entries_.size();
    nextSameNumber_ = ZeroedArray<uint32_t>(count);
    slots_ = ZeroedArray<Slot>(std::bit_ceil(std::max(kInitialSlots, count * kMaxLoadDivisor)));
    // Short of free memory, the system may take seconds to hand over a large table; taken a
    // slice at a time before the first entry, the build still reports as it goes.
    const size_t slotsPerSlice = kPopulateSliceBytes / sizeof(Slot);
    const size_t slices = slots_.size() > slotsPerSlice ? slots_.size() / slotsPerSlice : 0;
    const size_t total = slices * kProgressStep + count;
    for (size_t slice = 0; slice < slices; ++slice) {
        slots_.Populate(slice * slotsPerSlice, slotsPerSlice);
        if (progress && !progress((slice + 1) * kProgressStep, total)) {
            Clear();
            return;
        }
    }
    // The slot of the entry this many entries ahead is fetched from memory while the current
    // one is inserted.
    auto ahead = entries_.end();
    const auto fetchNext = [&] {
        if (ahead != entries_.begin()) {
            --ahead;
            __builtin_prefetch(&slots_[HomeSlot(MessageIdHash(ahead->itemIdValue))]);
        }
    };
    for (size_t i = 0; i < kPrefetchDistance; ++i) {
        fetchNext();
    }
    auto entry = entries_.end();
    for (size_t done = 0; done < count; ++done) {
        if (done != 0 && done % kProgressStep == 0 && progress &&
            !progress(slices * kProgressStep + done, total)) {
            Clear();
            return;
        }
        fetchNext();
        --entry;
        const uint64_t hash = MessageIdHash(entry->itemIdValue);
        const auto index = static_cast<uint32_t>(count - 1 - done);
        Slot& chain = slots_[SlotOf(entry->itemIdValue, hash)];
        if (chain.firstNumber == 0) {
            chain.tag = TagOf(hash);
        } else {
            nextSameNumber_[index] = chain.firstNumber;
        }
        chain.firstNumber = index + 1;
    }
}

uint32_t MessageIndex::FirstWithId(const std::u16string& itemId) const {
    const auto value = ParseItemId(itemId);
    if (!value || slots_.empty()) {
        return kNone;
    }
    const Slot& chain = slots_[SlotOf(*value, MessageIdHash(*value))];
    return chain.firstNumber - 1;
}

const MessageIndexEntry* MessageIndex::FindFirst(const std::u16string& itemId) const {
    const uint32_t first = FirstWithId(itemId);
    return first == kNone ? nullptr : &entries_[first];
}

void MessageIndex::Clear() {
    std::deque<MessageIndexEntry>().swap(entries_);
    nextSameNumber_ = ZeroedArray<uint32_t>();
    slots_ = ZeroedArray<Slot>();
}

}  // namespace velmor
