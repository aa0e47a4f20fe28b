#pragma once

#include <string>

#include "export/export_record.h"

namespace velmor {

// The domain of the message ids derived from item ids; reserved, so it names no real host.
inline constexpr char kMessageIdDomain[] = "velmor.invalid";
// The address of every sender and recipient: the store keeps names only, and an address in
// the reserved domain can pass for no real one.
inline constexpr char kUnknownAddress[] = "unknown@velmor.invalid";

enum class LineEnding { Lf, CrLf };
// An mbox message carries "Status: RO" when it was read.
enum class StatusLine { None, Mbox };

// One mail record as an RFC 5322 message built with GMime. A mail with its Internet headers
// keeps them as they are, but for those of the original body. Otherwise the headers are built:
// From, Reply-To, To, Cc and Bcc with the stored addresses, or a name as the display name of
// kUnknownAddress (an "EX" distinguished name too), control characters as blanks; Subject as
// stored, Date from the stored time, Message-ID as stored or from the item id, In-Reply-To,
// References, Importance and X-Priority. Then X-Velmor-Item-Id, X-Velmor-Marker for a marked
// mail, and the body: empty, text/plain, text/html, or both as multipart/alternative,
// quoted-printable or base64 where its lines or bytes need it.
std::string MimeMessage(const ExportRecord& record, LineEnding ending,
                        StatusLine status = StatusLine::None);

}  // namespace velmor
