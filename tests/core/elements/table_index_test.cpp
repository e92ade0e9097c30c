// The index a window keeps over a loaded table: its filter finds the rows matchRows finds, by
// sweeping the arenas or row by row, and each column's ranks are worked out once.
#include "core/elements/table_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/elements/arena_fields.h"
#include "core/elements/element_loader.h"
#include "export_generator.h"
#include "support/temp_dir.h"

namespace qor::elements {
namespace {

using scan::ElementType;

const Column kDesignation{ColumnKind::Designation, {}};
const Column kName{ColumnKind::Parameter, "NAME"};
const Column kDescr{ColumnKind::Parameter, "DESCR"};

// A table of AI elements whose designation, NAME and DESCR are given.
std::shared_ptr<const ElementTable> aiTable(
    const std::vector<std::array<std::string, 3>>& elements) {
    const std::size_t boxes = scan::elementType(ElementType::AI).parameters.size();
    std::string arena;
    std::vector<ElementRecord> records;
    for (const auto& [designation, name, descr] : elements) {
        records.push_back({arena.size(), records.size() + 1, 0, ElementType::AI});
        appendField(arena, designation);
        appendField(arena, name);
        appendField(arena, descr);
        for (std::size_t box = 2; box < boxes; ++box) {
            appendField(arena, "");
        }
    }
    auto table = std::make_shared<ElementTable>();
    table->addFile({"north.qor", "12", "", {}}, std::move(arena));
    table->addRecords(records);
    return table;
}

std::vector<RowIndex> everyNth(std::size_t rows, std::size_t step) {
    std::vector<RowIndex> picked;
    for (std::size_t row = 0; row < rows; row += step) {
        picked.push_back(static_cast<RowIndex>(row));
    }
    return picked;
}

TEST(TableIndex, FindsTheRowsMatchRowsFinds) {
    const testing::TempDir dir;
    gen::GeneratorOptions options;
    options.targetBytes = 400'000;
    gen::generateExportFile(options, dir.file("plant.qor"));
    const TableIndex index(
        std::make_shared<const ElementTable>(loadExport(dir.file("plant.qor"), {})));
    const ElementTable& table = index.table();
    ASSERT_GT(table.rowCount(), 1000U);
    std::vector<Column> any{kDesignation, {ColumnKind::Type, {}}, {ColumnKind::Node, {}}};
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        for (const Column& column : typeColumns(info.type, false)) {
            if (std::find(any.begin(), any.end(), column) == any.end()) {
                any.push_back(column);
            }
        }
    }
    const std::vector<std::vector<Column>> searched{any, {kName}, {kDesignation, kDescr}};
    // All rows and a third of them are swept; every fiftieth is looked at row by row.
    const std::vector<std::vector<RowIndex>> candidates{
        table.allRows(), everyNth(table.rowCount(), 3), everyNth(table.rowCount(), 50)};
    for (const char* text : {"F", "ft1", "FT101", "t/h", "ft*", "*1", "?T10?", "DI", "12",
                             "\xC5\xBE\xC3\xA9", "*", "a*b*c"}) {
        const WildcardPattern pattern(text);
        for (const std::vector<Column>& columns : searched) {
            for (const std::vector<RowIndex>& rows : candidates) {
                EXPECT_EQ(index.matching(rows, pattern, columns),
                          matchRows(table, rows, pattern, columns))
                    << text << " in " << columns.size() << " columns of " << rows.size();
            }
        }
    }
}

// The sweep meets the bytes that hold the fields' lengths: a field of 70 bytes has "F" before
// it, one of 102 "f". Neither those nor an occurrence that runs into the next field count.
TEST(TableIndex, CountsOnlyWholeOccurrencesInsideAField) {
    const std::string seventy(70, 'x');
    const std::string hundredTwo(102, 'y');
    const TableIndex index(aiTable(
        {{"A1", "ab", seventy}, {"A2", "x", hundredTwo}, {"A3", "abf", "f"}, {"A4", "", "FF"}}));
    struct Case {
        const char* pattern;
        std::vector<Column> columns;
        std::vector<RowIndex> rows;
    };
    const std::vector<Case> cases{
        {"f", {kDesignation, kName, kDescr}, {2, 3}},
        {"abF", {kName, kDescr}, {2}},
        {"bf", {kDescr}, {}},
        {"FF", {kName}, {}},
        {"FF", {kDescr}, {3}},
        {"xxx", {kDescr}, {0}},
    };
    const std::vector<RowIndex> all = index.table().allRows();
    for (const Case& c : cases) {
        EXPECT_EQ(index.matching(all, WildcardPattern(c.pattern), c.columns), c.rows) << c.pattern;
    }
}

TEST(TableIndex, WorksOutAColumnsRanksOnceAndStopsWhenAsked) {
    TableIndex index(aiTable({{"A2", "x", ""}, {"A10", "x", ""}, {"A1", "x", ""}}));
    const std::shared_ptr<const ColumnRanks> ranks = index.ranks(kDesignation);
    EXPECT_EQ(ranks->ofRow, (std::vector<std::uint32_t>{1, 2, 0}));
    EXPECT_EQ(index.ranks(kDesignation), ranks);
    std::atomic<bool> cancel{true};
    EXPECT_THROW(index.matching(index.table().allRows(), WildcardPattern("x"), {{kName}}, &cancel),
                 QueryStopped);
    index.stop();
    EXPECT_THROW(index.ranks(kName), QueryStopped);
}

}  // namespace
}  // namespace qor::elements
