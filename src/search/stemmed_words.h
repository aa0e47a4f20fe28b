#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <xapian.h>

namespace velmor {

// The stems of the words an indexer has met, each word stemmed once: a word is found again by
// one probe of a table that keeps short words inline, where a map of strings took three cache
// misses a word and more time than the stemming it saved.
class StemmedWords {
public:
    struct Stem {
        uint32_t index = 0;  // into Term
        uint32_t hash = 0;   // BodyWordHash of the term
        bool empty = true;   // the stemmer left nothing of the word
    };

    explicit StemmedWords(const Xapian::Stem& stemmer);

    Stem Of(std::string_view lowerCaseWord);
    const std::string& Term(uint32_t index) const { return terms_[index]; }

    // Forgets every word once there are many: bounds the memory and the probes. Stem indexes
    // given before are no longer valid.
    void ForgetWhenFull();

private:
    static constexpr size_t kInlineWordBytes = 14;
    struct Slot {
        uint64_t wordHash = 0;
        Stem stem;
        uint8_t length = 0;  // 0 for an empty slot
        std::array<char, kInlineWordBytes> word{};
    };

    Stem Stemmed(const std::string& word);

    Xapian::Stem stemmer_;
    std::vector<Slot> slots_;
    size_t inlineWords_ = 0;
    // Words too long for a slot, and those met when the table was full.
    std::unordered_map<std::string, Stem> longWords_;
    std::unordered_map<std::string, uint32_t> termIndex_;
    std::vector<std::string> terms_;
};

}  // namespace velmor
