#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "streaming/recovered_messages.h"

namespace velmor {

// What a mail of the database offers for finding its original among the carved messages, as
// UTF-8.
struct MailMatchKeys {
    std::string messageId;  // with or without angle brackets; empty when the mail has none
    std::string subject;
    std::string senderName;
    std::string senderAddress;
    uint64_t fileTime = 0;  // FILETIME of the sent time; 0 when unknown
};

// Sent times of a mail and its original may differ by this much (a minute, in FILETIME units).
inline constexpr uint64_t kMatchTimeTolerance = 60ULL * 10000000ULL;

// The carved messages by Message-ID and by subject and sender, so that each mail finds its
// original in constant time and a whole store is matched in time linear in mails plus
// messages.
class CarvedMessageMatcher {
public:
    explicit CarvedMessageMatcher(const std::vector<RecoveredMessage>& messages);

    // The index of the mail's original: by Message-ID when the mail has one, else by subject,
    // sender name or address and a sent time within kMatchTimeTolerance.
    std::optional<size_t> Match(const MailMatchKeys& mail) const;

private:
    std::optional<size_t> MatchBySender(const std::string& subject, const std::string& sender,
                                        uint64_t fileTime) const;

    const std::vector<RecoveredMessage>& messages_;
    std::unordered_map<std::string, size_t> byMessageId_;
    std::unordered_map<std::string, std::vector<size_t>> bySubjectAndSender_;
};

}  // namespace velmor
