#include "export/csv_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "temp_dir.h"

namespace velmor {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(CsvWriterTest, HeadingsThenRowsInUtf8WithQuotedFieldsWhereNeeded) {
    test::TempDir dir;
    const auto path = dir / "items.csv";
    ASSERT_TRUE(WriteCsvFile(path, {u"No", u"From", u"Subject", u"Date/Time"},
                             {{u"1", u"Ann, Sales", u"Say \"hi\"", u"01/02/2007"},
                              {u"2", u"Jörg", u"two\nlines", u""}}));
    EXPECT_EQ(ReadAll(path),
              "No,From,Subject,Date/Time\r\n"
              "1,\"Ann, Sales\",\"Say \"\"hi\"\"\",01/02/2007\r\n"
              "2,J\xC3\xB6rg,\"two\nlines\",\r\n");
}

// A cell chosen by a mail's sender must not run as a formula in a spreadsheet.
TEST(CsvWriterTest, CellsThatWouldRunAsFormulasGetAQuoteFirst) {
    EXPECT_EQ(CsvLine({u"=HYPERLINK(\"http://x\",\"click\")", u"+1 555", u"-2", u"@SUM(A1)",
                       u"\tTab", u"\rCR", u"a=b", u"'", u""}),
              "\"'=HYPERLINK(\"\"http://x\"\",\"\"click\"\")\",'+1 555,'-2,'@SUM(A1),'\tTab,"
              "\"'\rCR\",a=b,',\r\n");
}

TEST(CsvWriterTest, AFileThatCannotBeWrittenIsReported) {
    test::TempDir dir;
    EXPECT_FALSE(WriteCsvFile(dir / "missing" / "items.csv", {u"No"}, {}));
    EXPECT_FALSE(WriteCsvFile("/dev/full", {u"No"}, {{u"1"}}));
}

}  // namespace
}  // namespace velmor
