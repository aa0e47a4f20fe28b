#include "streaming/carved_message_matcher.h"

#include <algorithm>
#include <cctype>

namespace velmor {

namespace {

// A Message-ID without the angle brackets and blanks around it.
std::string BareMessageId(const std::string& id) {
    const size_t first = id.find_first_not_of(" \t\r\n<");
    if (first == std::string::npos) {
        return {};
    }
    const size_t last = id.find_last_not_of(" \t\r\n>");
    return id.substr(first, last - first + 1);
}

// Addresses and names compare without regard to ASCII case.
std::string Folded(const std::string& text) {
    std::string folded = text;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

std::string SubjectAndSender(const std::string& subject, const std::string& sender) {
    return subject + '\n' + Folded(sender);
}

uint64_t Distance(uint64_t a, uint64_t b) {
    return a > b ? a - b : b - a;
}

}  // namespace

CarvedMessageMatcher::CarvedMessageMatcher(const std::vector<RecoveredMessage>& messages)
    : messages_(messages) {
    for (size_t i = 0; i < messages.size(); ++i) {
        const MimeSummary& summary = messages[i].summary;
        if (const std::string id = BareMessageId(summary.messageId); !id.empty()) {
            byMessageId_.emplace(id, i);
        }
        if (summary.fileTime == 0) {
            continue;
        }
        for (const std::string* sender : {&summary.fromName, &summary.fromAddress}) {
            if (!sender->empty()) {
                bySubjectAndSender_[SubjectAndSender(summary.subject, *sender)].push_back(i);
            }
        }
    }
}

std::optional<size_t> CarvedMessageMatcher::Match(const MailMatchKeys& mail) const {
    if (const std::string id = BareMessageId(mail.messageId); !id.empty()) {
        const auto found = byMessageId_.find(id);
        return found == byMessageId_.end() ? std::nullopt : std::optional(found->second);
    }
    if (mail.fileTime == 0) {
        return std::nullopt;
    }
    for (const std::string* sender : {&mail.senderName, &mail.senderAddress}) {
        if (sender->empty()) {
            continue;
        }
        if (const auto index = MatchBySender(mail.subject, *sender, mail.fileTime)) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<size_t> CarvedMessageMatcher::MatchBySender(const std::string& subject,
                                                          const std::string& sender,
                                                          uint64_t fileTime) const {
    const auto found = bySubjectAndSender_.find(SubjectAndSender(subject, sender));
    if (found == bySubjectAndSender_.end()) {
        return std::nullopt;
    }
    // Messages of one subject and sender are few: the nearest in time within the tolerance.
    std::optional<size_t> nearest;
    for (const size_t index : found->second) {
        const uint64_t distance = Distance(messages_[index].summary.fileTime, fileTime);
        if (distance <= kMatchTimeTolerance &&
            (!nearest || distance < Distance(messages_[*nearest].summary.fileTime, fileTime))) {
            nearest = index;
        }
    }
    return nearest;
}

}  // namespace velmor
