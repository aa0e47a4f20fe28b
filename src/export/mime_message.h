#pragma once

#include <string>

#include "export/export_record.h"

namespace velmor {

// The domain of the message ids derived from item ids; reserved, so it names no real host.
inline constexpr char kMessageIdDomain[] = "velmor.invalid";

enum class LineEnding { Lf, CrLf };

// One mail record as an RFC 5322 message built with GMime: From (the shown sender as a display
// name), To (the recipients), Subject as stored, Date from the stored time, Message-ID and
// X-Velmor-Item-Id from the item id, X-Velmor-Marker for a marked mail, and the body: empty,
// text/plain, text/html, or both as multipart/alternative.
std::string MimeMessage(const ExportRecord& record, LineEnding ending);

}  // namespace velmor
