#include "export/icalendar_writer.h"

#include <libical/ical.h>

#include "browse/folder_kind.h"
#include "edb/text_codec.h"
#include "export/mime_message.h"
#include "export/vcard_writer.h"
#include "items/file_time.h"

namespace velmor {

namespace {

constexpr char kProductId[] = "-//Velmor//Velmor for Exchange Server//EN";

// An event must have a start: an appointment without a time is kept as a journal entry.
icalcomponent_kind ComponentKind(const ExportRecord& record) {
    switch (record.folderKind) {
        case kAppointmentFolder:
            return record.fileTime ? ICAL_VEVENT_COMPONENT : ICAL_VJOURNAL_COMPONENT;
        case kTaskFolder:
            return ICAL_VTODO_COMPONENT;
        default:
            return ICAL_VJOURNAL_COMPONENT;
    }
}

icaltimetype UtcTime(time_t seconds) {
    return icaltime_from_timet_with_zone(seconds, 0, icaltimezone_get_utc_timezone());
}

}  // namespace

std::string IcalendarWriter::Header() {
    return std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:") + kProductId + "\r\n";
}

std::string IcalendarWriter::Footer() {
    return "END:VCALENDAR\r\n";
}

std::string IcalendarWriter::Entry(const ExportRecord& record) {
    icalcomponent* component = icalcomponent_new(ComponentKind(record));
    const std::string itemId = Utf16ToUtf8(record.itemId);
    const std::string uid = (itemId.empty() ? "row" + std::to_string(record.rowNumber) : itemId) +
                            "@" + kMessageIdDomain;
    icalcomponent_add_property(component, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(component, icalproperty_new_dtstamp(UtcTime(stamp_)));
    if (record.fileTime) {
        const auto seconds = static_cast<time_t>(FileTimeToUnixSeconds(*record.fileTime));
        icalcomponent_add_property(component, icalproperty_new_dtstart(UtcTime(seconds)));
    }
    icalcomponent_add_property(component,
                               icalproperty_new_summary(Utf16ToUtf8(record.subject).c_str()));
    if (!record.location.empty()) {
        icalcomponent_add_property(component,
                                   icalproperty_new_location(Utf16ToUtf8(record.location).c_str()));
    }
    char* text = icalcomponent_as_ical_string_r(component);
    std::string entry = text != nullptr ? text : "";
    free(text);
    icalcomponent_free(component);
    if (!record.entryType.empty()) {
        // libical writes a category list without escaping its commas and semicolons: the
        // entry type goes in as one TEXT value, escaped, before the component's END line.
        const size_t end = entry.rfind("END:");
        if (end != std::string::npos) {
            entry.insert(end, FoldContentLine("CATEGORIES:" + VcardEscape(record.entryType, true)));
        }
    }
    return entry;
}

}  // namespace velmor
