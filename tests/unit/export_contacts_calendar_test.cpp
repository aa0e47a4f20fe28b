#include <gtest/gtest.h>
#include <libical/ical.h>

#include <fstream>
#include <sstream>

#include "export/icalendar_writer.h"
#include "export/vcard_writer.h"
#include "export_test_store.h"
#include "file_contents.h"
#include "python_reader.h"

namespace velmor {
namespace {

using test::April;
using test::ExportTestStore;
using test::MakeItem;
using testdb::Item;
using testdb::ItemKind;

// Every card as python3-vobject reads it: FN, N, the TEL values with their types, ADR, EMAIL.
constexpr char kVcardReader[] = R"(
import sys, vobject
for card in vobject.readComponents(open(sys.argv[1], encoding='utf-8').read()):
    n = card.n.value
    tels = ['%s=%s' % (','.join(t.params.get('TYPE', [])), t.value)
            for t in card.contents.get('tel', [])]
    adr = card.adr.value.street if 'adr' in card.contents else '-'
    email = card.email.value if 'email' in card.contents else '-'
    print('|'.join([card.version.value, card.fn.value, n.family + '/' + n.given,
                    ';'.join(tels), adr, email]))
)";

TEST(VcardTextTest, EscapingAndFoldingFollowRfc6350) {
    EXPECT_EQ(VcardEscape(u"a\\b,c;d\r\ne\nf", false), "a\\\\b\\,c;d\\ne\\nf");
    EXPECT_EQ(VcardEscape(u"Smith; Jr, \"Bob\"", true), "Smith\\; Jr\\, \"Bob\"");
    const std::string line = "NOTE:" + std::string(70, 'x') + "\xC3\xA9" + std::string(80, 'y');
    const std::string folded = FoldContentLine(line);
    std::string unfolded;
    std::istringstream physical(folded);
    for (std::string part; std::getline(physical, part);) {
        ASSERT_EQ(part.back(), '\r');
        part.pop_back();
        EXPECT_LE(part.size(), 75u) << part;
        unfolded += unfolded.empty() ? part : part.substr(1);
    }
    EXPECT_EQ(unfolded, line);
    EXPECT_EQ(folded.substr(75, 3), "\r\n ") << "the two-byte character moves whole";
    EXPECT_EQ(FoldContentLine("FN:Ann"), "FN:Ann\r\n");
}

class ExportContactsCalendarTest : public testing::Test {
protected:
    ExportTestStore store_;
};

TEST_F(ExportContactsCalendarTest, ContactsBecomeVcardsThatVobjectReadsBack) {
    const auto folder = store_.AddFolder("Contacts", "IPF.Contact");
    Item carol = MakeItem(ItemKind::Contact, "", April(1, 10, 0));
    carol.contact = {"Hughes, Carol",
                     "Carol",
                     "Hughes; Jr",
                     "+1 555-0199",
                     "+1 555 0110",
                     "+44 20 7946",
                     "1 Example Plaza, Floor 2 \xE2\x80\x94 Caf\xC3\xA9 "
                     "Wing, Building 7, Somewhere Quite Long Street",
                     "carol@example.com"};
    store_.builder.AddItem(folder, carol);
    Item bare = MakeItem(ItemKind::Contact, "", April(1, 10, 1));
    bare.contact.firstName = "Dan";
    store_.builder.AddItem(folder, bare);

    const auto listing = store_.Listing("Contacts");
    ASSERT_EQ(listing.size(), 2u);
    const auto result = store_.Export("Contacts", {});
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(test::FileNames(result.directory),
              (std::vector<std::string>{"contacts.vcf", "items.csv"}));
    const auto file = result.directory / kVcardFileName;
    std::istringstream physical(test::ReadFile(file));
    for (std::string line; std::getline(physical, line);) {
        EXPECT_LE(line.size(), 76u) << line;  // 75 octets and the CR
    }
    const auto read = test::Lines(test::RunPython(store_.out.path(), kVcardReader, {file}));
    ASSERT_EQ(read.size(), 2u);
    auto cell = [&](size_t column) { return Utf16ToUtf8(listing[0].cells[column]); };
    EXPECT_EQ(read[0], "4.0|Hughes, Carol|" + cell(3) + "/Carol|home=" + cell(4) +
                           ";work=" + cell(5) + ";cell=" + cell(6) + "|" + cell(7) + "|" + cell(8));
    EXPECT_EQ(read[1], "4.0|Dan|/Dan||-|-") << "FN falls back on the name parts";
}

// A card must have a formatted name: the best there is stands in for a missing one.
TEST_F(ExportContactsCalendarTest, EveryCardHasAFormattedName) {
    const auto folder = store_.AddFolder("Contacts", "IPF.Contact");
    Item mailOnly = MakeItem(ItemKind::Contact, "", April(1, 10, 0));
    mailOnly.contact.emailAddress = "ivy@example.com";
    store_.builder.AddItem(folder, mailOnly);
    store_.builder.AddItem(folder, MakeItem(ItemKind::Contact, "", April(1, 10, 2)));
    const auto result = store_.Export("Contacts", {});
    ASSERT_TRUE(result.ok()) << result.error;
    constexpr char kNameReader[] = R"(
import sys, vobject
for card in vobject.readComponents(open(sys.argv[1], encoding='utf-8').read()):
    print(card.fn.value)
)";
    const auto read = test::Lines(
        test::RunPython(store_.out.path(), kNameReader, {result.directory / kVcardFileName}));
    EXPECT_EQ(read, (std::vector<std::string>{"ivy@example.com", "(no name)"}));
}

// An appointment without a time cannot be an event (which needs its start): it is kept as a
// journal entry. An entry type with a comma and a semicolon stays one category.
TEST_F(ExportContactsCalendarTest, UntimedAppointmentsAndCategoriesStayWhole) {
    const auto calendar = store_.AddFolder("Calendar", "IPF.Appointment");
    store_.builder.AddItem(calendar, MakeItem(ItemKind::Appointment, "Someday", ~0ull));
    store_.builder.AddItem(calendar, MakeItem(ItemKind::Appointment, "Timed", April(16, 9, 0)));
    Item journal = MakeItem(ItemKind::Journal, "Call with Henry", April(10, 11, 0));
    journal.entryType = "Phone call, conference; misc\\x";
    store_.builder.AddItem(store_.AddFolder("Journal", "IPF.Journal"), journal);

    const auto appointments = store_.Export("Calendar", {});
    ASSERT_TRUE(appointments.ok()) << appointments.error;
    const auto journals = store_.Export("Journal", {});
    ASSERT_TRUE(journals.ok()) << journals.error;
    constexpr char kComponentReader[] = R"(
import sys, vobject
for path in sys.argv[1:]:
    for component in vobject.readOne(open(path, encoding='utf-8').read()).getChildren():
        if component.name in ('VEVENT', 'VTODO', 'VJOURNAL'):
            start = 'dtstart' in component.contents
            categories = component.categories.value if 'categories' in component.contents else []
            print('|'.join([component.name, component.summary.value, str(start)] + categories))
)";
    const auto read = test::Lines(test::RunPython(
        store_.out.path(), kComponentReader,
        {appointments.directory / kIcalendarFileName, journals.directory / kIcalendarFileName}));
    EXPECT_EQ(read, (std::vector<std::string>{"VJOURNAL|Someday|False", "VEVENT|Timed|True",
                                              "VJOURNAL|Call with Henry|True|Phone call, "
                                              "conference; misc\\x"}));

    const std::string text = test::ReadFile(journals.directory / kIcalendarFileName);
    icalcomponent* parsed = icalparser_parse_string(text.c_str());
    ASSERT_NE(parsed, nullptr);
    icalcomponent* entry = icalcomponent_get_first_component(parsed, ICAL_VJOURNAL_COMPONENT);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(icalcomponent_count_properties(entry, ICAL_CATEGORIES_PROPERTY), 1);
    icalcomponent_free(parsed);
}

TEST_F(ExportContactsCalendarTest, CalendarKindsBecomeComponentsThatLibicalParsesBack) {
    Item appointment = MakeItem(ItemKind::Appointment, "Status, meeting", April(16, 9, 0));
    appointment.location = "Room 2.14; east";
    store_.builder.AddItem(store_.AddFolder("Calendar", "IPF.Appointment"), appointment);
    store_.builder.AddItem(store_.AddFolder("Tasks", "IPF.Task"),
                           MakeItem(ItemKind::Task, "Send the report", April(17, 17, 0)));
    store_.builder.AddItem(store_.AddFolder("Notes", "IPF.StickyNote"),
                           MakeItem(ItemKind::StickyNote, "Call Frank", April(11, 8, 15)));
    Item journal = MakeItem(ItemKind::Journal, "Call with Henry", April(10, 11, 0));
    journal.entryType = "Phone call";
    store_.builder.AddItem(store_.AddFolder("Journal", "IPF.Journal"), journal);

    struct Expected {
        std::string folder;
        icalcomponent_kind kind;
        std::string summary;
        std::string location;
        std::string categories;
        uint64_t time;
    };
    const std::vector<Expected> cases = {
        {"Calendar", ICAL_VEVENT_COMPONENT, "Status, meeting", "Room 2.14; east", "",
         April(16, 9, 0)},
        {"Tasks", ICAL_VTODO_COMPONENT, "Send the report", "", "", April(17, 17, 0)},
        {"Notes", ICAL_VJOURNAL_COMPONENT, "Call Frank", "", "", April(11, 8, 15)},
        {"Journal", ICAL_VJOURNAL_COMPONENT, "Call with Henry", "", "Phone call", April(10, 11, 0)},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.folder);
        const auto listing = store_.Listing(expected.folder);
        ASSERT_EQ(listing.size(), 1u);
        const auto result = store_.Export(expected.folder, {});
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(test::FileNames(result.directory),
                  (std::vector<std::string>{"items.csv", "items.ics"}));
        const std::string text = test::ReadFile(result.directory / kIcalendarFileName);
        icalcomponent* calendar = icalparser_parse_string(text.c_str());
        ASSERT_NE(calendar, nullptr);
        EXPECT_EQ(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
        EXPECT_EQ(icalcomponent_count_components(calendar, ICAL_ANY_COMPONENT), 1);
        icalcomponent* item = icalcomponent_get_first_component(calendar, expected.kind);
        ASSERT_NE(item, nullptr);
        EXPECT_STREQ(icalcomponent_get_summary(item), expected.summary.c_str());
        EXPECT_EQ(icalcomponent_get_uid(item), Utf16ToUtf8(listing[0].itemId) + "@velmor.invalid");
        const icaltimetype start = icalcomponent_get_dtstart(item);
        EXPECT_EQ(static_cast<uint64_t>(icaltime_as_timet(start) + 11644473600LL) * 10000000ull,
                  expected.time)
            << text;
        EXPECT_TRUE(icaltime_is_utc(start));
        icalproperty* location = icalcomponent_get_first_property(item, ICAL_LOCATION_PROPERTY);
        EXPECT_EQ(location ? icalproperty_get_location(location) : "", expected.location);
        icalproperty* categories = icalcomponent_get_first_property(item, ICAL_CATEGORIES_PROPERTY);
        EXPECT_EQ(categories ? icalproperty_get_categories(categories) : "", expected.categories);
        EXPECT_NE(icalcomponent_get_first_property(item, ICAL_DTSTAMP_PROPERTY), nullptr);
        icalcomponent_free(calendar);
    }
}

}  // namespace
}  // namespace velmor
