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
constexpr size_t kProgressStep = 1 << 16;
constexpr int kHashBits = 64;
constexpr int kTagShift = 32;
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

// The hash's upper half: in a table under 2^32 slots, only its top bits, the region's,
// take part in choosing the slot.
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
    const size_t regionSize = slots_.size() >> regionBits_;
    const size_t region = regionBits_ == 0 ? 0 : hash >> (kHashBits - regionBits_);
    return region * regionSize + (hash & (regionSize - 1));
}

size_t MessageIndex::SlotOf(uint64_t idValue, uint64_t hash) const {
    const size_t regionMask = (slots_.size() >> regionBits_) - 1;
    const size_t home = HomeSlot(hash);
    const size_t base = home & ~regionMask;
    const uint32_t tag = TagOf(hash);
    size_t slot = home;
    for (;;) {
        const Slot& chain = slots_[slot];
        if (chain.firstNumber == 0 ||
            (chain.tag == tag && entries_[chain.firstNumber - 1].itemIdValue == idValue)) {
            return slot;
        }
        slot = base | ((slot + 1) & regionMask);
    }
}

MessageIndex::MessageIndex(std::deque<MessageIndexEntry> entries, unsigned threads,
                           const BuildProgress& progress)
    : entries_(std::move(entries)) {
    if (entries_.empty()) {
        return;
    }
    // Every entry's link is written by the build.
    nextSameId_ = std::make_unique_for_overwrite<uint32_t[]>(entries_.size());
    const size_t slotCount =
        std::bit_ceil(std::max(kInitialSlots, entries_.size() * kMaxLoadDivisor));
    slots_ = ZeroedArray<Slot>(slotCount);
    regionBits_ = static_cast<unsigned>(std::bit_width(std::clamp(threads, 1U, kMaxRegions))) - 1;
    FillOutcome outcome = FillRegions(progress);
    if (outcome == FillOutcome::Crowded) {
        // Ids crowded into one region: one region, the whole table, takes them all.
        slots_ = ZeroedArray<Slot>(slotCount);
        regionBits_ = 0;
        outcome = FillRegions(progress);
    }
    if (outcome == FillOutcome::Abandoned) {
        Clear();
    }
}

// The entries are taken from the last to the first: each becomes the head of its id's chain,
// so that every chain runs in index order without a note of its last entry.
MessageIndex::FillOutcome MessageIndex::FillRegions(const BuildProgress& progress) {
    const size_t regions = size_t{1} << regionBits_;
    const size_t regionLimit =
        (slots_.size() >> regionBits_) * kRegionFullNumerator / kRegionFullDenominator;
    const size_t total = entries_.size();
    std::atomic<bool> crowded = false;
    std::atomic<bool> abandoned = false;
    const auto fill = [&](size_t region) {
        const auto inRegion = [&](uint64_t hash) {
            return regionBits_ == 0 || hash >> (kHashBits - regionBits_) == region;
        };
        // The slot of the region's entry this many entries ahead is fetched from memory while
        // the current one is inserted.
        auto ahead = entries_.end();
        const auto fetchNext = [&] {
            while (ahead != entries_.begin()) {
                --ahead;
                const uint64_t hash = MessageIdHash(ahead->itemIdValue);
                if (inRegion(hash)) {
                    __builtin_prefetch(&slots_[HomeSlot(hash)]);
                    return;
                }
            }
        };
        for (size_t i = 0; i < kPrefetchDistance; ++i) {
            fetchNext();
        }
        size_t used = 0;
        auto entry = entries_.end();
        for (size_t done = 0; done < total; ++done) {
            if (done != 0 && done % kProgressStep == 0) {
                // The first region's thread is the caller's: it reports and asks whether to go
                // on; every thread ends soon after a region is crowded or the build abandoned.
                if (region == 0 && progress && !progress(done, total)) {
                    abandoned = true;
                }
                if (crowded || abandoned) {
                    return;
                }
            }
            --entry;
            const uint64_t hash = MessageIdHash(entry->itemIdValue);
            if (!inRegion(hash)) {
                continue;
            }
            fetchNext();
            const auto index = static_cast<uint32_t>(total - 1 - done);
            Slot& chain = slots_[SlotOf(entry->itemIdValue, hash)];
            if (chain.firstNumber == 0) {
                if (++used > regionLimit) {
                    crowded = true;
                    return;
                }
                chain.tag = TagOf(hash);
                nextSameId_[index] = kNone;
            } else {
                nextSameId_[index] = chain.firstNumber - 1;
            }
            chain.firstNumber = index + 1;
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
    if (abandoned) {
        return FillOutcome::Abandoned;
    }
    return crowded ? FillOutcome::Crowded : FillOutcome::Filled;
}

uint32_t MessageIndex::FirstWithId(const std::u16string& itemId) const {
    const auto value = ParseItemId(itemId);
    if (!value || slots_.empty()) {
        return kNone;
    }
    const Slot& chain = slots_[SlotOf(*value, MessageIdHash(*value))];
    return chain.firstNumber == 0 ? kNone : chain.firstNumber - 1;
}

const MessageIndexEntry* MessageIndex::FindFirst(const std::u16string& itemId) const {
    const uint32_t first = FirstWithId(itemId);
    return first == kNone ? nullptr : &entries_[first];
}

void MessageIndex::Clear() {
    std::deque<MessageIndexEntry>().swap(entries_);
    nextSameId_.reset();
    slots_ = ZeroedArray<Slot>();
    regionBits_ = 0;
}

}  // namespace velmor
