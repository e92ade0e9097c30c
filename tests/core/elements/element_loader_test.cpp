// The loader against the hand-made export: what every element holds and where its header is,
// alone and in chunks so small that elements span chunk boundaries; then a plant of good,
// foreign and unreadable files.
#include "core/elements/element_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace qor::elements {
namespace {

using scan::ElementType;

const std::string kGolden = std::string(QOR_TEST_DATA_DIR) + "/golden_node.qor";

struct Expected {
    ElementType type;
    std::uint64_t line;
    std::vector<std::string> fields;
};

std::vector<std::string> fieldsOf(const ElementTable& table, RowIndex row) {
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < table.fieldCount(row); ++i) {
        fields.emplace_back(table.field(row, i));
    }
    return fields;
}

TEST(ElementLoader, ReadsEveryElementWithItsHeaderLineInAnyChunking) {
    const scan::CabinetLabels cabinets{{"CAB-A", "ai800_1"}, {"CAB-B", "DI810_1"}};
    const std::vector<Expected> expected{
        {ElementType::AI,
         8,
         {"AI800_1.1", "TI101", "Feed water temperature", "degC", "250.0", "0.0", "2", "1.0", "500",
          "CAB-A", "ai800_1"}},
        {ElementType::AI,
         18,
         {"AI800_2.3", "TI\"7", "Pump 1, east bearing", "degC", "", "", "", "", "", "", ""}},
        {ElementType::DI,
         23,
         {"DI810_1.12", "XS200", "Valve open", "0", "", "", "", "1", "CAB-B", "DI810_1"}},
        {ElementType::AIC, 29, {"AIC12", "TC12", "Calc, average", "%"}},
        {ElementType::DATB, 34, {"DAT1", "FLAG1"}},
        {ElementType::DATR, 37, {"DAT4", "SETP4"}},
    };
    for (const std::size_t chunkBytes :
         {std::size_t{1} << 20, std::size_t{1}, std::size_t{7}, std::size_t{32}}) {
        SCOPED_TRACE(chunkBytes);
        LoadSettings settings;
        settings.cabinets = &cabinets;
        settings.chunkBytes = chunkBytes;
        const ElementTable table = loadExport(kGolden, settings);
        ASSERT_EQ(table.files().size(), 1U);
        EXPECT_EQ(table.files()[0].nodeNumber, "12");
        EXPECT_EQ(table.files()[0].nodeDescription, "Boiler house unit 1");
        ASSERT_EQ(table.rowCount(), expected.size());
        for (RowIndex row = 0; row < table.rowCount(); ++row) {
            EXPECT_EQ(table.record(row).type, expected[row].type) << row;
            EXPECT_EQ(table.record(row).line, expected[row].line) << row;
            EXPECT_EQ(fieldsOf(table, row), expected[row].fields) << row;
        }
        EXPECT_EQ(table.typeCounts()[scan::indexOf(ElementType::AI)], 2U);
        EXPECT_EQ(table.rowsOfType(ElementType::DI), std::vector<RowIndex>{2});

        // A search reads the stretches of whole elements that hold its text, at their lines;
        // every element that holds it is among them.
        for (const auto& [text, lines] :
             std::vector<std::pair<std::string, std::vector<std::uint64_t>>>{
                 {"VALVE", {23}}, {"zzz", {}}, {"AI800", {8, 18}}}) {
            settings.requiredText = text;
            const ElementTable found = loadExport(kGolden, settings);
            std::vector<std::uint64_t> seen;
            for (const ElementRecord& record : found.records()) {
                seen.push_back(record.line);
            }
            if (chunkBytes == 32) {  // a chunk per element
                EXPECT_EQ(seen, lines) << text;
            } else {
                EXPECT_TRUE(std::includes(seen.begin(), seen.end(), lines.begin(), lines.end()))
                    << text;
            }
        }
    }
}

// An export is read once, cut as UTF-8 is; when its bytes decide otherwise (a lone Latin-1 byte
// anywhere, in a stretch a search skips too), the elements are read again as the code page cuts
// them: the fields of a load told the encoding beforehand.
TEST(ElementLoader, ValuesAreCutAsTheExportsEncodingDecides) {
    testing::TempDir dir;
    std::string name;
    for (int i = 0; i < 20; ++i) {
        name += "\xC3\xBC";  // one character in UTF-8, two in a code page
    }
    for (const bool latin : {false, true}) {
        const std::string path =
            dir.write(latin ? "latin.qor" : "utf8.qor",
                      "AI800_1.1      AIS810\r\n  :NAME          " + name + "\r\n\r\n" +
                          "AI800_2.1      AIS810\r\n  :DESCR         " +
                          (latin ? "K\xE4lte" : "Kalt") + "\r\n\r\n");
        for (const std::size_t chunkBytes : {std::size_t{1} << 20, std::size_t{16}}) {
            for (const std::string required : {"", "AI800_1"}) {
                SCOPED_TRACE(path + " " + std::to_string(chunkBytes) + " " + required);
                LoadSettings automatic;
                automatic.chunkBytes = chunkBytes;
                automatic.requiredText = required;
                LoadSettings told = automatic;
                told.encoding = latin ? kDefaultCodePage : TextEncoding::Utf8;
                const ElementTable decided = loadExport(path, automatic);
                const ElementTable known = loadExport(path, told);
                EXPECT_EQ(decided.files()[0].encoding.encoding, *told.encoding);
                EXPECT_EQ(decided.field(0, 1).size(), latin ? 30U : 40U);
                EXPECT_EQ(fieldsOf(decided, 0), fieldsOf(known, 0));
            }
        }
    }
}

TEST(ElementLoader, LoadsAPlantAndSaysWhyFilesWereSkipped) {
    const testing::TempDir dir;
    std::filesystem::create_directory(dir.path() / "unit2");
    std::filesystem::copy_file(kGolden, dir.file("b.QOR"));
    std::filesystem::copy_file(kGolden, dir.file("unit2/a.qor"));
    dir.write("notes.qor", "shopping list\r\nmilk\r\n");
    dir.write("other.txt", "not looked at");
    std::filesystem::create_directory(dir.path() / "folder.qor");  // a folder, not a file
    // A file that cannot be read: a pipe here, a file another program holds unshared there.
#ifdef _WIN32
    const HANDLE held = CreateFileW(dir.path().wstring().append(L"\\unit2\\held.qor").c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::shared_ptr<void> closeHeld(held, CloseHandle);
#else
    ASSERT_EQ(::mkfifo(dir.file("unit2/held.qor").c_str(), 0600), 0);
#endif

    const FolderListing flat = exportsInFolder(dir.str(), false);
    EXPECT_EQ(flat.exports, (std::vector<std::string>{dir.file("b.QOR"), dir.file("notes.qor")}));
    FolderListing all = exportsInFolder(dir.str(), true);
    ASSERT_EQ(all.exports.size(), 4U);

    std::uint64_t lastDone = 0;
    std::uint64_t lastTotal = 0;
    LoadSettings settings;
    settings.jobs = 3;
    LoadControl control;
    control.progress = [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastTotal = total;
    };
    const PlantLoad load = loadExports(all.exports, settings, control);
    EXPECT_FALSE(load.cancelled);
    ASSERT_EQ(load.table.files().size(), 2U);
    EXPECT_EQ(load.table.files()[0].path, dir.file("b.QOR"));
    EXPECT_EQ(load.table.files()[1].path, dir.file("unit2/a.qor"));
    EXPECT_EQ(load.table.rowCount(), 12U);
    EXPECT_EQ(load.table.record(6).file, 1U);
    EXPECT_EQ(load.table.designation(6), "AI800_1.1");
    // Every file read counts, the one that turned out to be no export too.
    EXPECT_EQ(lastDone, 2 * std::filesystem::file_size(kGolden) +
                            std::filesystem::file_size(dir.file("notes.qor")));
    EXPECT_GE(lastTotal, lastDone);

    ASSERT_EQ(load.skipped.size(), 2U);
    EXPECT_EQ(load.skipped[0].path, dir.file("notes.qor"));
    EXPECT_TRUE(load.skipped[0].notAnExport);
    EXPECT_EQ(load.skipped[1].path, dir.file("unit2/held.qor"));
    EXPECT_FALSE(load.skipped[1].notAnExport);
    EXPECT_NE(load.skipped[1].reason.find("held.qor"), std::string::npos);

    std::atomic<bool> cancel{true};
    EXPECT_TRUE(loadExports(all.exports, settings, {{}, &cancel}).cancelled);
    EXPECT_THROW(loadExport(kGolden, {}, {{}, &cancel}), LoadCancelled);
    EXPECT_THROW(loadExport(dir.file("notes.qor"), {}), NotAnExport);
}

}  // namespace
}  // namespace qor::elements
