#include "items/message_index.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <optional>
#include <thread>

#include "items/item_date.h"

namespace velmor {

namespace {

constexpr size_t kIdDigits = 16;
constexpr int kBitsPerDigit = 4;
constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
constexpr size_t kInitialSlots = 1024;
// Slots stay at most half used, so probe runs stay short.
constexpr size_t kMaxLoadDivisor = 2;
constexpr size_t kPrefetchDistance = 16;
// A whole index's build reports its progress, and may be abandoned, every this many entries.
constexpr uint32_t kProgressStep = 1 << 16;
constexpr int kHashBits = 64;
// A whole index's table is split into at most this many regions, each filled by a thread.
constexpr unsigned kMaxRegions = 8;
// A region may be fuller than the whole table, up to three quarters, before its ids are taken
// as crowded.
constexpr size_t kRegionFullNumerator = 3;
constexpr size_t kRegionFullDenominator = 4;

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

size_t MessageIndex::HomeSlot(uint64_t idValue) const {
    const size_t hash = MessageIdHash(idValue);
    const size_t regionSize = slots_.size() >> regionBits_;
    const size_t region = regionBits_ == 0 ? 0 : hash >> (kHashBits - regionBits_);
    return region * regionSize + (hash & (regionSize - 1));
}

size_t MessageIndex::SlotOf(uint64_t idValue) const {
    const size_t regionMask = (slots_.size() >> regionBits_) - 1;
    const size_t home = HomeSlot(idValue);
    const size_t base = home & ~regionMask;
    size_t slot = home;
    while (slots_[slot].first != kNone && slots_[slot].idValue != idValue) {
        slot = base | ((slot + 1) & regionMask);
    }
    return slot;
}

MessageIndex::MessageIndex(std::deque<MessageIndexEntry> entries, unsigned threads,
                           const BuildProgress& progress)
    : entries_(std::move(entries)) {
    if (entries_.empty()) {
        return;
    }
    nextSameId_.assign(entries_.size(), kNone);
    slots_.assign(std::bit_ceil(std::max(kInitialSlots, entries_.size() * kMaxLoadDivisor)),
                  Slot{});
    regionBits_ = static_cast<unsigned>(std::bit_width(std::clamp(threads, 1U, kMaxRegions))) - 1;
    FillOutcome outcome = FillRegions(progress);
    if (outcome == FillOutcome::Crowded) {
        // Ids crowded into one region: one region, the whole table, takes them all.
        std::fill(slots_.begin(), slots_.end(), Slot{});
        std::fill(nextSameId_.begin(), nextSameId_.end(), kNone);
        regionBits_ = 0;
        outcome = FillRegions(progress);
    }
    if (outcome == FillOutcome::Abandoned) {
        Clear();
    }
}

MessageIndex::FillOutcome MessageIndex::FillRegions(const BuildProgress& progress) {
    const size_t regions = size_t{1} << regionBits_;
    const size_t regionLimit =
        (slots_.size() >> regionBits_) * kRegionFullNumerator / kRegionFullDenominator;
    std::vector<size_t> used(regions, 0);
    std::atomic<bool> crowded = false;
    std::atomic<bool> abandoned = false;
    const auto fill = [&](size_t region) {
        const auto inRegion = [&](const MessageIndexEntry& entry) {
            return regionBits_ == 0 ||
                   MessageIdHash(entry.itemIdValue) >> (kHashBits - regionBits_) == region;
        };
        // The slot of the region's entry this many entries ahead is fetched from memory while
        // the current one is inserted.
        auto ahead = entries_.begin();
        const auto fetchNext = [&] {
            for (; ahead != entries_.end(); ++ahead) {
                if (inRegion(*ahead)) {
                    __builtin_prefetch(&slots_[HomeSlot(ahead->itemIdValue)]);
                    ++ahead;
                    return;
                }
            }
        };
        for (size_t i = 0; i < kPrefetchDistance; ++i) {
            fetchNext();
        }
        for (uint32_t index = 0; index < entries_.size(); ++index) {
            if (index != 0 && index % kProgressStep == 0) {
                // The first region's thread is the caller's: it reports and asks whether to go
                // on; every thread ends soon after a region is crowded or the build abandoned.
                if (region == 0 && progress && !progress(index, entries_.size())) {
                    abandoned = true;
                }
                if (crowded || abandoned) {
                    return;
                }
            }
            if (!inRegion(entries_[index])) {
                continue;
            }
            fetchNext();
            Slot& chain = slots_[SlotOf(entries_[index].itemIdValue)];
            if (chain.first == kNone && ++used[region] > regionLimit) {
                crowded = true;
                return;
            }
            Chain(index, chain);
        }
    };
    std::vector<std::thread> others;
    for (size_t region = 1; region < regions; ++region) {
        others.emplace_back(fill, region);
    }
    fill(0);
    for (std::thread& other : others) {
        other.join();
    }
    usedSlots_ = 0;
    for (size_t count : used) {
        usedSlots_ += count;
    }
    if (abandoned) {
        return FillOutcome::Abandoned;
    }
    return crowded ? FillOutcome::Crowded : FillOutcome::Filled;
}

void MessageIndex::Reserve(size_t count) {
    while (slots_.size() < count * kMaxLoadDivisor) {
        Rehash(slots_.empty() ? kInitialSlots : slots_.size() * 2);
    }
}

void MessageIndex::Rehash(size_t slotCount) {
    auto old = std::move(slots_);
    slots_.assign(slotCount, Slot{});
    regionBits_ = 0;
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
    // An index built whole may have regions, which entries appended one by one could crowd.
    if (regionBits_ != 0) {
        Rehash(slots_.size());
    }
    while ((usedSlots_ + entries.size()) * kMaxLoadDivisor > slots_.size()) {
        Rehash(slots_.empty() ? kInitialSlots : slots_.size() * 2);
    }
    // The slots of a large index lie far apart in memory: ask for all of them before the
    // first is needed.
    for (const MessageIndexEntry& entry : entries) {
        __builtin_prefetch(&slots_[HomeSlot(entry.itemIdValue)]);
    }
    for (const MessageIndexEntry& entry : entries) {
        Insert(entry);
    }
}

void MessageIndex::Insert(const MessageIndexEntry& entry) {
    const auto index = static_cast<uint32_t>(entries_.size());
    entries_.push_back(entry);
    nextSameId_.push_back(kNone);
    if (Chain(index, slots_[SlotOf(entry.itemIdValue)])) {
        ++usedSlots_;
    }
}

bool MessageIndex::Chain(uint32_t index, Slot& chain) {
    if (chain.first == kNone) {
        chain = Slot{entries_[index].itemIdValue, index, index};
        return true;
    }
    nextSameId_[chain.last] = index;
    chain.last = index;
    return false;
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
    decltype(slots_)().swap(slots_);
    usedSlots_ = 0;
    regionBits_ = 0;
}

}  // namespace velmor
