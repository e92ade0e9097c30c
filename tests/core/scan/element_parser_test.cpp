// The reading rules, through the one pass that reads every type: each case runs on one thread
// in one chunk and in tiny chunks, and on several threads in chunks so small that a boundary
// falls after every empty line, inside long stretches without one, and between the CR and LF
// of a line end.
#include "core/scan/element_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/output/csv_output.h"
#include "core/scan/column_data.h"
#include "core/scan/parallel_pass.h"
#include "support/temp_dir.h"

namespace qor::scan {
namespace {

std::string param(std::string_view key, std::string_view value) {
    std::string line = "  " + std::string(key);
    line.resize(17, ' ');
    return line + std::string(value);
}

// Each element as its CSV row text, one per line.
class CsvRows : public RowFormatter {
public:
    explicit CsvRows(bool labelled) : labelled_(labelled) {}
    void format(const ElementRowView& row, std::string& out) const override {
        out += output::csvRowText(row, labelled_) + "\n";
    }

private:
    bool labelled_;
};

struct Selection {
    ElementType type;
    std::vector<std::string_view> parameters;  // every box when empty
};

struct TypeRows {
    std::vector<std::string> rows;
    long long withoutDot = 0;
    std::string firstWithoutDot;
    bool operator==(const TypeRows&) const = default;
};

class ElementParserTest : public ::testing::Test {
protected:
    // Reads `content` for the selected types in every way the pass can split it; all must agree.
    std::vector<TypeRows> read(const std::string& content, const std::vector<Selection>& types) {
        std::vector<std::unique_ptr<CsvRows>> formatters;
        std::vector<TypePlan> plan;
        for (const Selection& selection : types) {
            const ElementTypeInfo& info = elementType(selection.type);
            TypeOptions options{true, {}};
            for (std::size_t box = 0; box < info.parameters.size(); ++box) {
                options.parameters[box] = selection.parameters.empty();
                for (const auto name : selection.parameters) {
                    options.parameters[box] =
                        options.parameters[box] || name == info.parameters[box];
                }
            }
            const bool labelled = info.channel && applyLabels;
            columns = buildColumnData(info, options, labelled);
            formatters.push_back(std::make_unique<CsvRows>(labelled));
            plan.push_back({&info, wantedParameters(info, options, columns.columns, applyLabels),
                            labelled, formatters.back().get()});
        }
        const CabinetIndex cabinets(labels);
        const ElementParser parser(plan, cabinets);
        const std::string path = dir.write("export.qor", content);
        std::vector<TypeRows> first;
        for (const Way& way : ways) {
            ExportScan source(path, {way.readBytes, kLineCeilingBytes});
            std::vector<TypeRows> found(types.size());
            std::vector<std::string> text(types.size());
            readExportOnce(source, parser, {way.threads, way.chunkBytes},
                           [&](ChunkResult& chunk, std::uint64_t, std::uint64_t) {
                               for (std::size_t t = 0; t < types.size(); ++t) {
                                   text[t] += chunk.types[t].output;
                                   if (found[t].withoutDot == 0) {
                                       found[t].firstWithoutDot = chunk.types[t].firstWithoutDot;
                                   }
                                   found[t].withoutDot += chunk.types[t].withoutDot;
                               }
                           });
            for (std::size_t t = 0; t < types.size(); ++t) {
                for (std::size_t at = 0, end; (end = text[t].find('\n', at)) != std::string::npos;
                     at = end + 1) {
                    found[t].rows.push_back(text[t].substr(at, end - at));
                }
            }
            if (first.empty()) {
                first = found;
                cutLines = source.cutLines();
            } else {
                EXPECT_EQ(found, first) << way.threads << " threads, chunks of " << way.chunkBytes;
            }
        }
        return first;
    }
    std::vector<std::string> rows(const std::string& content, Selection type) {
        return read(content, {std::move(type)})[0].rows;
    }

    testing::TempDir dir;
    ColumnData columns;
    CabinetLabels labels;
    bool applyLabels = false;
    struct Way {
        std::size_t threads, chunkBytes, readBytes;
    };
    // Large inputs read a byte at a time would take minutes: their tests choose other ways.
    std::vector<Way> ways = {{1, 1 << 20, 1 << 18}, {1, 5, 1}, {2, 1, 3}, {7, 5, 1}};
    long long cutLines = 0;  // as the first way counted them
};

TEST_F(ElementParserTest, ElementsEndAtTheFirstEmptyLineOnly) {
    const std::string content =
        "noise :NAME          NOT-IN-ELEMENT\r\n"
        "AI1.1          AIS\r\n" +
        param(":NAME", "FIRST") + "\r\n" + param(":UNIT", "bar") +
        "\r\n   \r\n" +  // a line of spaces does not end the element
        param(":DESCR", "after blanks") + "\r\n\r\n" + "between elements " +
        param(":NAME", "IGNORED") + "\r\n" + "AI1.2          AIS\r\n" + param(":NAME", "LAST") +
        "\r\n";
    // UNIT is not selected: its column stays empty. The unfinished last element is not written.
    EXPECT_EQ(rows(content, {ElementType::AI, {"NAME", "DESCR"}}),
              std::vector<std::string>{"AI1.1,FIRST,after blanks,,,,,,,,"});
}

TEST_F(ElementParserTest, HeadersWithoutAnEmptyLineBetweenThemMakeOneRow) {
    const std::string content = "AI1.1          AIS\n" + param(":NAME", "ONE") + "\n" +
                                param(":DESCR", "kept") + "\n" + "AI1.2          AIS\n" +
                                param(":NAME", "TWO") + "\n\n";
    EXPECT_EQ(rows(content, {ElementType::AI, {"NAME", "DESCR"}}),
              std::vector<std::string>{"AI1.2,TWO,kept,,,,,,,,"});
}

TEST_F(ElementParserTest, TheLastLineReadWinsAndTheFirstKeyOnALine) {
    // The value is the 30 characters 15 after the key, wherever the key stands.
    const std::string content = "dic7           dic\r" + param(":name", "early") + "\r" +
                                param(":NAME", "a") + param(":NAME", "b") + "\r" + " " +
                                param(":inv", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") + "\r\r";
    // Lower-case tokens and keys are found; the designation keeps its case.
    EXPECT_EQ(rows(content, {ElementType::DIC, {"NAME", "INV"}}),
              std::vector<std::string>{
                  "dic7,a  :NAME          b,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123,,,,,,,,"});
}

TEST_F(ElementParserTest, SelectedParametersFillSlotsInBoxOrderWithOrWithoutLabels) {
    const std::string content = "DI810_1.12     DIS810\n" + param(":ACT", "1") + "\n" +
                                param(":NAME", "XS200") + "\n" + param(":DESCR", "unused") +
                                "\n\n" + "DI810_2.1      DIS\n" + param(":NAME", "XS201") + "\n\n";
    EXPECT_EQ(rows(content, {ElementType::DI, {"NAME", "ACT"}}),
              (std::vector<std::string>{"DI810_1.12,XS200,1,,,,,,,,", "DI810_2.1,XS201,,,,,,,,,"}));

    applyLabels = true;
    labels = {{"CB1", "di810_1"}, {"CB2", "DI810_1"}, {"CB3", "OTHER"}};
    // The last matching row gives the cabinet; the module is the table's text.
    EXPECT_EQ(rows(content, {ElementType::DI, {"NAME", "ACT"}}),
              (std::vector<std::string>{"CB2,DI810_1,DI810_1.12,XS200,1,,,,,,,,",
                                        ",,DI810_2.1,XS201,,,,,,,,,"}));
    // A non-channel type never gets labels, and its values land in the same slots.
    EXPECT_EQ(
        rows("DIC1           DIC\n" + param(":INV", "1") + "\n" + param(":NAME", "N") + "\n\n",
             {ElementType::DIC, {"NAME", "INV"}}),
        std::vector<std::string>{"DIC1,N,1,,,,,,,,"});

    // A second header does not keep the first one's cabinet.
    labels = {{"CB801", "AI800_1"}};
    EXPECT_EQ(rows("AI800_1.1      AIS\nAI900_9.1      AIS\n" + param(":NAME", "X") + "\n\n",
                   {ElementType::AI, {"NAME"}}),
              std::vector<std::string>{",,AI900_9.1,X,,,,,,,,,"});
}

TEST_F(ElementParserTest, TypesKeepTheirOwnElementsOnTheSameLines) {
    // A DI header inside an open AI element opens a DI element of its own; the empty line
    // ends both, and each takes the values of the lines it was open for.
    const std::string content = "AI1.1          AIS\n" + param(":NAME", "A") + "\n" +
                                "DI1.1          DIS\n" + param(":DESCR", "both") + "\n\n" +
                                "DAT7           DAT(R)\n\n";
    const auto found = read(content, {{ElementType::AI, {"NAME", "DESCR"}},
                                      {ElementType::DI, {"NAME", "DESCR"}},
                                      {ElementType::DATR, {}}});
    EXPECT_EQ(found[0].rows, std::vector<std::string>{"AI1.1,A,both,,,,,,,,"});
    EXPECT_EQ(found[1].rows, std::vector<std::string>{"DI1.1,,both,,,,,,,,"});
    EXPECT_EQ(found[2].rows, std::vector<std::string>{"DAT7,,,,,,,,,,"});
}

TEST_F(ElementParserTest, DesignationsWithoutADotAreCountedAndStillWritten) {
    applyLabels = true;
    labels = {{"CB0", ""}, {"CB1", "AI1"}};
    std::string content;
    for (int i = 0; i < 50; ++i) {
        std::string designation = "AI" + std::to_string(i);
        designation.resize(15, ' ');
        content += designation + "AIS\n\n";
    }
    const TypeRows found = read(content, {{ElementType::AI, {}}})[0];
    EXPECT_EQ(found.withoutDot, 50);
    EXPECT_EQ(found.firstWithoutDot, "AI0");
    // Without a skeleton only the row with an empty skeleton matches; the element is written.
    ASSERT_EQ(found.rows.size(), 50u);
    EXPECT_EQ(found.rows[0], "CB0,,AI0,,,,,,,,,,");
}

// Lines are looked at 64 bytes at a time and kept up to the line ceiling: a token on either side
// of a 64-byte boundary counts, a line of exactly the ceiling is whole, a longer one is cut.
TEST_F(ElementParserTest, TokensAround64ByteBoundariesAndLinesAtTheCeiling) {
    std::string content;
    std::vector<std::string> expected;
    for (std::size_t at = 60; at <= 68; ++at) {
        std::string header = "AI" + std::to_string(at);
        header.resize(at, ' ');
        const std::string name = "N" + std::to_string(at);
        content += header + "AIS\n" + std::string(at, ' ') + param(":NAME", name) + "\n\n";
        expected.push_back("AI" + std::to_string(at) + "," + name + ",,,,,,,,,");
    }
    // A header that starts past the first 64 bytes, a key at the end of the second 64, and a
    // designation of the full 15 characters.
    content += std::string(70, ' ') + "AI70.1         AIS\n" + std::string(125, ' ') +
               param(":NAME", "N127") + "\n\nAI34567.9012345 AIS\n\n";
    expected.push_back("AI70.1,N127,,,,,,,,,");
    expected.push_back("AI34567.9012345,,,,,,,,,,");
    EXPECT_EQ(rows(content, {ElementType::AI, {"NAME"}}), expected);

    content.clear();
    expected.clear();
    ways.resize(1);
    for (const std::size_t length : {kLineCeilingBytes, kLineCeilingBytes + 1}) {
        std::string header = "AI" + std::to_string(length);
        header.resize(length - 3, ' ');
        content += header + "AIS\n" + param(":NAME", "LONG") + "\n\n";
    }
    // The longer header loses its kind token's last letter to the cut.
    expected.push_back("AI" + std::to_string(kLineCeilingBytes) + ",LONG,,,,,,,,,");
    EXPECT_EQ(rows(content, {ElementType::AI, {"NAME"}}), expected);
    EXPECT_EQ(cutLines, 1);
}

// An element longer than eight chunks is handed out at line ends: each following chunk waits
// for the element its predecessor left open, on however many threads.
TEST_F(ElementParserTest, ElementsLongerThanManyChunksKeepTheirValues) {
    ways = {{1, 1 << 16, 1 << 16}, {4, 1 << 16, 1 << 16}, {4, 1 << 12, 1 << 12}};
    std::string content;
    std::vector<std::string> expected;
    const std::string comment = "  * " + std::string(60, 'c') + "\n";
    for (int i = 0; i < 6; ++i) {
        const std::string name = "N" + std::to_string(i);
        content += "AI" + std::to_string(i) + ".1          AIS\n" + param(":NAME", name) + "\n";
        for (int line = 0; line < 20000; ++line) {
            content += comment;
        }
        content += param(":DESCR", "D" + std::to_string(i)) + "\n\n";
        expected.push_back("AI" + std::to_string(i) + ".1," + name + ",D" + std::to_string(i) +
                           ",,,,,,,,");
    }
    EXPECT_EQ(rows(content, {ElementType::AI, {"NAME", "DESCR"}}), expected);
}

TEST_F(ElementParserTest, CountsGoBeyondSixteenBits) {
    std::string content;
    content.reserve(40000 * 24);
    ways.resize(1);  // a count, not a way of splitting
    for (int i = 0; i < 40000; ++i) {
        content += "DAT1           DAT(B)\n\n";
    }
    EXPECT_EQ(rows(content, {ElementType::DATB, {"NAME"}}).size(), 40000u);
}

}  // namespace
}  // namespace qor::scan
