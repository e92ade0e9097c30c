#include "core/options/cabinet_table.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace qor::options {
namespace {

// Rows as (cabinet, module) pairs, which gtest compares and prints.
using Rows = std::vector<std::pair<std::string, std::string>>;

Rows pairs(const std::vector<scan::CabinetRow>& rows) {
    Rows result;
    for (const scan::CabinetRow& row : rows) {
        result.emplace_back(row.cabinet, row.module);
    }
    return result;
}

// Each line gives at most one row, so that no line shifts the pairs after it. A case's
// verdicts are one letter per line that holds anything: R row, C conflict, H heading,
// S semicolons, D duplicate, 1 one field, M more fields, E empty field, Q open quote, B bytes
// that are no text.
TEST(CabinetImportTest, EachLineGivesAtMostOneRowAndSaysWhyNot) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        std::string verdicts;
        Rows rows;  // with the default choices: no heading, no ';' pairs
    } cases[] = {
        // Well-formed files read as they always did.
        {"cb801,ai800_1", "R", {{"CB801", "AI800_1"}}},
        {"\"cb 802\" , \"ai800,2\"\n", "R", {{"CB 802", "AI800,2"}}},
        {" \tcb803  ,\t ai 3  \r\n", "R", {{"CB803", "AI 3"}}},
        {"\"cb\" junk,\"m\"x\n", "R", {{"CB", "M"}}},
        {"a,b\rc,d\ne,f\r\ng,h", "RRRR", {{"A", "B"}, {"C", "D"}, {"E", "F"}, {"G", "H"}}},
        {"\n  \na,b\n\n \t\r\n\r\nc,d\r\n\r\n  ", "RR", {{"A", "B"}, {"C", "D"}}},
        {"\"two\r\nlines\",m\nx,y", "RR", {{"TWO\r\nLINES", "M"}, {"X", "Y"}}},
        {"\xC3\xA4-cb,m\xC3\xB6", "R", {{"\xC3\xA4-CB", "M\xC3\xB6"}}},
        {"", "", {}},
        // A byte-order mark, a heading, a ';' line, an empty line and a one-field line.
        {"\xEF\xBB\xBF"
         "Cabinet,Module\r\ncb701,ai810_1\r\nCB702;DI810_1\r\n\r\n"
         "ONLYONEFIELD\r\ncb703,ao810_1\r\n",
         "HRS1R",
         {{"CB701", "AI810_1"}, {"CB703", "AO810_1"}}},
        {"a,,b,c\nd,e,\n,f\ng,\n", "MMEE", {}},
        {"a,m\nA,M\nb,m\na,m\n", "RDCC", {{"A", "M"}, {"B", "M"}, {"A", "M"}}},
        {"x,y\ncabinet,module\n", "RR", {{"X", "Y"}, {"CABINET", "MODULE"}}},
        {"a;b;c\n;b\n", "11", {}},
        {"cb1,\"open\nrest,of,file", "Q", {}},
        {"cb1,m\x00\n\x7f"
         "ELF\x01,x\nok,m2"s,
         "BBR",
         {{"OK", "M2"}}},
    };
    const std::map<ImportVerdict, char> letters = {
        {ImportVerdict::Row, 'R'},           {ImportVerdict::Conflict, 'C'},
        {ImportVerdict::Heading, 'H'},       {ImportVerdict::Semicolons, 'S'},
        {ImportVerdict::Duplicate, 'D'},     {ImportVerdict::OneField, '1'},
        {ImportVerdict::TooManyFields, 'M'}, {ImportVerdict::EmptyField, 'E'},
        {ImportVerdict::OpenQuote, 'Q'},     {ImportVerdict::NotText, 'B'}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        const CabinetImport import = parseCabinetImport(c.text);
        std::string verdicts;
        for (const ImportLine& line : import.lines) {
            verdicts += letters.at(line.verdict);
            EXPECT_EQ(verdictText(line).empty(), line.verdict == ImportVerdict::Row);
        }
        EXPECT_EQ(verdicts, c.verdicts);
        EXPECT_EQ(pairs(import.rows()), c.rows);
        EXPECT_EQ(import.firstMalformed() == nullptr,
                  c.verdicts.find_first_not_of("RCHD") == std::string::npos);
    }

    // Lines are numbered as the file has them, a quoted line end included; the choices take
    // the heading and the ';' pairs.
    const CabinetImport import =
        parseCabinetImport("cabinet;module\r\n\r\n\"a\nb\",m1\nc;m2\nc,m2\n");
    std::vector<std::size_t> numbers;
    for (const ImportLine& line : import.lines) {
        numbers.push_back(line.line);
    }
    EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 3, 5, 6}));
    EXPECT_EQ(import.lines[3].verdict, ImportVerdict::Row);  // ';' pairs take no part in that
    EXPECT_EQ(pairs(import.rows({.skipHeading = false, .takeSemicolonPairs = true})),
              (Rows{{"CABINET", "MODULE"}, {"A\nB", "M1"}, {"C", "M2"}, {"C", "M2"}}));
}

TEST(CabinetStoreTest, WrittenRowsReadBackAsStored) {
    testing::MemorySettingsStore store;
    testing::ScriptedUi ui;
    CabinetModuleTable table;
    for (int i = 1; i <= 5; ++i) {
        table.rows.push_back({"cb80" + std::to_string(i), "ai" + std::to_string(i)});
    }
    table.writeTo(store, ui);
    table.rows.resize(3);
    table.writeTo(store, ui);
    EXPECT_EQ(store.value("CabinetsModules", "ListViewItemsCount", ""), "3");
    EXPECT_EQ(store.keyCount("CabinetsModules"), 7u);  // the deleted rows are gone
    store.setValue("Settings", "LastImportedFile", "plant.csv");

    const CabinetModuleTable loaded = CabinetModuleTable::readFrom(store, ui);
    EXPECT_EQ(pairs(loaded.rows), pairs(table.rows));
    EXPECT_EQ(pairs(loaded.rows)[0], Rows::value_type("cb801", "ai1"));
    EXPECT_EQ(loaded.importedFileName, "plant.csv");

    table.rows.clear();
    table.importedFileName = "plant.csv";
    table.writeTo(store, ui);
    EXPECT_EQ(table.importedFileName, "");
    EXPECT_EQ(store.value("Settings", "LastImportedFile", "?"), "");
    EXPECT_EQ(store.value("CabinetsModules", "ListViewItemsCount", ""), "0");
    EXPECT_TRUE(ui.errors.empty());

    // An unreadable count is reported and loads no rows.
    for (const char* count : {"abc", "", "2x", "70000"}) {
        SCOPED_TRACE(count);
        store.setValue("CabinetsModules", "ListViewItemsCount", count);
        store.setValue("CabinetsModules", "CabinetValue_1", "CB1");
        testing::ScriptedUi damaged;
        EXPECT_TRUE(CabinetModuleTable::readFrom(store, damaged).rows.empty());
        ASSERT_EQ(damaged.errors.size(), 1u);
        EXPECT_EQ(damaged.errors[0].procedure, "GetListViewItems");
        EXPECT_EQ(damaged.errors[0].module, "frmOptions");
    }
}

// The options dialog's import reads the file and leaves the store to the options' save.
TEST(CabinetStoreTest, ImportReadsTheFileOnly) {
    testing::TempDir dir;
    const std::string path = dir.write("plant 2.csv", "cb801,ai800_1\r\ncb802,ai800_2\r\n\r\n");
    testing::ScriptedUi ui;
    std::optional<CabinetModuleTable> table = importCabinetFile(path, ui);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(pairs(table->rows), (Rows{{"CB801", "AI800_1"}, {"CB802", "AI800_2"}}));
    EXPECT_EQ(table->importedFileName, "plant 2.csv");

    // A line over 1 MiB is cut, and said so.
    const std::string longLines =
        dir.write("long.csv", "cb1," + std::string(2 << 20, 'm') + "\r\ncb2,m2\n");
    table = importCabinetFile(longLines, ui);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(pairs(table->rows), (Rows{{"CB1", std::string((1 << 20) - 4, 'M')}, {"CB2", "M2"}}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "1 line of '" + longLines + "' is longer than 1 MiB: only its first 1 MiB was read.");
    EXPECT_TRUE(ui.errors.empty());

    const std::string missing = dir.file("missing.csv");
    EXPECT_FALSE(importCabinetFile(missing, ui).has_value());
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].procedure, "ReadValuesFromImportFile");
    EXPECT_NE(ui.errors[0].description.find(missing), std::string::npos);
}

}  // namespace
}  // namespace qor::options
