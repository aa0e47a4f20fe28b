#include "export/mbox_writer.h"

#include <algorithm>
#include <ctime>

#include "edb/text_codec.h"
#include "export/mime_message.h"
#include "items/file_time.h"

namespace velmor {

namespace {

// The envelope sender of a mail without a stored e-mail address.
constexpr char kEnvelopeSender[] = "MAILER-DAEMON";

bool IsQuotedFromLine(const std::string& text, size_t start) {
    size_t at = start;
    while (at < text.size() && text[at] == '>') {
        ++at;
    }
    return text.compare(at, 5, "From ") == 0;
}

// The sender's e-mail address, when it has one that fits in the line as one word.
std::string EnvelopeSender(const ExportRecord& record) {
    const MessageAddress& from = record.details.from;
    if (from.address.empty() || from.addressType == kExchangeAddressType) {
        return kEnvelopeSender;
    }
    const std::string address = Utf16ToUtf8(from.address);
    const bool oneWord = std::none_of(address.begin(), address.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == 0x7F;
    });
    return oneWord && address.find('@') != std::string::npos ? address : kEnvelopeSender;
}

// "From ann@example.com Tue Apr 10 13:39:00 2007": the envelope line with the sender's address
// (MAILER-DAEMON without one) and the time in UTC, the export's time for a mail without one.
std::string EnvelopeLine(const ExportRecord& record, time_t exportTime) {
    time_t seconds = exportTime;
    if (record.fileTime) {
        seconds = static_cast<time_t>(FileTimeToUnixSeconds(*record.fileTime));
    }
    std::tm utc{};
    char when[64] = "Thu Jan  1 00:00:00 1970";  // a time that gmtime cannot take
    if (gmtime_r(&seconds, &utc) != nullptr) {
        std::strftime(when, sizeof when, "%a %b %e %H:%M:%S %Y", &utc);
    }
    return "From " + EnvelopeSender(record) + " " + when + "\n";
}

}  // namespace

std::string MboxrdQuote(const std::string& message) {
    std::string quoted;
    quoted.reserve(message.size() + message.size() / 64);
    size_t start = 0;
    while (start < message.size()) {
        const size_t newline = message.find('\n', start);
        const size_t end = newline == std::string::npos ? message.size() : newline + 1;
        if (IsQuotedFromLine(message, start)) {
            quoted += '>';
        }
        quoted.append(message, start, end - start);
        start = end;
    }
    return quoted;
}

std::string MboxWriter::Entry(const ExportRecord& record) {
    std::string message =
        MboxrdQuote(record.originalMime ? *record.originalMime
                                        : MimeMessage(record, LineEnding::Lf, StatusLine::Mbox));
    if (!message.empty() && message.back() != '\n') {
        message += '\n';
    }
    return EnvelopeLine(record, exportTime_) + message + "\n";
}

}  // namespace velmor
