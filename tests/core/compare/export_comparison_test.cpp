// Pairing and ordering of a comparison: each case runs on one thread in one chunk and in tiny
// chunks with its changes in memory, and on two and three threads in chunks so small that a
// boundary falls after every element with its changes in the scratch file (every one, or all but
// the first page); all agree.
#include "core/compare/export_comparison.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/compare/changes_csv.h"
#include "support/temp_dir.h"

namespace qor::compare {
namespace {

// An element: its header, then "KEY value" lines as the export writes them (a line without a
// value as it is), then the empty line that ends it.
std::string element(std::string_view designation, std::string_view kind,
                    std::vector<std::pair<std::string_view, std::string_view>> parameters) {
    std::string text = std::string(designation);
    text.resize(15, ' ');
    text += std::string(kind) + "\n";
    for (const auto& [key, value] : parameters) {
        std::string line = "  " + std::string(key);
        if (!value.empty()) {
            line.resize(17, ' ');
        }
        text += line + std::string(value) + "\n";
    }
    return text + "\n";
}

struct Case {
    const char* name;
    std::string oldText;
    std::string newText;
    std::vector<std::string> rows;  // the CSV rows, without CR LF
    CompareSelection selection = {};
    scan::NodeInfo newNode = {};
};

std::string csvRow(const ChangeView& change) {
    std::string row;
    appendChangeRow(row, change);
    return row.substr(0, row.size() - 2);
}

// The rows in order; read back one by one from the last, they are the same.
std::vector<std::string> rowsOf(const ChangeList& changes) {
    std::vector<std::string> rows;
    changes.read([&](std::size_t, const ChangeView& change) { rows.push_back(csvRow(change)); });
    ChangeReader reader(changes);
    for (std::size_t row = changes.size(); row-- > 0;) {
        EXPECT_EQ(csvRow(reader.at(row)), rows[row]);
    }
    return rows;
}

class NoMonitor : public CompareMonitor {
public:
    void progress(std::uint64_t, std::uint64_t) override {}
    bool cancelRequested() override { return false; }
};

TEST(ExportComparison, PairsOrdersAndSelectsAsTheReportShows) {
    CompareSelection aiNameOnly;
    for (TypeSelection& type : aiNameOnly.types) {
        type.compared = false;
    }
    aiNameOnly.of(scan::ElementType::AI) = {true, TypeSelection::filled(false), false};
    aiNameOnly.of(scan::ElementType::AI).parameters[0] = true;

    // Hundreds of names of one length share home slots of the pairing table: each must still
    // pair with its own name, found in any order.
    std::string manyOld;
    std::string manyNew;
    for (int i = 100; i < 400; ++i) {
        manyOld += element("AI" + std::to_string(i), "AIS", {{":NAME", std::to_string(i)}});
        manyNew =
            element("AI" + std::to_string(i), "AIS", {{":NAME", std::to_string(i)}}) + manyNew;
    }

    const std::vector<Case> cases = {
        {"names that share a table slot pair with their own", manyOld, manyNew, {}},
        {"k-th pairs with k-th; added in new order, removed after them in old order",
         element("AI1", "AIS", {{":NAME", "A"}}) + element("AI1", "AIS", {{":NAME", "B"}}) +
             element("AI2", "AIS", {{":NAME", "GONE2"}}) +
             element("AI3", "AIS", {{":NAME", "GONE3"}}),
         element("AI1", "AIS", {{":NAME", "A"}}) + element("AI9", "AIS", {{":NAME", "NEW"}}) +
             element("AI1", "AIS", {{":NAME", "C"}}) + element("AI1", "AIS", {{":NAME", "D"}}),
         {"AI,AI9,added,,,NEW", "AI,AI1,changed,NAME,B,C", "AI,AI1,added,,,D",
          "AI,AI2,removed,,GONE2,", "AI,AI3,removed,,GONE3,"}},
        {"node information first, then the types in the order of the statistics table",
         element("DAT1", "DAT(R)", {{":NAME", "R1"}}) + element("AIC1", "AIC", {{":UNIT", "m"}}) +
             element("AO1", "AOS", {{":NAME", "O"}}) + element("AI1", "AIS", {{":DESCR", "x"}}),
         element("DAT1", "DAT(R)", {{":NAME", "R2"}}) + element("AIC1", "AIC", {{":UNIT", "s"}}) +
             element("AO1", "AOS", {{":NAME", "P"}}) + element("AI1", "AIS", {{":DESCR", "y"}}),
         {"NODE,,changed,NODE NUMBER,,7", "AI,AI1,changed,DESCR,x,y", "AO,AO1,changed,NAME,O,P",
          "AIC,AIC1,changed,UNIT,m,s", "DAT(R),DAT1,changed,NAME,R1,R2"},
         {},
         {"7", "", ""}},
        {"other lines: the first that differs, the missing side empty; boxes in box order",
         element("DAT2", "DAT(I)", {{":VALUE", "1"}, {"* note", ""}, {":NAME", "N"}}) +
             element("DAT3", "DAT(I)", {{":VALUE", "5"}, {":EXTRA", "6"}}) +
             element("AI1", "AIS", {{":UNIT", "m"}, {":NAME", "A"}, {":SCANT", "1"}}),
         element("DAT2", "DAT(I)", {{":VALUE", "1"}, {"* other note", ""}, {":NAME", "N"}}) +
             element("DAT3", "DAT(I)", {{":VALUE", "5"}}) +
             element("AI1", "AIS", {{":SCANT", "2"}, {":NAME", "B"}, {":UNIT", "m"}}),
         {"AI,AI1,changed,NAME,A,B", "AI,AI1,changed,SCANT,1,2",
          "DAT(I),DAT2,changed,(other lines),  * note,  * other note",
          "DAT(I),DAT3,changed,(other lines),  :EXTRA         6,"}},
        {"line ends differ, an element open at the end is none, the last value read wins",
         element("DI1", "DIS", {{":NAME", "X"}, {":NAME", "Y"}}),
         element("DI1", "DIS", {{":NAME", "Y"}}) + "DI2            DIS\n  :NAME          OPEN",
         {}},
        {"a selection limits the types and parameters, and leaves out the other lines",
         element("AI1", "AIS", {{":NAME", "A"}, {":DESCR", "d"}, {"* c", ""}}) +
             element("DI1", "DIS", {{":NAME", "D"}}),
         element("AI1", "AIS", {{":NAME", "B"}, {":DESCR", "e"}, {"* k", ""}}) +
             element("DI1", "DIS", {{":NAME", "E"}}) + element("DI2", "DIS", {{":NAME", "F"}}),
         {"AI,AI1,changed,NAME,A,B"},
         aiNameOnly},
    };
    testing::TempDir dir;
    const std::string spill = dir.path().string();
    const std::pair<scan::PassSettings, ChangeStorage> ways[] = {
        {{1, 1 << 20}, {}}, {{1, 5}, {}}, {{2, 1}, {spill, 0, 1}}, {{3, 7}, {spill, 40, 24}}};
    for (const Case& c : cases) {
        std::string crlf;
        for (const char ch : c.oldText) {
            crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        }
        const std::string oldPath = dir.write("old.qor", crlf);
        const std::string newPath = dir.write("new.qor", c.newText);
        for (const auto& [pass, storage] : ways) {
            NoMonitor monitor;
            const Comparison comparison = compareExports(
                {{oldPath, {}, {}}, {newPath, c.newNode, {}}, c.selection, pass, storage}, monitor);
            EXPECT_EQ(rowsOf(comparison.changes), c.rows) << c.name << ", threads " << pass.threads;
        }
    }
}

TEST(ExportComparison, CountsEveryPairedElementOnceAndStopsWhenCancelledOrUnableToSpill) {
    testing::TempDir dir;
    const std::string oldPath =
        dir.write("old.qor", element("AI1", "AIS", {{":NAME", "A"}, {":UNIT", "m"}}) +
                                 element("AI2", "AIS", {{":NAME", "B"}}) +
                                 element("AI3", "AIS", {{":NAME", "C"}}));
    const std::string newPath =
        dir.write("new.qor", element("AI1", "AIS", {{":NAME", "Z"}, {":UNIT", "s"}}) +
                                 element("AI2", "AIS", {{":NAME", "B"}}) +
                                 element("AI4", "AIS", {{":NAME", "D"}}));
    NoMonitor monitor;
    const Comparison comparison =
        compareExports({{oldPath, {}, {}}, {newPath, {}, {}}, {}, {}, {}}, monitor);
    const TypeCounts& ai = comparison.countsOf(scan::ElementType::AI);
    EXPECT_EQ(ai.added, 1);
    EXPECT_EQ(ai.removed, 1);
    EXPECT_EQ(ai.changed, 1);  // two parameters, one element
    EXPECT_EQ(ai.unchanged, 1);
    EXPECT_EQ(comparison.changes.size(), 4u);

    class Cancelling : public NoMonitor {
    public:
        bool cancelRequested() override { return true; }
    } cancelling;
    EXPECT_THROW(compareExports({{oldPath, {}, {}}, {newPath, {}, {}}, {}, {}, {}}, cancelling),
                 CompareCancelled);
    const ChangeStorage nowhere{dir.path().string() + "/missing", 0, 1};
    EXPECT_THROW(compareExports({{oldPath, {}, {}}, {newPath, {}, {}}, {}, {}, nowhere}, monitor),
                 QorError);
}

}  // namespace
}  // namespace qor::compare
