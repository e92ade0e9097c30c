// Filtering and ordering the rows of the hand-made export, as both shells do.
#include "core/elements/row_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/elements/arena_fields.h"
#include "core/elements/element_loader.h"
#include "core/scan/text_rules.h"
#include "export_generator.h"
#include "support/temp_dir.h"

namespace qor::elements {
namespace {

const Column kDesignation{ColumnKind::Designation, {}};
const Column kDescr{ColumnKind::Parameter, "DESCR"};

// Rows of golden_node.qor: 0 AI800_1.1, 1 AI800_2.3, 2 DI810_1.12, 3 AIC12, 4 DAT1, 5 DAT4.
const ElementTable& golden() {
    static const ElementTable table =
        loadExport(std::string(QOR_TEST_DATA_DIR) + "/golden_node.qor", {});
    return table;
}

TEST(RowQuery, FiltersOnAnyOrOneColumnWithWildcards) {
    const std::vector<Column> shown{
        kDesignation, {ColumnKind::Parameter, "NAME"}, kDescr, {ColumnKind::Type, {}}};
    struct Case {
        const char* pattern;
        std::vector<Column> columns;
        std::vector<RowIndex> rows;
    };
    const std::vector<Case> cases{
        {"", shown, {0, 1, 2, 3, 4, 5}},
        {"ti1", shown, {0}},  // no wildcard: anywhere in the text, any case
        {"AI800", {kDesignation}, {0, 1}},
        {"ai800_?.*", {kDesignation}, {0, 1}},  // wildcards: the whole text
        {"AI800_?", {kDesignation}, {}},
        {"*1", {kDesignation}, {0, 4}},
        {"VALVE", {kDescr}, {2}},
        {"valve", {kDesignation}, {}},  // one column only
        {"dat(?)", shown, {4, 5}},      // the Type column
        {"*,*", shown, {1, 3}},
        {"calc, AVERAGE", shown, {3}},
        {"TI\"7", shown, {1}},
    };
    EXPECT_EQ(WildcardPattern("ai800_?.*").requiredText(), "ai800_");
    EXPECT_EQ(WildcardPattern("*x?1234*").requiredText(), "1234");
    EXPECT_EQ(WildcardPattern("Žé").requiredText(), "");
    const std::vector<RowIndex> all = golden().allRows();
    for (const Case& c : cases) {
        EXPECT_EQ(matchRows(golden(), all, WildcardPattern(c.pattern), c.columns), c.rows)
            << c.pattern;
    }
}

TEST(RowQuery, WildcardsFoldCaseAndStepOverWholeCharacters) {
    const ExportEncoding utf8{TextEncoding::Utf8, true, false};
    const ExportEncoding cp1250{TextEncoding::Windows1250, true, false};
    struct Case {
        const char* pattern;
        std::string text;
        ExportEncoding encoding;
        bool matches;
    };
    const std::vector<Case> cases{
        {"Ž?LU", "\xC5\xBD\xC3\xA9lu", utf8, true},  // "Žélu"
        {"žélu", "\xC5\xBD\xC3\xA9LU", utf8, true},
        {"žé", "\x8E\xE9LU", cp1250, true},  // the same in Windows-1250
        {"?LU", "\x8E\xE9LU", cp1250, false},
        {"??LU", "\x8E\xE9LU", cp1250, true},
        {"a*b*c", "aXXbYYc", utf8, true},
        {"a*b*c", "aXXbYY", utf8, false},
        // "?" is one character of two, three or four bytes, or of one in a code page
        // (table_index_test holds the rest of these rows on every path that decides a match).
        {"A?B",
         "A\xF0\x9D\x84\x9E"
         "XB",
         utf8, false},
        {"*\xF0\x90\x90\xA8", "x\xF0\x90\x90\x80", utf8, true},  // Deseret, folded
        {"\xF0\x9D\x84\x9E"
         "b",
         "A\xF0\x9D\x84\x9E"
         "B",
         utf8, true},
        // A pattern byte that is no UTF-8 is no character: it finds nothing.
        {"\xE9", "caf\xE9", cp1250, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardPattern(c.pattern).matches(c.text, c.encoding), c.matches) << c.pattern;
    }
}

TEST(RowQuery, OrdersDesignationsNaturallyAndValuesNumerically) {
    struct Case {
        std::string a;
        std::string b;
        int natural;  // sign of compareNatural(a, b)
        int values;   // sign of compareValues(a, b)
    };
    const std::vector<Case> cases{
        {"AI800_1.2", "AI800_1.10", -1, -1},
        {"ai800_1.2", "AI800_1.2", 1, 1},  // equal but for case: a fixed order all the same
        {"x2", "x02", -1, -1},
        {"9", "10", -1, -1},
        {"-1.5", "0.25", -1, -1},
        {"-2", "-10", -1, 1},
        {"1E3", " 999 ", 1, 1},
        {"12", "abc", -1, -1},  // numbers, then text, then empty values
        {"  ", "abc", -1, 1},
        {"", "0", -1, 1},
        {"1.0", "1", 1, 1},  // equal numbers keep a fixed order by their text
        {"inf", "5", 1, 1},
        {"+5", "10", -1, -1},
        {"1E400", "1E300", 1, 1},  // beyond a double: still the larger
        {"x01y2", "x1y02", 1, 1},  // the first run of leading zeros decides
    };
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(compareNatural(c.a, c.b)), c.natural) << c.a << " " << c.b;
        EXPECT_EQ(sign(compareNatural(c.b, c.a)), -c.natural) << c.b << " " << c.a;
        EXPECT_EQ(sign(compareValues(c.a, c.b)), c.values) << c.a << " " << c.b;
        EXPECT_EQ(sign(compareValues(c.b, c.a)), -c.values) << c.b << " " << c.a;
    }
}

TEST(RowQuery, SortsRowsStablyByAnyColumn) {
    struct Case {
        Column column;
        SortOrder order;
        std::vector<RowIndex> rows;
    };
    const std::vector<Case> cases{
        {kDesignation, SortOrder::Ascending, {0, 1, 3, 4, 5, 2}},
        {kDesignation, SortOrder::Descending, {2, 5, 4, 3, 1, 0}},
        // Rows without the parameter have empty text: after every number, stable.
        {{ColumnKind::Parameter, "RANGEMAX"}, SortOrder::Ascending, {0, 1, 2, 3, 4, 5}},
        {{ColumnKind::Parameter, "ACT"}, SortOrder::Ascending, {2, 0, 1, 3, 4, 5}},
        {{ColumnKind::Type, {}}, SortOrder::Descending, {5, 4, 2, 3, 0, 1}},
        {kDescr, SortOrder::Ascending, {3, 0, 1, 2, 4, 5}},
    };
    for (const Case& c : cases) {
        std::vector<RowIndex> rows = golden().allRows();
        sortRows(golden(), rows, c.column, c.order);
        EXPECT_EQ(rows, c.rows) << columnHeading(c.column);
    }
    // Two exports of one node and one path: their rows tie, whatever order they come in.
    ElementTable twice;
    twice.append(loadExport(std::string(QOR_TEST_DATA_DIR) + "/golden_node.qor", {}));
    twice.append(loadExport(std::string(QOR_TEST_DATA_DIR) + "/golden_node.qor", {}));
    std::vector<RowIndex> reversed = twice.allRows();
    std::reverse(reversed.begin(), reversed.end());
    for (const ColumnKind kind : {ColumnKind::Node, ColumnKind::File}) {
        std::vector<RowIndex> rows = reversed;
        sortRows(twice, rows, {kind, {}});
        EXPECT_EQ(rows, reversed) << columnHeading({kind, {}});
    }
}

// The sort keys of single cells: natural designations, numbers as numbers, then text, empty
// cells last whichever way, and equal cells in the order they had.
TEST(RowQuery, SortKeysKeepTheOrderRulesWithEmptyCellsLast) {
    struct Case {
        Column column;
        std::vector<std::string> cells;
        std::vector<RowIndex> ascending;
        std::vector<RowIndex> descending;
    };
    const std::vector<Case> cases{
        {kDesignation,
         {"AI800_1.10", "AI800_1.2", "", "ai800_1.2", "AI800_1.1", "AI800_1.2"},
         {4, 1, 5, 3, 0, 2},
         {0, 3, 1, 5, 4, 2}},
        {{ColumnKind::Parameter, "RANGEMAX"},
         {"10", "9.5", "", "abc", "-1", "  ", "1E1", "10"},
         {4, 1, 6, 0, 7, 3, 2, 5},
         {3, 0, 7, 6, 1, 4, 2, 5}},
        {{ColumnKind::Parameter, "UNIT"}, {"x2", "", "X10", "x02"}, {0, 3, 2, 1}, {2, 3, 0, 1}},
        {{ColumnKind::Parameter, "NAME"},
         {"x1000000000", "x999999999", "x99999999"},
         {2, 1, 0},
         {0, 1, 2}},
    };
    const std::size_t boxes = scan::elementType(scan::ElementType::AI).parameters.size();
    for (const Case& c : cases) {
        ElementTable table;
        std::string arena;
        std::vector<ElementRecord> records;
        for (const std::string& cell : c.cells) {
            records.push_back({arena.size(), records.size() + 1, 0, scan::ElementType::AI});
            for (std::size_t field = 0; field <= boxes; ++field) {
                appendField(arena, field == static_cast<std::size_t>(
                                                table.fieldIndex(scan::ElementType::AI, c.column))
                                       ? std::string_view(cell)
                                       : std::string_view("x"));
            }
        }
        table.addFile({"north.qor", "12", "", {}}, std::move(arena));
        table.addRecords(records);
        for (const SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
            std::vector<RowIndex> rows = table.allRows();
            sortRows(table, rows, c.column, order);
            EXPECT_EQ(rows, order == SortOrder::Ascending ? c.ascending : c.descending)
                << columnHeading(c.column);
        }
    }
}

// On a generated export (many equal values and designations), the sort keys order rows as
// the comparisons do, ties in table order, both ways.
TEST(RowQuery, SortAgreesWithTheComparisonsOnAGeneratedExport) {
    const testing::TempDir dir;
    gen::GeneratorOptions options;
    options.targetBytes = 300'000;
    gen::generateExportFile(options, dir.file("plant.qor"));
    const ElementTable table = loadExport(dir.file("plant.qor"), {});
    ASSERT_GT(table.rowCount(), 1000U);
    for (const Column& column : {kDesignation, kDescr, Column{ColumnKind::Parameter, "RANGEMIN"},
                                 Column{ColumnKind::Parameter, "NAME"}}) {
        for (const SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
            std::vector<RowIndex> expected = table.allRows();
            std::stable_sort(expected.begin(), expected.end(), [&](RowIndex a, RowIndex b) {
                const std::string_view x = table.cell(a, column);
                const std::string_view y = table.cell(b, column);
                const bool xEmpty = scan::trimSpaces(x).empty();
                if (xEmpty != scan::trimSpaces(y).empty()) {
                    return !xEmpty;  // empty cells last, both ways
                }
                const int sign = column.kind == ColumnKind::Designation ? compareNatural(x, y)
                                                                        : compareValues(x, y);
                return order == SortOrder::Ascending || xEmpty ? sign < 0 : sign > 0;
            });
            std::vector<RowIndex> rows = table.allRows();
            sortRows(table, rows, column, order);
            EXPECT_EQ(rows, expected) << columnHeading(column);
        }
    }
}

}  // namespace
}  // namespace qor::elements
