#include "search/stemmed_words.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "search/body_word_sequence.h"

namespace velmor {

namespace {

// Slots of the table, a power of two: 2 MiB, which a core's cache holds.
constexpr size_t kWordSlots = size_t{1} << 16;
// Words kept in the table, and in the map beside it, before everything is forgotten: half
// full, a probe seldom goes past its first slot.
constexpr size_t kMaxWordsInSlots = kWordSlots / 2;
constexpr size_t kMaxWordsInMap = kWordSlots / 2;
constexpr uint64_t kGoldenRatio64 = 0x9E3779B97F4A7C15ULL;
constexpr unsigned kWordChunkBytes = 8;

uint64_t WordHash(std::string_view word) {
    uint64_t hash = word.size() * kGoldenRatio64;
    for (size_t at = 0; at < word.size(); at += kWordChunkBytes) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, word.data() + at, std::min<size_t>(kWordChunkBytes, word.size() - at));
        hash = (hash ^ chunk) * kGoldenRatio64;
        hash ^= hash >> 32;
    }
    return hash;
}

}  // namespace

StemmedWords::StemmedWords(const Xapian::Stem& stemmer) : stemmer_(stemmer), slots_(kWordSlots) {}

StemmedWords::Stem StemmedWords::Of(std::string_view word) {
    // A body of many new words fills the map, not the table, until the next body forgets them.
    if (word.size() > kInlineWordBytes || inlineWords_ >= kMaxWordsInSlots) {
        const auto known = longWords_.find(std::string(word));
        if (known != longWords_.end()) {
            return known->second;
        }
        std::string kept(word);
        const Stem stem = Stemmed(kept);
        return longWords_.emplace(std::move(kept), stem).first->second;
    }
    const uint64_t hash = WordHash(word);
    for (size_t at = hash & (kWordSlots - 1);; at = (at + 1) & (kWordSlots - 1)) {
        Slot& slot = slots_[at];
        if (slot.length == 0) {
            slot.wordHash = hash;
            slot.length = static_cast<uint8_t>(word.size());
            std::memcpy(slot.word.data(), word.data(), word.size());
            slot.stem = Stemmed(std::string(word));
            ++inlineWords_;
            return slot.stem;
        }
        if (slot.wordHash == hash && slot.length == word.size() &&
            std::memcmp(slot.word.data(), word.data(), word.size()) == 0) {
            return slot.stem;
        }
    }
}

StemmedWords::Stem StemmedWords::Stemmed(const std::string& word) {
    std::string term = stemmer_(word);
    if (term.empty()) {
        return {};
    }
    const auto [known, added] = termIndex_.emplace(term, static_cast<uint32_t>(terms_.size()));
    if (added) {
        terms_.push_back(std::move(term));
    }
    return {known->second, BodyWordHash(terms_[known->second]), false};
}

void StemmedWords::ForgetWhenFull() {
    if (inlineWords_ < kMaxWordsInSlots && longWords_.size() < kMaxWordsInMap) {
        return;
    }
    std::fill(slots_.begin(), slots_.end(), Slot{});
    inlineWords_ = 0;
    longWords_.clear();
    termIndex_.clear();
    terms_.clear();
}

}  // namespace velmor
