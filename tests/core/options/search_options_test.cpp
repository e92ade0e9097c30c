#include "core/options/search_options.h"

#include <gtest/gtest.h>

#include "core/options/search_status.h"
#include "core/options/value_conversion.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"

namespace qor::options {
namespace {

using scan::ElementType;

class SearchOptionsTest : public ::testing::Test {
protected:
    void load(bool excelInstalled = true) {
        options = SearchOptions::readFrom(store, {excelInstalled, "/home/u/Documents"}, ui);
        columns = buildAllColumnData(options);
        labels = options.cabinetTable.rows;
    }
    const scan::ColumnData& of(ElementType type) const { return columns[scan::indexOf(type)]; }

    testing::MemorySettingsStore store;
    SearchOptions options;
    scan::ColumnDataSet columns;
    scan::CabinetLabels labels;
    testing::ScriptedUi ui;
};

TEST_F(SearchOptionsTest, AFreshStoreGivesTheDefaultsAndValuesThatDoNotConvertKeepThem) {
    load();
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        EXPECT_FALSE(options.of(info.type).enabled) << info.name;
        EXPECT_EQ(of(info.type).headerLine, "CHANNEL,") << info.name;
        EXPECT_EQ(of(info.type).columnCount, 1);
        EXPECT_EQ(of(info.type).columns.size(), info.parameters.size() + 1);
    }
    EXPECT_EQ(options.outputMode, OutputMode::HtmlReport);
    EXPECT_FALSE(options.oneExcelWorkbook);
    EXPECT_TRUE(options.showSearchStatusDialog);
    EXPECT_EQ(options.scanResultFolderPath, "/home/u/Documents");
    EXPECT_EQ(options.lastTab, 11);

    store.setValue("Settings", "LastTabSelected", "x");
    store.setValue("Settings", "SaveToHTMLReport", "maybe");
    store.setValue("Settings", "ShowSearchStatusDialog", " 0 ");
    load();
    EXPECT_EQ(options.lastTab, 11);
    EXPECT_EQ(options.outputMode, OutputMode::HtmlReport);
    EXPECT_FALSE(options.showSearchStatusDialog);
    EXPECT_TRUE(ui.errors.empty());  // loading reports nothing
}

TEST_F(SearchOptionsTest, ColumnDataFollowsTheSelectionAndTheLabels) {
    for (const char* key : {"NAME", "RANGEMAX", "RANGEMIN", "CONV_PAR", "FILTER_P", "SCANT"}) {
        store.setValue("chkAISParameters", key, "1");
    }
    store.setValue("chkAICParameters", "NAME", "1");
    store.setValue("Settings", "ApplyCabinetModule", "1");
    load();
    // Labels asked for but no table: the flag loads clear.
    EXPECT_FALSE(options.applyCabinetLabels);
    EXPECT_EQ(of(ElementType::AI).columns,
              (std::vector<std::string>{"CHANNEL", "NAME", "RANGEMAX", "RANGEMIN", "CONV_PAR",
                                        "FILTER_P", "SCANT", "", ""}));
    EXPECT_EQ(of(ElementType::AI).columnCount, 7);

    store.setValue("chkAISParameters", "DESCR", "1");
    store.setValue("chkAISParameters", "UNIT", "1");
    store.setValue("CabinetsModules", "ListViewItemsCount", "1");
    store.setValue("CabinetsModules", "CabinetValue_1", "CB801");
    store.setValue("CabinetsModules", "ModuleValue_1", "AI800_1");
    store.removeSection("Settings");
    load();
    EXPECT_FALSE(options.applyCabinetLabels);  // a table but no stored flag: labels stay off
    store.setValue("Settings", "ApplyCabinetModule", "1");
    load();
    EXPECT_TRUE(options.applyCabinetLabels);
    EXPECT_EQ(of(ElementType::AI).headerLine,
              "CABINET,MODULE,CHANNEL,NAME,DESCR,UNIT,RANGEMAX,RANGEMIN,CONV_PAR,FILTER_P,SCANT,");
    EXPECT_EQ(of(ElementType::AI).columnCount, 11);
    // A non-channel type never gets the cabinet columns.
    EXPECT_EQ(of(ElementType::AIC).headerLine, "CHANNEL,NAME,");
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].module, "AI800_1");
}

TEST_F(SearchOptionsTest, OutputChoicesReadInOrderWithTheLaterTrueWinning) {
    store.setValue("Settings", "SaveToExcelOnly", "True");
    store.setValue("Settings", "SaveToHTMLReport", "True");
    load();
    EXPECT_EQ(options.outputMode, OutputMode::HtmlReport);

    store.setValue("Settings", "SaveToHTMLReport", "False");
    store.setValue("Settings", "SaveToOneExcelFile", "1");
    load();
    EXPECT_EQ(options.outputMode, OutputMode::ExcelFilesOnly);
    EXPECT_TRUE(options.oneExcelWorkbook);
    EXPECT_TRUE(options.writesOneWorkbook());

    // Without a spreadsheet writer no output is left selected.
    load(/*excelInstalled=*/false);
    EXPECT_EQ(options.outputMode, OutputMode::None);
    EXPECT_FALSE(options.oneExcelWorkbook);

    // Both stored true: CSV is read later and wins.
    store.setValue("Settings", "SaveToCSVOnly", "true");
    load();
    EXPECT_EQ(options.outputMode, OutputMode::CsvFilesOnly);
    EXPECT_FALSE(options.writesOneWorkbook());
}

// The options record and the search status read a stored yes or no alike.
TEST_F(SearchOptionsTest, EveryReaderOfAStoredYesOrNoAgrees) {
    const struct {
        const char* text;
        std::optional<bool> box;
        std::optional<bool> flag;
    } cases[] = {{"1", true, true},
                 {"0", false, false},
                 {"2", false, true},
                 {"1.5", false, true},
                 {"-1", std::nullopt, true},
                 {"True", std::nullopt, true},
                 {"false", std::nullopt, false},
                 {"abc", std::nullopt, std::nullopt},
                 {"", std::nullopt, std::nullopt}};
    store.setValue("Settings", "SaveToHTMLReport", "False");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textToBox(c.text), c.box);
        EXPECT_EQ(textToFlag(c.text), c.flag);
        store.setValue("chkAISParameters", "EnableSearch", c.text);
        store.setValue("Settings", "SaveToCSVOnly", c.text);
        ui.errors.clear();
        load();
        const SearchStatusTable status = SearchStatusTable::readFrom(store, ui);
        EXPECT_EQ(options.of(ElementType::AI).enabled, c.box.value_or(false));
        EXPECT_EQ(status.anyEnabled(), options.of(ElementType::AI).enabled);
        EXPECT_EQ(status.shownAsEnabled(ElementType::AI), options.of(ElementType::AI).enabled);
        EXPECT_EQ(ui.errors.size(), c.box ? 0u : 1u);  // the search status says what it skips
        EXPECT_EQ(options.outputMode == OutputMode::CsvFilesOnly, c.flag.value_or(false));
    }
}

TEST_F(SearchOptionsTest, SavingWritesEveryKeyAndReloadsTheSame) {
    options.of(ElementType::DO).enabled = true;
    options.of(ElementType::DO).parameters[0] = true;
    options.of(ElementType::DO).parameters[6] = true;
    options.outputMode = OutputMode::CsvFilesOnly;
    options.scanResultFolderPath = "C:\\Results, \"old\"";
    options.lastTab = 3;
    options.showSearchStatusDialog = false;
    options.cabinetTable.rows = {{"CB1", "DO810_4"}, {"CB2", "DO810_5"}};
    options.applyCabinetLabels = true;
    options.writeTo(store, ui);
    columns = buildAllColumnData(options);

    EXPECT_EQ(store.value("chkDOSParameters", "ACT", ""), "1");
    EXPECT_EQ(store.value("chkDOSParameters", "INV", ""), "0");
    EXPECT_EQ(store.value("chkDATILParameters", "EnableSearch", ""), "0");
    EXPECT_EQ(store.value("Settings", "SaveToCSVOnly", ""), "True");
    EXPECT_EQ(store.value("Settings", "SaveToHTMLReport", ""), "False");
    EXPECT_EQ(store.value("Settings", "SaveToOneExcelFile", ""), "0");
    EXPECT_EQ(store.value("CabinetsModules", "ListViewItemsCount", ""), "2");
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        EXPECT_EQ(store.keyCount(info.settingsSection), info.parameters.size() + 1);
    }
    EXPECT_EQ(columns[scan::indexOf(ElementType::DO)].headerLine,
              "CABINET,MODULE,CHANNEL,NAME,ACT,");

    const SearchOptions reloaded = SearchOptions::readFrom(store, {true, "unused"}, ui);
    const scan::ColumnDataSet reloadedColumns = buildAllColumnData(reloaded);
    EXPECT_EQ(reloaded.of(ElementType::DO).parameters, options.of(ElementType::DO).parameters);
    EXPECT_TRUE(reloaded.of(ElementType::DO).enabled);
    EXPECT_EQ(reloaded.outputMode, OutputMode::CsvFilesOnly);
    EXPECT_EQ(reloaded.scanResultFolderPath, options.scanResultFolderPath);
    EXPECT_EQ(reloaded.lastTab, 3);
    EXPECT_FALSE(reloaded.showSearchStatusDialog);
    EXPECT_TRUE(reloaded.applyCabinetLabels);
    EXPECT_EQ(reloadedColumns[scan::indexOf(ElementType::DO)].headerLine,
              columns[scan::indexOf(ElementType::DO)].headerLine);
}

TEST(ColumnData, StripsEveryCommaAndKeepsTheBounds) {
    EXPECT_EQ(scan::withoutCommas({"NAME,", ",a,b,", "", "x"}),
              (std::vector<std::string>{"NAME", "ab", "", "x"}));
}

}  // namespace
}  // namespace qor::options
