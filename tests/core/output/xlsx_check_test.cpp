#include "core/output/xlsx_check.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>

#include "core/base/qor_error.h"
#include "support/temp_dir.h"

namespace qor::output {
namespace {

// A sheet laid out as the workbook library writes it, holding these rows.
std::string sheetXml(const std::vector<int>& rows, std::string_view cut = {}) {
    std::string data;
    for (const int row : rows) {
        data += "<row r=\"" + std::to_string(row) + "\"><c><is><t>cell " + std::to_string(row) +
                "</t></is></c></row>";
    }
    if (!cut.empty()) {
        data.erase(data.find(cut), 1);
    }
    return "<?xml version=\"1.0\"?>\n<worksheet>" +
           (rows.empty() ? std::string("<sheetData/>") : "<sheetData>" + data + "</sheetData>") +
           "<pageMargins/></worksheet>";
}

// What was written: rows 1 to 3, 5 and 6.
SheetContent written(const std::string& name) {
    SheetContent content{name, {{1, 3}, {5, 6}}, 0};
    const std::string sheet = sheetXml({1, 2, 3, 5, 6});
    content.dataBytes = sheet.find("</sheetData>") - sheet.find("<row");
    return content;
}

TEST(XlsxCheck, EverySheetRowAndByteIsAccountedForInPiecesOfAnySize) {
    const std::string whole = sheetXml({1, 2, 3, 5, 6});
    const std::size_t bytes = written("S").dataBytes;
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {whole, std::nullopt},
        {sheetXml({1, 2, 6}), "lacks row 3"},
        {sheetXml({1, 2, 3, 6}), "lacks row 5"},
        {sheetXml({1, 2, 3}), "lacks rows 5 to 6"},
        {sheetXml({}), "lacks rows 1 to 6"},
        {sheetXml({1, 2, 3, 5, 6, 7}), "holds row 7 out of place"},
        {sheetXml({1, 2, 2, 3, 5, 6}), "holds row 2 out of place"},
        {sheetXml({1, 2, 3, 5, 6}, " 5"), "holds " + std::to_string(bytes - 1) + " of the " +
                                              std::to_string(bytes) + " bytes of its rows"},
        {whole.substr(0, 120), "is cut short"},
        {sheetXml({1}).replace(whole.find("<row") + 8, 1, "x"), "is damaged"},
    };
    const SheetContent expected = written("S");
    for (const auto& [sheet, fault] : cases) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, sheet.size()}) {
            SheetCheck check(expected);
            for (std::size_t at = 0; at < sheet.size(); at += piece) {
                check.add(std::string_view(sheet).substr(at, piece));
            }
            EXPECT_EQ(check.finish(), fault) << sheet << " in pieces of " << piece;
        }
    }
}

TEST(XlsxCheck, TheReadBackThroughTheZipLibraryFindsEachDamageAndNamesIt) {
    testing::TempDir dir;
    const std::string path = dir.file("book.xlsx");
    const std::string types = "<?xml version=\"1.0\"?>\n<Types><Default/></Types>\n";
    const std::string sheet = sheetXml({1, 2, 3, 5, 6});
    // A part large enough that the file is read back on two threads.
    const std::string theme =
        "<?xml version=\"1.0\"?>\n<theme>" + std::string(5 << 20, ' ') + "</theme>";
    struct Damage {
        bool flip = false;  // a byte of the sheet's data in the file
        bool twice = false;
        // Stored (-1) or deflated at this level; at 0 the sheet's text is in the file as it is,
        // so that a changed byte leaves the data well formed: only its checksum tells.
        int level = -1;
    };
    const auto checked = [&](const std::string& typesPart, const std::string& sheetPart,
                             const std::vector<SheetContent>& sheets, Damage damage = {}) {
        zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
        std::vector<std::pair<const char*, std::string>> parts{
            {"[Content_Types].xml", typesPart},
            {"xl/theme/theme1.xml", theme},
            {"xl/worksheets/sheet1.xml", sheetPart}};
        if (damage.twice) {
            parts.push_back(parts.back());
        }
        for (const auto& [name, content] : parts) {
            zip_fileinfo info{};
            zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr,
                                  damage.level >= 0 ? Z_DEFLATED : 0, std::max(damage.level, 0), 0);
            zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
            zipCloseFileInZip(zip);
        }
        EXPECT_EQ(zipClose(zip, nullptr), ZIP_OK);
        if (damage.flip) {
            std::string bytes = testing::readFile(path);
            const std::string_view name = "xl/worksheets/sheet1.xml";
            bytes[damage.level > 0 ? bytes.find(name) + name.size() + 10
                                   : bytes.find(sheet) + 60] ^= 0x20;
            dir.write("book.xlsx", bytes);
        }
        try {
            checkWorkbook(path, "The AI workbook 'AI.xlsx'", sheets);
            return std::string("whole");
        } catch (const QorError& e) {
            const std::string text = e.what();
            const std::string start = "The AI workbook 'AI.xlsx' came out incomplete: ";
            EXPECT_TRUE(text.starts_with(start) && text.ends_with(" (is the disk full?)")) << text;
            return text.substr(start.size(), text.size() - start.size() - 20);
        }
    };
    EXPECT_EQ(checked(types, sheet, {written("S")}), "whole");
    EXPECT_EQ(readWorkbookPart(path, "[Content_Types].xml"), types);
    EXPECT_THROW(readWorkbookPart(path, "xl/workbook.xml"), QorError);
    EXPECT_EQ(checked(types.substr(0, 40), sheet, {written("S")}),
              "its part '[Content_Types].xml' is damaged");
    for (const int level : {-1, 0, 1}) {  // its checksum no longer matches, or its data
        EXPECT_EQ(checked(types, sheet, {written("S")}, {.flip = true, .level = level}),
                  "its part 'xl/worksheets/sheet1.xml' is damaged")
            << level;
        EXPECT_EQ(checked(types, sheet, {written("S")}, {.level = level}), "whole") << level;
        EXPECT_EQ(checked(types, sheetXml({1, 2, 3, 6}), {written("S")}, {.level = level}),
                  "sheet 'S' lacks row 5")
            << level;
    }
    EXPECT_EQ(checked(types, sheetXml({1, 2, 3, 6}), {written("Analog Input")}),
              "sheet 'Analog Input' lacks row 5");
    EXPECT_EQ(checked(types, sheet, {written("S"), written("T")}), "it lacks sheet 'T'");
    EXPECT_EQ(checked(types, sheet, {written("S")}, {.twice = true}), "it holds sheet 'S' twice");
    // The first fault in the file's order is the one named.
    EXPECT_EQ(checked(types.substr(0, 40), sheet, {written("S")}, {.twice = true}),
              "its part '[Content_Types].xml' is damaged");
    dir.write("book.xlsx", "PK not a zip");
    EXPECT_THROW(checkWorkbook(path, "The AI workbook", {}), QorError);
}

}  // namespace
}  // namespace qor::output
