#include "core/output/html_report.h"

#include <array>
#include <string>
#include <vector>

#include "core/platform/file_system.h"
#include "core/scan/element_sink.h"
#include "core/scan/node_info.h"
#include "support/scan_fixture.h"

// The golden files under data/html/ follow the page texts line for line, except three lines
// that are ours to choose: the element pages' Author meta line (line 6), the index footer link
// (line 49) and the frameset's author meta line (line 4).

namespace qor::output {
namespace {

using scan::ElementType;
using testing::readFile;
using testing::TempDir;

std::string golden(const std::string& name) {
    return readFile(testing::testData("html/" + name));
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::size_t rowCount(const std::string& page) {
    std::size_t rows = 0;
    for (std::size_t at = 0;
         (at = page.find("<tr>\r\n<td width=\"320\">", at)) != std::string::npos; ++at) {
        ++rows;
    }
    return rows;
}

const scan::NodeInfo kNode{"12 A", "Feed water & burners <north>", "2026-11-28, 09:41:07"};

// A page written the way the scan writes it: rows formatted apart, then written in one piece.
void writePage(HtmlElementPage& page, const std::string& path,
               const std::vector<scan::ElementRow>& rows, bool labelled) {
    const std::filesystem::path file(path);
    page.open(platform::FolderHandle::open(file.parent_path().string()), file.filename().string());
    std::string text;
    for (const scan::ElementRow& row : rows) {
        page.appendRow(scan::viewOf(row), labelled, text);
    }
    page.write(text);
    page.close(platform::Placement::New);
}

TEST(HtmlReport, ElementPagesMatchGoldenFiles) {
    TempDir dir;
    // A labelled channel type: cabinet and module lead; a header with a comma, an escaped value.
    const std::vector<std::string> aiColumns{"CABINET", "MODULE", "CHANNEL", "NAME,", "DESCR",
                                             "",        "",       "",        "",      ""};
    HtmlElementPage ai(kNode, 4, aiColumns, "Analog Input");
    scan::ElementRow first{};
    first[12] = "CB801";
    first[13] = "AI800_1";
    first[1] = "AI800_1.1";
    first[2] = "TT1201";
    first[3] = "Feed \"hot\" water, <B&W>";
    scan::ElementRow unlabelled{};  // a channel of a module without a cabinet
    unlabelled[1] = "AI810_3.1";
    unlabelled[2] = "TT1301";
    unlabelled[4] = "degC";  // past the last cell once the two label cells lead
    writePage(ai, dir.file("ai.html"), {first, unlabelled}, true);

    HtmlElementPage datr(kNode, 2, {"ITEM NUMBER", "NAME", ""}, "DAT Element - Real");
    scan::ElementRow dat{};
    dat[1] = "DAT4";
    dat[2] = "FUEL_FLOW_R";
    writePage(datr, dir.file("datr.html"), {dat}, false);

    EXPECT_EQ(readFile(dir.file("ai.html")), golden("ai_labelled_page.html"));
    EXPECT_EQ(readFile(dir.file("datr.html")), golden("datr_page.html"));

    const scan::NodeInfo oddDate{"12", "", "28-Nov-2026 <night & \"day\">"};
    HtmlElementPage di(oddDate, 0, {"CHANNEL <&>"}, "Digital Input");
    writePage(di, dir.file("di.html"), {}, false);
    const std::string text = readFile(dir.file("di.html"));
    EXPECT_NE(text.find("System status on: 28-Nov-2026 &lt;night &amp; &quot;day&quot;&gt; (date"),
              std::string::npos);
    EXPECT_NE(text.find("<font size=\"3\" face=\"Arial\">CHANNEL &lt;&amp;&gt;</font>"),
              std::string::npos);
}

TEST(HtmlReport, FramePagesMatchGoldenFiles) {
    TempDir dir;
    std::array<std::string, scan::kElementTypeCount> links;
    links[0] = buildIndexLinkLine("AI_Node12 A_04Dec2026.html", "Analog Input", 8);
    links[4] = buildIndexLinkLine("DI_Node12 A_04Dec2026.html", "Digital Input", 9);
    links[11] = buildIndexLinkLine("DATR_Node12 A_04Dec2026.html", "DAT(R)", 40000);
    links[12] = buildIndexLinkLine("PIDCON_Node12 A_04Dec2026.html", "PIDCON", 4);
    const platform::FolderHandle folder = platform::FolderHandle::open(dir.str());
    writeIndexPage(folder, kNode, links);
    writeFramesetPage(folder);
    writeEmptyPage(folder);
    EXPECT_EQ(readFile(dir.file("index.html")), golden("index_page.html"));
    EXPECT_EQ(readFile(dir.file("preview.html")), golden("preview_page.html"));
    EXPECT_EQ(readFile(dir.file("dummy.html")), golden("empty_page.html"));

    // A node number of digits gives the plain line; anything else in a name is %XX.
    EXPECT_EQ(buildIndexLinkLine("AI_Node12_04Dec2026.html", "Analog Input", 57),
              "<a href=AI_Node12_04Dec2026.html>Analog Input  ( 57 )</a><br>");
    EXPECT_EQ(encodeHrefFileName("aZ09-_.~()"), "aZ09-_.~()");
    EXPECT_EQ(encodeHrefFileName("a b>c%\"'#&?\xE9/"), "a%20b%3Ec%25%22%27%23%26%3F%E9%2F");
}

class HtmlScanTest : public testing::ScanFixture {
protected:
    HtmlScanTest()
        : ScanFixture(std::string(QOR_EXAMPLES_DIR) + "/sample.qor",
                      options::OutputMode::HtmlReport) {
        session.nodeInfo = scan::readNodeInfo(session.databasePath, session.nodeInfo, ui);
        testing::enable(session, ElementType::AI);
        testing::enable(session, ElementType::PIDCON);
        testing::enable(session, ElementType::DATR);
        testing::applyCabinets(session, {{"CB801", "AI800_1"}, {"CB801", "AI810_2"}});
    }
};

TEST_F(HtmlScanTest, WritesOnePagePerTypeThenTheFramePagesAndAsksBeforeReplacing) {
    ASSERT_FALSE(run().cancelled);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(testing::filesIn(session.lastScan.outputFolder),
              (std::vector<std::string>{"AI_Node12_04Dec2026.html", "DATR_Node12_04Dec2026.html",
                                        "PIDCON_Node12_04Dec2026.html", "dummy.html", "index.html",
                                        "preview.html"}));
    EXPECT_EQ(rowCount(outputFile("AI_Node12_04Dec2026.html")), 8u);
    EXPECT_EQ(rowCount(outputFile("PIDCON_Node12_04Dec2026.html")), 4u);
    EXPECT_EQ(rowCount(outputFile("DATR_Node12_04Dec2026.html")), 3u);
    // Labels lead the AI rows only; a channel without a cabinet shows blank label cells.
    const auto row = [](std::initializer_list<std::string> texts) {
        std::string cells = "<tr>";
        for (const std::string& text : texts) {
            cells +=
                "\r\n<td width=\"320\">\r\n<p align=\"left\"><font size=\"2\" face=\"Arial\">" +
                text + "</font></p>\r\n</td>";
        }
        return cells;
    };
    const std::string ai = outputFile("AI_Node12_04Dec2026.html");
    EXPECT_NE(ai.find(row({"CB801", "AI800_1", "AI800_1.1"})), std::string::npos);
    EXPECT_NE(ai.find(row({"&nbsp;", "&nbsp;", "AI810_3.1"})), std::string::npos);
    EXPECT_NE(outputFile("PIDCON_Node12_04Dec2026.html").find(row({"PIDCON1", "FIC1203"})),
              std::string::npos);
    EXPECT_NE(std::find(ui.statusTexts.begin(), ui.statusTexts.end(),
                        "Writing to HTML report files - 'AI' elements..."),
              ui.statusTexts.end());

    std::vector<std::string> index = linesOf(outputFile("index.html"));
    ASSERT_EQ(index.size(), 55u);
    std::vector<std::string> links(index.begin() + 29, index.begin() + 43);
    std::vector<std::string> expected(14);
    expected[0] = "<a href=AI_Node12_04Dec2026.html>Analog Input  ( 8 )</a><br>";
    expected[11] = "<a href=DATR_Node12_04Dec2026.html>DAT(R)  ( 3 )</a><br>";
    expected[12] = "<a href=PIDCON_Node12_04Dec2026.html>PIDCON  ( 4 )</a><br>";
    EXPECT_EQ(links, expected);

    // Again, keeping the AI page: it is left alone and keeps its line in the new index.
    const std::string aiPath =
        testing::nativePath(session.lastScan.outputFolder + "/AI_Node12_04Dec2026.html");
    dir.write(std::filesystem::relative(aiPath, dir.path()).string(), "kept");
    ui.answers = {false, true, true};
    ASSERT_FALSE(run().cancelled);
    ASSERT_EQ(ui.prompts.size(), 3u);
    EXPECT_NE(ui.prompts[0].text.find(aiPath), std::string::npos);
    EXPECT_EQ(readFile(aiPath), "kept");
    index = linesOf(outputFile("index.html"));
    EXPECT_EQ(index[29], expected[0]);
    EXPECT_EQ(index[41], expected[12]);
}

TEST_F(HtmlScanTest, AFailedReadLeavesNoPageBehind) {
    // The export vanishes after the page was started: no half page, no index, and not the
    // folders the scan made for them.
    session.databasePath = dir.file("gone.qor");
    EXPECT_THROW(run(), scan::ReadFailed);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace qor::output
