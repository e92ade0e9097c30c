#include "core/options/cabinet_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/memory_settings_store.h"
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

TEST(CabinetImportTest, FieldsArePairedAsTheFileLaysThemOut) {
    const std::vector<std::pair<std::string, Rows>> cases = {
        {"cb801,ai800_1", {{"CB801", "AI800_1"}}},
        {"\"cb 802\" , \"ai800,2\"\n", {{"CB 802", "AI800,2"}}},
        {" \tcb803  ,\t ai 3  \r\n", {{"CB803", "AI 3"}}},
        {"\"cb\" junk,\"m\"x\n", {{"CB", "M"}}},
        {"a,,b,c\n", {{"A", ""}, {"B", "C"}}},
        {"a,b\rc,d\ne,f\r\ng,h", {{"A", "B"}, {"C", "D"}, {"E", "F"}, {"G", "H"}}},
        {"\n  \na,b\n\n \t\r\n\r\nc,d\r\n\r\n  ", {{"A", "B"}, {"C", "D"}}},
        {"a,\nb,\n", {{"A", ""}, {"B", ""}}},
        {"CABINET,MODULE\ncb1,m1\n", {{"CABINET", "MODULE"}, {"CB1", "M1"}}},
        {"\"two\r\nlines\",\"open end", {{"TWO\r\nLINES", "OPEN END"}}},
        {"\xC3\xA4-cb,m\xC3\xB6", {{"\xC3\xA4-CB", "M\xC3\xB6"}}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(::testing::PrintToString(text));
        CabinetModuleTable table;
        testing::ScriptedUi ui;
        EXPECT_EQ(table.appendImport(text, ui), expected.size());
        EXPECT_EQ(pairs(table.rows), expected);
        EXPECT_TRUE(ui.errors.empty());
    }
}

TEST(CabinetImportTest, UnpairedLastFieldGivesARowAndOneError) {
    CabinetModuleTable table{{{"OLD", "ROW"}}, "old.csv"};
    testing::ScriptedUi ui;
    EXPECT_EQ(table.appendImport("cb1,m1\ncb2,m2,\n\ncb3\n", ui), 3u);
    const Rows expected = {{"OLD", "ROW"}, {"CB1", "M1"}, {"CB2", "M2"}, {"", "CB3"}};
    EXPECT_EQ(pairs(table.rows), expected);
    EXPECT_TRUE(ui.errors.empty());

    EXPECT_EQ(table.appendImport("x1,y1,cb9", ui), 2u);
    EXPECT_EQ(pairs(table.rows).back(), Rows::value_type("CB9", ""));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].module, "frmOptions");
    EXPECT_EQ(ui.errors[0].procedure, "ReadValuesFromImportFile");
    EXPECT_NE(ui.errors[0].description.find("'cb9'"), std::string::npos);
}

TEST(CabinetStoreTest, WrittenRowsReadBackAsStored) {
    platform::MemorySettingsStore store;
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
