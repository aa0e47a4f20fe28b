#include "export/mbox_writer.h"

#include <ctime>

#include "export/mime_message.h"

namespace velmor {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kEpochDifferenceSeconds = 11'644'473'600;
// The envelope sender of every message: the stored mails carry names, not addresses, and the
// unknown address of the From header is none.
constexpr char kEnvelopeSender[] = "MAILER-DAEMON";

bool IsQuotedFromLine(const std::string& text, size_t start) {
    size_t at = start;
    while (at < text.size() && text[at] == '>') {
        ++at;
    }
    return text.compare(at, 5, "From ") == 0;
}

// "From MAILER-DAEMON Tue Apr 10 13:39:00 2007": the envelope line with the time in UTC, the
// export's time for a mail without one.
std::string EnvelopeLine(const ExportRecord& record, time_t exportTime) {
    time_t seconds = exportTime;
    if (record.fileTime) {
        seconds = static_cast<time_t>(static_cast<int64_t>(*record.fileTime / kTicksPerSecond) -
                                      kEpochDifferenceSeconds);
    }
    std::tm utc{};
    char when[64] = "Thu Jan  1 00:00:00 1970";  // a time that gmtime cannot take
    if (gmtime_r(&seconds, &utc) != nullptr) {
        std::strftime(when, sizeof when, "%a %b %e %H:%M:%S %Y", &utc);
    }
    return std::string("From ") + kEnvelopeSender + " " + when + "\n";
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
    std::string message = MboxrdQuote(MimeMessage(record, LineEnding::Lf));
    if (!message.empty() && message.back() != '\n') {
        message += '\n';
    }
    return EnvelopeLine(record, exportTime_) + message + "\n";
}

}  // namespace velmor
