#include "browse/item_columns.h"

#include "browse/folder_kind.h"

namespace velmor {

namespace {

const std::vector<ItemColumn> kJournalColumns = {
    {u"No", 60}, {u"Subject", 200}, {u"Entry-Type", 100}, {u"Date", 200}};
const std::vector<ItemColumn> kStickyNoteColumns = {{u"No", 60}, {u"Subject", 300}, {u"Date", 250}};
const std::vector<ItemColumn> kTaskColumns = {{u"No", 60}, {u"Subject", 250}, {u"Date", 250}};
const std::vector<ItemColumn> kAppointmentColumns = {
    {u"No", 60}, {u"Subject", 200}, {u"Location", 150}, {u"Date", 150}};
const std::vector<ItemColumn> kContactColumns = {{u"No", 60},
                                                 {u"Full name", 100},
                                                 {u"First name", 100},
                                                 {u"Last name", 100},
                                                 {u"Home Phone No", 100},
                                                 {u"Business Phone No", 100},
                                                 {u"Mobile Phone No", 100},
                                                 {u"Business Address", 100},
                                                 {u"Email Address", 100}};
const std::vector<ItemColumn> kSentMailColumns = {
    {u"No", 60}, {u"To", 150}, {u"Subject", 230}, {u"Date/Time", 180}};
const std::vector<ItemColumn> kMailColumns = {
    {u"No", 60}, {u"From", 150}, {u"Subject", 230}, {u"Date/Time", 180}};

}  // namespace

const std::vector<ItemColumn>& ItemColumnsOf(int kind) {
    switch (kind) {
        case kJournalFolder:
            return kJournalColumns;
        case kStickyNoteFolder:
            return kStickyNoteColumns;
        case kTaskFolder:
            return kTaskColumns;
        case kAppointmentFolder:
            return kAppointmentColumns;
        case kContactFolder:
            return kContactColumns;
        case kSentItemsFolder:
        case kOutboxFolder:
            return kSentMailColumns;
        default:
            return kMailColumns;
    }
}

void SetupItemColumns(ItemList& list, int kind) {
    list.SetColumns(ItemColumnsOf(kind));
}

}  // namespace velmor
