// Designations and values cut at 15 and 30 characters of 1 to 4 bytes, through every way an
// export is read and written: scan outputs, --compare and --find.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "core/output/xlsx_check.h"
#include "support/qorscan_fixture.h"
#include "support/run_command.h"
#include "support/scan_variant.h"

namespace qor {
namespace {

using testing::CommandResult;
using testing::readFile;

std::string times(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

struct Letter {
    const char* name;
    std::string bytes;  // one character as the export holds it
    std::string shown;  // the same in UTF-8, as --find and workbook cells have it
};

const Letter kLetters[] = {
    {"ASCII", "Z", "Z"},
    {"2-byte UTF-8", "\xC3\x84", "\xC3\x84"},
    {"3-byte UTF-8", "\xE2\x82\xAC", "\xE2\x82\xAC"},
    {"4-byte UTF-8", "\xF0\x9D\x84\x9E", "\xF0\x9D\x84\x9E"},
    {"Windows-1250", "\xC4", "\xC3\x84"},
};

class CharacterCut : public testing::QorscanFixture, public ::testing::WithParamInterface<Letter> {
protected:
    CommandResult run(std::vector<std::string> args) {
        std::vector<std::string> all = testing::qorscanVariantArguments();
        if (args.front() == "--find") {
            all.insert(all.end(), {"--settings", settings});
        } else {
            all = argsWith(all);
            all.insert(all.end(), {"--result-folder", results, "--overwrite", "yes"});
        }
        all.insert(all.end(), args.begin(), args.end());
        return testing::runCommand(QOR_QORSCAN_PATH, all, dir);
    }
    std::string result(const std::string& folder, const std::string& name) const {
        return results + "/Node12_04Dec2026/" + folder + "/" + name;
    }

    // Designations of 14, 15 and 16 characters (AI and then the letter), NAMEs of 29, 30 and
    // 31 letters; `last` ends each NAME.
    std::string exportText(const std::string& letter, const std::string& last) const {
        std::string text = "LAN1           CS513\r\n  :NODE          12\r\n\r\n";
        for (int extra = 0; extra < 3; ++extra) {
            text += "AI" + times(letter, 12 + extra) + " AIS810\r\n";
            text += "  :NAME          " + times(letter, 28 + extra) + last + "\r\n\r\n";
        }
        return text;
    }
    // What every output keeps of element `extra` (0 to 2): at most 15 and 30 characters.
    static std::string designation(const std::string& letter, int extra) {
        return "AI" + times(letter, std::min(12 + extra, 13));
    }
    static std::string name(const std::string& letter, const std::string& last, int extra) {
        return extra == 0 ? times(letter, 28) + last
                          : times(letter, 29) + (extra == 1 ? last : letter);
    }
};

TEST_P(CharacterCut, EveryOutputKeepsWholeCharactersUpToTheCut) {
    const Letter& letter = GetParam();
    const std::string file = dir.write("cut.qor", exportText(letter.bytes, "1"));

    for (const char* output : {"csv", "html", "xlsx"}) {
        const CommandResult scanned = run({"--all", "--output", output, file});
        ASSERT_EQ(scanned.exitCode, 0) << output << scanned.err;
    }
    const std::string csv = readFile(result("Csv Files", "AI_Node12_04Dec2026.csv"));
    const std::string page = readFile(result("Html Files", "AI_Node12_04Dec2026.html"));
    const std::string sheet = output::readWorkbookPart(
        result("Xls Files", "AI_Node12_04Dec2026.xlsx"), "xl/worksheets/sheet1.xml");
    for (int extra = 0; extra < 3; ++extra) {
        const std::string kept = designation(letter.bytes, extra);
        const std::string named = name(letter.bytes, "1", extra);
        EXPECT_NE(csv.find(kept + "," + named + ","), std::string::npos) << extra << csv;
        EXPECT_NE(page.find(">" + kept + "<"), std::string::npos) << extra;
        EXPECT_NE(page.find(">" + named + "<"), std::string::npos) << extra;
        // Cells hold UTF-8, whatever the export's encoding.
        EXPECT_NE(sheet.find(">" + designation(letter.shown, extra) + "<"), std::string::npos)
            << extra;
        EXPECT_NE(sheet.find(">" + name(letter.shown, "1", extra) + "<"), std::string::npos)
            << extra;
    }

    // A comparison pairs the elements by their cut designations; the 31st letter of a NAME
    // is cut off, so only the two shorter NAMEs changed.
    const std::string newer = dir.write("newer.qor", exportText(letter.bytes, "2"));
    const CommandResult same = run({"--compare", "--exit-code", file, file});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    const CommandResult changed = run({"--compare", "--csv-raw", file, newer});
    ASSERT_EQ(changed.exitCode, 0) << changed.err;
    const std::string changes = readFile(result("Changes", "Changes_Node12_04Dec2026.csv"));
    for (int extra = 0; extra < 3; ++extra) {
        const std::string row = "AI," + designation(letter.bytes, extra) + ",changed,NAME," +
                                name(letter.bytes, "1", extra) + "," +
                                name(letter.bytes, "2", extra) + "\r\n";
        EXPECT_EQ(changes.find(row) != std::string::npos, extra < 2) << extra << changes;
    }

    // --find decides on the cut texts, `?` stepping over whole characters.
    const std::string pattern = "ai" + times("?", 13);
    const CommandResult found = run({"--find", pattern, file});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_EQ(found.out, file + ":7: AI " + designation(letter.shown, 1) + "\n" + file +
                             ":10: AI " + designation(letter.shown, 2) + "\n");
    const CommandResult named = run({"--find", times(letter.shown, 29) + "1", file});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.out, file + ":7: AI " + designation(letter.shown, 1) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Letters, CharacterCut, ::testing::ValuesIn(kLetters),
                         [](const ::testing::TestParamInfo<Letter>& letter) {
                             std::string name = letter.param.name;
                             std::erase_if(name, [](char c) { return !std::isalnum(c); });
                             return name;
                         });

}  // namespace
}  // namespace qor
