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

// One mail record as an RFC 5322 message built with GMime: From (the sender) and To (the
// recipients), each name as the display name of kUnknownAddress, control characters as blanks;
// Subject as stored, Date from the stored time, Message-ID and X-Velmor-Item-Id from the item
// id, X-Velmor-Marker for a marked mail, and the body: empty, text/plain, text/html, or both
// as multipart/alternative, quoted-printable or base64 where its lines or bytes need it.
std::string MimeMessage(const ExportRecord& record, LineEnding ending);

}  // namespace velmor
