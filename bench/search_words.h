#pragma once

#include <cstdint>
#include <string>

namespace velmor::bench {

// The search benchmark's store: its mailbox and the senders its mails come from.
inline constexpr char kSearchMailbox[] = "Search User";
inline constexpr int kSearchSenders = 500;

// A pronounceable made-up word for each number: the store's vocabulary.
std::string SearchWord(uint32_t number);

// The three kinds of query the search benchmarks time, the i-th of each.
std::string WordQuery(int i);
std::string PhraseQuery(int i);
std::string SenderDateQuery(int i);

}  // namespace velmor::bench
