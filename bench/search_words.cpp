#include "search_words.h"

namespace velmor::bench {

std::string SearchWord(uint32_t number) {
    static const char* const kSyllables[] = {"ka",  "lo", "mi", "ner", "tus", "ba",  "re",  "sol",
                                             "vin", "da", "pe", "gor", "li",  "mun", "tra", "ze"};
    std::string word;
    do {
        word += kSyllables[number % 16];
        number /= 16;
    } while (number != 0);
    return word;
}

std::string WordQuery(int i) {
    return SearchWord(static_cast<uint32_t>(i * 37 % 2000));
}

std::string PhraseQuery(int i) {
    return "\"" + SearchWord(static_cast<uint32_t>(i % 50)) + " " +
           SearchWord(static_cast<uint32_t>(i % 7)) + "\"";
}

std::string SenderDateQuery(int i) {
    const int year = 2005 + i % 4;
    return "from:" + SearchWord(static_cast<uint32_t>(i % kSearchSenders) + 1000) +
           " AND date:" + std::to_string(year) + "-01-01.." + std::to_string(year) + "-06-30";
}

}  // namespace velmor::bench
