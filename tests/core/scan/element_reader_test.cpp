#include "core/scan/element_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/options/search_options.h"
#include "core/output/csv_output.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace qor::scan {
namespace {

std::string param(std::string_view key, std::string_view value) {
    std::string line = "  " + std::string(key);
    line.resize(17, ' ');
    return line + std::string(value);
}

// Keeps every row handed over, as the CSV row text.
class CollectingSink : public ElementSink {
public:
    bool accept = true;
    bool labelled = false;
    std::vector<std::string> rows;
    long long finishedWith = -1;
    bool abandoned = false;

    bool begin(const SinkContext& context) override {
        labelled = context.labelled;
        return accept;
    }
    void write(const ElementRow& row) override {
        rows.push_back(output::csvRowText(row, labelled));
    }
    void finish(long long count) override { finishedWith = count; }
    std::string abandon() noexcept override {
        abandoned = true;
        return "Abandoned.";
    }
};

class ReadElementsTest : public ::testing::Test {
protected:
    std::optional<long long> read(ElementType type, const std::string& content,
                                  std::initializer_list<std::string_view> parameters = {}) {
        const ElementTypeInfo& info = elementType(type);
        selection = {};
        selection.enabled = true;
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            for (const auto name : parameters) {
                selection.parameters[box] =
                    selection.parameters[box] || name == info.parameters[box];
            }
        }
        columns = scan::buildColumnData(info, selection, info.channel && applyLabels);
        ExportScan source(dir.write("export.qor", content));
        const CabinetIndex cabinets(labels);
        const ReaderInput input{source,    "12",        dir.str(), "04Dec2026",
                                selection, applyLabels, cabinets};
        return readElements(type, input, columns, sink, ui);
    }

    testing::TempDir dir;
    testing::ScriptedUi ui;
    CollectingSink sink;
    scan::TypeOptions selection;
    scan::ColumnData columns;
    scan::CabinetLabels labels;
    bool applyLabels = false;
};

TEST_F(ReadElementsTest, ElementsEndAtTheFirstEmptyLineOnly) {
    const std::string content =
        "noise :NAME          NOT-IN-ELEMENT\r\n"
        "AI1.1          AIS\r\n" +
        param(":NAME", "FIRST") + "\r\n" + param(":UNIT", "bar") +
        "\r\n   \r\n" +  // a line of spaces does not end the element
        param(":DESCR", "after blanks") + "\r\n\r\n" + "between elements " +
        param(":NAME", "IGNORED") + "\r\n" + "AI1.2          AIS\r\n" + param(":NAME", "LAST") +
        "\r\n";
    EXPECT_EQ(read(ElementType::AI, content, {"NAME", "DESCR"}), 1);
    // UNIT is not selected: its column stays empty. The unfinished last element is not written.
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0], "AI1.1,FIRST,after blanks,,,,,,,,");
    EXPECT_EQ(sink.finishedWith, 1);
    EXPECT_EQ(ui.lastProgressMaximum, 2);  // both headers are counted for the progress bar
}

TEST_F(ReadElementsTest, HeadersWithoutAnEmptyLineBetweenThemMakeOneRow) {
    const std::string content = "AI1.1          AIS\n" + param(":NAME", "ONE") + "\n" +
                                param(":DESCR", "kept") + "\n" + "AI1.2          AIS\n" +
                                param(":NAME", "TWO") + "\n\n";
    EXPECT_EQ(read(ElementType::AI, content, {"NAME", "DESCR"}), 1);
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0], "AI1.2,TWO,kept,,,,,,,,");
}

TEST_F(ReadElementsTest, TheLastLineReadWinsAndTheFirstKeyOnALine) {
    // The value is the 30 characters 15 after the key, wherever the key stands.
    const std::string content = "dic7           dic\r" + param(":name", "early") + "\r" +
                                param(":NAME", "a") + param(":NAME", "b") + "\r" + " " +
                                param(":inv", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") + "\r\r";
    EXPECT_EQ(read(ElementType::DIC, content, {"NAME", "INV"}), 1);
    ASSERT_EQ(sink.rows.size(), 1u);
    // Lower-case tokens and keys are found; the designation keeps its case.
    EXPECT_EQ(sink.rows[0], "dic7,a  :NAME          b,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123,,,,,,,,");
}

TEST_F(ReadElementsTest, SelectedParametersFillSlotsInBoxOrderWithOrWithoutLabels) {
    const std::string content = "DI810_1.12     DIS810\n" + param(":ACT", "1") + "\n" +
                                param(":NAME", "XS200") + "\n" + param(":DESCR", "unused") +
                                "\n\n" + "DI810_2.1      DIS\n" + param(":NAME", "XS201") + "\n\n";
    read(ElementType::DI, content, {"NAME", "ACT"});
    EXPECT_EQ(sink.rows,
              (std::vector<std::string>{"DI810_1.12,XS200,1,,,,,,,,", "DI810_2.1,XS201,,,,,,,,,"}));

    sink.rows.clear();
    applyLabels = true;
    labels = {{"CB1", "di810_1"}, {"CB2", "DI810_1"}, {"CB3", "OTHER"}};
    read(ElementType::DI, content, {"NAME", "ACT"});
    // The last matching row gives the cabinet; the module is the table's text.
    EXPECT_EQ(sink.rows, (std::vector<std::string>{"CB2,DI810_1,DI810_1.12,XS200,1,,,,,,,,",
                                                   ",,DI810_2.1,XS201,,,,,,,,,"}));

    // A non-channel type never gets labels, and its values land in the same slots.
    sink.rows.clear();
    read(ElementType::DIC,
         "DIC1           DIC\n" + param(":INV", "1") + "\n" + param(":NAME", "N") + "\n\n",
         {"NAME", "INV"});
    EXPECT_EQ(sink.rows, std::vector<std::string>{"DIC1,N,1,,,,,,,,"});
    EXPECT_EQ(columns.columns[0], "ITEM NUMBER");  // for the sheets and pages
    EXPECT_EQ(columns.headerLine, "CHANNEL,NAME,INV,");
}

TEST_F(ReadElementsTest, ASecondChannelHeaderDoesNotKeepTheFirstOnesCabinet) {
    applyLabels = true;
    labels = {{"CB801", "AI800_1"}};
    const std::string content =
        "AI800_1.1      AIS\nAI900_9.1      AIS\n" + param(":NAME", "X") + "\n\n";
    read(ElementType::AI, content, {"NAME"});
    EXPECT_EQ(sink.rows, std::vector<std::string>{",,AI900_9.1,X,,,,,,,,,"});
}

TEST_F(ReadElementsTest, DesignationsWithoutADotAreReportedOncePerRead) {
    applyLabels = true;
    labels = {{"CB0", ""}, {"CB1", "AI1"}};
    std::string content;
    for (int i = 0; i < 50; ++i) {
        std::string designation = "AI" + std::to_string(i);
        designation.resize(15, ' ');
        content += designation + "AIS\n\n";
    }
    EXPECT_EQ(read(ElementType::AI, content), 50);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].module, "modMain");
    EXPECT_EQ(ui.errors[0].procedure, "CabinetModules");
    EXPECT_NE(ui.errors[0].description.find("'AI0'"), std::string::npos);
    EXPECT_NE(ui.errors[0].description.find("50"), std::string::npos);
    // Without a skeleton only the row with an empty skeleton matches; the element is written.
    EXPECT_EQ(sink.rows[0], "CB0,,AI0,,,,,,,,,,");
}

TEST_F(ReadElementsTest, CountsBeyondSixteenBits) {
    std::string content;
    content.reserve(40000 * 24);
    for (int i = 0; i < 40000; ++i) {
        content += "DAT1           DAT(B)\n\n";
    }
    EXPECT_EQ(read(ElementType::DATB, content, {"NAME"}), 40000);
    EXPECT_EQ(sink.rows.size(), 40000u);
    EXPECT_EQ(ui.lastProgressMaximum, 40000);
    EXPECT_LT(ui.yields, 1000);  // yields are paced by time, not once per line
}

TEST_F(ReadElementsTest, ADeclinedOutputSkipsTheTypeAndAFailureAbandonsIt) {
    sink.accept = false;
    EXPECT_EQ(read(ElementType::AI, "AI1.1          AIS\n\n"), std::nullopt);
    EXPECT_TRUE(sink.rows.empty());
    EXPECT_EQ(sink.finishedWith, -1);

    sink.accept = true;
    selection.enabled = true;
    columns = {};
    ExportScan gone(dir.file("gone.qor"));
    const CabinetIndex cabinets;
    const ReaderInput input{gone, "12", dir.str(), "04Dec2026", selection, false, cabinets};
    try {
        readElements(ElementType::AO, input, columns, sink, ui);
        FAIL() << "a missing export file must end the read";
    } catch (const ReadFailed& failure) {
        EXPECT_EQ(failure.type(), ElementType::AO);
        const std::string text = failure.what();
        EXPECT_NE(text.find("AO"), std::string::npos);
        EXPECT_NE(text.find("gone.qor"), std::string::npos);
        EXPECT_NE(text.find("Abandoned."), std::string::npos);
    }
    EXPECT_TRUE(sink.abandoned);
}

}  // namespace
}  // namespace qor::scan
