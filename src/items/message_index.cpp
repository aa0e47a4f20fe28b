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
// Building a whole index, the slot of the entry this many places ahead is fetched from memory
// while the current one is inserted.
constexpr size_t kPrefetchDistance = 16;

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

// Mixes the id's bits so that ids differing only in their low bytes spread over the slots.
size_t HashOf(uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    return static_cast<size_t>(value);
}

}  // namespace

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

size_t MessageIndex::SlotOf(uint64_t idValue) const {
    const size_t mask = slots_.size() - 1;
    size_t slot = HashOf(idValue) & mask;
    while (slots_[slot].first != kNone && slots_[slot].idValue != idValue) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

MessageIndex::MessageIndex(std::deque<MessageIndexEntry> entries) : entries_(std::move(entries)) {
    if (entries_.empty()) {
        return;
    }
    nextSameId_.assign(entries_.size(), kNone);
    slots_.assign(std::bit_ceil(std::max(kInitialSlots, entries_.size() * kMaxLoadDivisor)),
                  Slot{});
    const size_t mask = slots_.size() - 1;
    auto ahead = entries_.begin();
    for (size_t i = 0; i < kPrefetchDistance && ahead != entries_.end(); ++i, ++ahead) {
        __builtin_prefetch(&slots_[HashOf(ahead->itemIdValue) & mask]);
    }
    for (uint32_t index = 0; index < entries_.size(); ++index) {
        if (ahead != entries_.end()) {
            __builtin_prefetch(&slots_[HashOf(ahead->itemIdValue) & mask]);
            ++ahead;
        }
        Chain(index, slots_[SlotOf(entries_[index].itemIdValue)]);
    }
}

void MessageIndex::Reserve(size_t count) {
    while (slots_.size() < count * kMaxLoadDivisor) {
        Grow();
    }
}

void MessageIndex::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? kInitialSlots : old.size() * 2, Slot{});
    for (const Slot& chain : old) {
        if (chain.first != kNone) {
            slots_[SlotOf(chain.idValue)] = chain;
        }
    }
}

void MessageIndex::Append(const MessageIndexEntry& entry) {
    AppendAll(std::span<const MessageIndexEntry>(&entry, 1));
}

void MessageIndex::AppendAll(std::span<const MessageIndexEntry> entries) {
    while ((usedSlots_ + entries.size()) * kMaxLoadDivisor > slots_.size()) {
        Grow();
    }
    // The slots of a large index lie far apart in memory: ask for all of them before the
    // first is needed.
    const size_t mask = slots_.size() - 1;
    for (const MessageIndexEntry& entry : entries) {
        __builtin_prefetch(&slots_[HashOf(entry.itemIdValue) & mask]);
    }
    for (const MessageIndexEntry& entry : entries) {
        Insert(entry);
    }
}

void MessageIndex::Insert(const MessageIndexEntry& entry) {
    const auto index = static_cast<uint32_t>(entries_.size());
    entries_.push_back(entry);
    nextSameId_.push_back(kNone);
    Chain(index, slots_[SlotOf(entry.itemIdValue)]);
}

void MessageIndex::Chain(uint32_t index, Slot& chain) {
    if (chain.first == kNone) {
        chain = Slot{entries_[index].itemIdValue, index, index};
        ++usedSlots_;
    } else {
        nextSameId_[chain.last] = index;
        chain.last = index;
    }
}

uint32_t MessageIndex::FirstWithId(const std::u16string& itemId) const {
    const auto value = ParseItemId(itemId);
    if (!value || slots_.empty()) {
        return kNone;
    }
    return slots_[SlotOf(*value)].first;
}

const MessageIndexEntry* MessageIndex::FindFirst(const std::u16string& itemId) const {
    const uint32_t first = FirstWithId(itemId);
    return first == kNone ? nullptr : &entries_[first];
}

void MessageIndex::Clear() {
    std::deque<MessageIndexEntry>().swap(entries_);
    std::deque<uint32_t>().swap(nextSameId_);
    std::vector<Slot>().swap(slots_);
    usedSlots_ = 0;
}

}  // namespace velmor
