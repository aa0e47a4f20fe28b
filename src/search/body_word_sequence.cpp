#include "search/body_word_sequence.h"

#include <algorithm>

namespace velmor {

namespace {

constexpr uint32_t kFnv32Offset = 2166136261U;
constexpr uint32_t kFnv32Prime = 16777619U;
constexpr unsigned kHashBytes = 4;
constexpr unsigned kVarintBits = 7;
constexpr uint8_t kVarintMore = 0x80;
// Words follow each other one position apart and are kept as their hashes alone; this hash,
// which no word has, marks a word at another distance, given before its hash.
constexpr uint32_t kPositionJump = 0xFFFFFFFFU;

struct PlacedWord {
    Xapian::termpos position;
    uint32_t hash;
    bool operator<(const PlacedWord& other) const { return position < other.position; }
};

void AppendVarint(std::string& out, uint32_t value) {
    while (value >= kVarintMore) {
        out += static_cast<char>((value & (kVarintMore - 1)) | kVarintMore);
        value >>= kVarintBits;
    }
    out += static_cast<char>(value);
}

uint32_t ReadHash(std::string_view sequence, size_t at) {
    uint32_t hash = 0;
    for (unsigned i = 0; i < kHashBytes; ++i) {
        hash |= static_cast<uint32_t>(static_cast<uint8_t>(sequence[at + i])) << (8 * i);
    }
    return hash;
}

void AppendHash(std::string& out, uint32_t hash) {
    for (unsigned i = 0; i < kHashBytes; ++i) {
        out += static_cast<char>((hash >> (8 * i)) & 0xFF);
    }
}

// Reads a sequence's words one by one; a damaged sequence ends where it stops making sense.
class SequenceReader {
public:
    explicit SequenceReader(std::string_view sequence) : sequence_(sequence) {}

    bool Next(PlacedWord& word) {
        if (sequence_.size() - at_ < kHashBytes) {
            return false;
        }
        uint32_t hash = ReadHash(sequence_, at_);
        at_ += kHashBytes;
        uint32_t delta = 1;
        if (hash == kPositionJump) {
            delta = 0;
            unsigned shift = 0;
            uint8_t byte = kVarintMore;
            while (at_ < sequence_.size() && (byte & kVarintMore) != 0 && shift < 32) {
                byte = static_cast<uint8_t>(sequence_[at_++]);
                delta |= static_cast<uint32_t>(byte & (kVarintMore - 1)) << shift;
                shift += kVarintBits;
            }
            if (sequence_.size() - at_ < kHashBytes) {
                return false;
            }
            hash = ReadHash(sequence_, at_);
            at_ += kHashBytes;
        }
        position_ += delta;
        word = {position_, hash};
        return true;
    }

private:
    std::string_view sequence_;
    size_t at_ = 0;
    Xapian::termpos position_ = 0;
};

// The positions at which each place of the group has one of its words, ascending.
std::vector<std::vector<Xapian::termpos>> PlacePositions(std::string_view sequence,
                                                         const BodyWordGroup& group) {
    std::vector<std::vector<Xapian::termpos>> positions(group.places.size());
    SequenceReader reader(sequence);
    for (PlacedWord word{}; reader.Next(word);) {
        for (size_t i = 0; i < group.places.size(); ++i) {
            const auto& hashes = group.places[i];
            if (std::find(hashes.begin(), hashes.end(), word.hash) != hashes.end()) {
                positions[i].push_back(word.position);
            }
        }
    }
    return positions;
}

// First position of the list after position, or 0 when none.
Xapian::termpos FirstAfter(const std::vector<Xapian::termpos>& list, Xapian::termpos position) {
    const auto found = std::upper_bound(list.begin(), list.end(), position);
    return found == list.end() ? 0 : *found;
}

bool HasInOrder(const std::vector<std::vector<Xapian::termpos>>& positions, unsigned window) {
    for (const Xapian::termpos first : positions.front()) {
        Xapian::termpos last = first;
        for (size_t i = 1; i < positions.size() && last != 0; ++i) {
            last = FirstAfter(positions[i], last);
        }
        if (last != 0 && last - first < window) {
            return true;
        }
    }
    return false;
}

bool HasInAnyOrder(const std::vector<std::vector<Xapian::termpos>>& positions, unsigned window) {
    for (const auto& starts : positions) {
        for (const Xapian::termpos start : starts) {
            const bool allNear = std::all_of(positions.begin(), positions.end(), [&](auto& list) {
                const auto found = std::lower_bound(list.begin(), list.end(), start);
                return found != list.end() && *found - start < window;
            });
            if (allNear) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

uint32_t BodyWordHash(std::string_view term) {
    uint32_t hash = kFnv32Offset;
    for (const char c : term) {
        hash = (hash ^ static_cast<uint8_t>(c)) * kFnv32Prime;
    }
    return hash == kPositionJump ? hash - 1 : hash;
}

std::string EncodeBodyWordSequence(const Xapian::Document& bodyWords) {
    std::vector<PlacedWord> words;
    for (auto term = bodyWords.termlist_begin(); term != bodyWords.termlist_end(); ++term) {
        const uint32_t hash = BodyWordHash(*term);
        for (auto position = term.positionlist_begin(); position != term.positionlist_end();
             ++position) {
            words.push_back({*position, hash});
        }
    }
    std::sort(words.begin(), words.end());
    std::string sequence;
    sequence.reserve(words.size() * kHashBytes);
    Xapian::termpos previous = 0;
    for (const PlacedWord& word : words) {
        if (word.position != previous + 1) {
            AppendHash(sequence, kPositionJump);
            AppendVarint(sequence, word.position - previous);
        }
        previous = word.position;
        AppendHash(sequence, word.hash);
    }
    return sequence;
}

std::string EncodeConsecutiveBodyWords(const std::vector<uint32_t>& hashes) {
    std::string sequence(hashes.size() * kHashBytes, '\0');
    for (size_t i = 0; i < hashes.size(); ++i) {
        for (unsigned byte = 0; byte < kHashBytes; ++byte) {
            sequence[i * kHashBytes + byte] = static_cast<char>((hashes[i] >> (8 * byte)) & 0xFF);
        }
    }
    return sequence;
}

bool ContainsBodyWordGroup(std::string_view sequence, const BodyWordGroup& group) {
    if (group.places.empty()) {
        return false;
    }
    const auto positions = PlacePositions(sequence, group);
    if (std::any_of(positions.begin(), positions.end(), [](auto& list) { return list.empty(); })) {
        return false;
    }
    return group.ordered ? HasInOrder(positions, group.window)
                         : HasInAnyOrder(positions, group.window);
}

}  // namespace velmor
