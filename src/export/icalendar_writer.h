#pragma once

#include <ctime>

#include "export/streamed_file_writer.h"

namespace velmor {

inline constexpr char kIcalendarFileName[] = "items.ics";

// The rows of an appointment, task, sticky-note or journal folder as one iCalendar object
// built with libical: a VEVENT per appointment (a VJOURNAL for one without a time, since an
// event needs its start), a VTODO per task and a VJOURNAL per sticky note or journal entry,
// with SUMMARY, LOCATION, the entry type as one escaped CATEGORIES value, DTSTART from the
// stored time and a UID from the item id.
class IcalendarWriter : public StreamedFileWriter {
public:
    // stamp: the export's time, the DTSTAMP of every component.
    IcalendarWriter(std::filesystem::path directory, const EdbFile* database, time_t stamp)
        : StreamedFileWriter(std::move(directory), database, kIcalendarFileName), stamp_(stamp) {}

protected:
    std::string Header() override;
    std::string Entry(const ExportRecord& record) override;
    std::string Footer() override;

private:
    time_t stamp_;
};

}  // namespace velmor
