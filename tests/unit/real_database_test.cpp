#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>

#include "cli_runner.h"
#include "discovery/recovered_store.h"
#include "python_reader.h"

namespace velmor {
namespace {

// Files written by Windows' own ESE engine; none of them is an Exchange store.
const std::filesystem::path kRealDataDir = VELMOR_REALDATA_DIR;
// The one real file whose pages are 32 KiB; the catalog scan reads 4 KiB pages only.
constexpr char kLargePageFile[] = "large.edb";

// The table names that esedbinfo (a full ESE reader) lists; nothing when it is not installed.
std::optional<std::set<std::string>> EsedbinfoTables(const std::filesystem::path& database) {
    if (std::system("command -v esedbinfo >/dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    const auto output =
        test::RunShell("esedbinfo " + test::Quoted(database.string()) + " 2>/dev/null");
    std::set<std::string> tables;
    for (const std::string& text : test::Lines(output.text)) {
        // "Table: 1<TAB><TAB><TAB>MSysObjects (2)"
        const size_t tab = text.find_last_of('\t');
        const size_t objectId = text.rfind(" (");
        if (text.rfind("Table: ", 0) == 0 && tab != std::string::npos && objectId > tab) {
            tables.insert(text.substr(tab + 1, objectId - tab - 1));
        }
    }
    return tables;
}

// The names of the table records in the catalog command's output (name in the third field,
// the root marker in the fourth).
std::vector<std::string> CatalogTableNames(const std::string& catalogOutput) {
    std::vector<std::string> names;
    std::istringstream lines(catalogOutput);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        if (fields.size() >= 4 && fields[3] == std::to_string(kTableRecordMarker)) {
            names.push_back(fields[2]);
        }
    }
    return names;
}

class RealDatabaseTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kRealDataDir / GetParam())) {
            GTEST_SKIP() << "no real databases beside the repository";
        }
        // The path check wants ".EDB" in the name.
        database_ = tmp_ / (GetParam() + ".edb");
        std::filesystem::copy_file(kRealDataDir / GetParam(), database_);
    }

    test::TempDir tmp_;
    std::filesystem::path database_;
};

TEST_P(RealDatabaseTest, CatalogIsRecoveredAndTheFullRunFindsNoUser) {
    const auto catalog = test::RunCli({"catalog", database_.string()}, tmp_.path());
    EXPECT_EQ(catalog.exitCode, 0);
    if (GetParam() != kLargePageFile) {
        EXPECT_NE(catalog.out.find("\tMSysObjects\t255\t"), std::string::npos) << catalog.out;
    }
    const auto mailboxes = test::RunCli({"mailboxes", database_.string()}, tmp_.path());
    EXPECT_EQ(mailboxes.exitCode, 1);
    EXPECT_EQ(mailboxes.err, "No User Found\n");
    EXPECT_TRUE(mailboxes.out.empty());
    EXPECT_FALSE(test::HoldsMessageTemplate(tmp_.path())) << "the template outlived the run";
}

// The share of esedbinfo's tables whose record the catalog scan recovers. A recovered name may
// carry the template name after the table's own, so a name counts when it starts with it.
TEST_P(RealDatabaseTest, CatalogScanRecoversTheTablesEsedbinfoLists) {
    if (GetParam() == kLargePageFile) {
        GTEST_SKIP() << "the catalog scan reads 4 KiB pages only, and esedbinfo takes long here";
    }
    const auto expected = EsedbinfoTables(database_);
    if (!expected) {
        GTEST_SKIP() << "esedbinfo is not installed";
    }
    const auto catalog = test::RunCli({"catalog", database_.string()}, tmp_.path());
    const std::vector<std::string> recovered = CatalogTableNames(catalog.out);
    size_t found = 0;
    for (const std::string& table : *expected) {
        found += std::any_of(recovered.begin(), recovered.end(),
                             [&](const std::string& name) { return name.rfind(table, 0) == 0; });
    }
    std::cout << GetParam() << ": " << found << " of " << expected->size()
              << " tables that esedbinfo lists were recovered\n";
    RecordProperty("recovered_tables", static_cast<int>(found));
    RecordProperty("esedbinfo_tables", static_cast<int>(expected->size()));
    EXPECT_FALSE(expected->empty());
    EXPECT_EQ(found, expected->size());
}

INSTANTIATE_TEST_SUITE_P(Files, RealDatabaseTest,
                         testing::Values("basic.edb", "binary.edb", "default.edb", "index.edb",
                                         "multi.edb", "text.edb", "SRUDB.dat", "Current.mdb",
                                         "large.edb"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace velmor
