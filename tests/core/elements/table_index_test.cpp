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

// A table of AI elements whose designation, NAME and DESCR are given, of one export read in
// `encoding`.
std::shared_ptr<ElementTable> aiTable(const std::vector<std::array<std::string, 3>>& elements,
                                      TextEncoding encoding = TextEncoding::Utf8) {
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
    table->addFile({"north.qor", "12", "", {encoding, true, false}}, std::move(arena));
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
    const std::vector<std::vector<Column>> searched{
        any, {kName}, {kDesignation, kDescr}, {kDescr, {ColumnKind::Node, {}}}};
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

    // One that reaches across two of the sweep's windows of 4 MiB counts as well.
    const std::size_t window = std::size_t{1} << 22;
    std::string pad(window - 64, 'y');
    const std::size_t before = aiTable({{"A1", "x", pad + "needle"}})->arena(0).find("needle");
    pad.append(window + 2 - before, 'y');
    const TableIndex wide(aiTable({{"A1", "x", pad + "needle"}}));
    ASSERT_EQ(wide.table().arena(0).find("needle"), window + 2);
    EXPECT_EQ(wide.matching(wide.table().allRows(), WildcardPattern("needle"), {{kDescr}}),
              std::vector<RowIndex>{0});
}

// "?" is one character however many bytes it takes, in UTF-8 and in a code page, on every path
// that decides a match: the sweep, row by row, and matchRows; plain text and "*" alike.
TEST(TableIndex, MatchesWholeCharactersOfEveryEncodingOnEveryPath) {
    const std::shared_ptr<ElementTable> table = aiTable({{"A1", "M\xC3\x9CLLER", ""},
                                                         {"A2",
                                                          "\xE2\x82\xAC"
                                                          "20",
                                                          ""},
                                                         {"A3",
                                                          "A\xF0\x9D\x84\x9E"
                                                          "B",
                                                          ""},
                                                         {"A4", "MULLER", ""}});
    table->append(std::move(*aiTable({{"B1", "M\xDCLLER", ""},
                                      {"B2",
                                       "\x80"
                                       "20",
                                       ""}},
                                     TextEncoding::Windows1250)));
    // Rows enough that one of them alone is looked at row by row.
    table->append(std::move(*aiTable(std::vector<std::array<std::string, 3>>(16, {"F", "x", ""}))));
    const TableIndex index(table);
    const std::pair<const char*, std::vector<RowIndex>> cases[] = {
        {"M?LLER", {0, 3, 4}},
        {"M??LLER", {}},
        {"?20", {1, 5}},
        {"A?B", {2}},
        {"m*r", {0, 3, 4}},
        {"*\xC3\xBC*", {0, 4}},
        {"\xE2\x82\xAC*", {1, 5}},
        {"\xC3\xBCll", {0, 4}},
        {"20", {1, 5}},
        {"\xF0\x9D\x84\x9E", {2}},
    };
    const std::vector<RowIndex> all = table->allRows();
    for (const auto& [text, rows] : cases) {
        const WildcardPattern pattern(text);
        EXPECT_EQ(index.matching(all, pattern, {{kName}}), rows) << text;
        EXPECT_EQ(matchRows(*table, all, pattern, {{kName}}), rows) << text;
        for (const RowIndex row : all) {
            const bool matches = std::find(rows.begin(), rows.end(), row) != rows.end();
            EXPECT_EQ(index.matching({{row}}, pattern, {{kName}}).size(), matches ? 1U : 0U)
                << text << " in row " << row;
        }
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
