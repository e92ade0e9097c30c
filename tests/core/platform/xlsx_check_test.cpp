#include "core/platform/xlsx_check.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/qor_error.h"
#include "support/temp_dir.h"

namespace qor::platform {
namespace {

using Parts = std::vector<std::pair<std::string, std::string>>;

std::string rowXml(int row) {
    return "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) +
           "\" t=\"inlineStr\"><is><t>cell " + std::to_string(row) + "</t></is></c></row>";
}

// A sheet laid out as the workbook library writes it, with `rows` between its sheetData tags.
std::string sheetXml(const std::string& rows) {
    return "<?xml version=\"1.0\"?>\n<worksheet><dimension ref=\"A1\"/>" +
           (rows.empty() ? std::string("<sheetData/>") : "<sheetData>" + rows + "</sheetData>") +
           "<pageMargins left=\"0.7\"/></worksheet>";
}

std::string rowsXml(const std::vector<int>& rows) {
    std::string xml;
    for (const int row : rows) {
        xml += rowXml(row);
    }
    return xml;
}

// What was written: rows 1 to 3, 5 and 6.
SheetContent written(const std::string& name = "S") {
    SheetContent content{name, {}, rowsXml({1, 2, 3, 5, 6}).size()};
    for (const int row : {1, 2, 3, 5, 6}) {
        content.addRow(row);
    }
    return content;
}

void writeZip(const std::string& path, const Parts& parts) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, content] : parts) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                        0, 0, 0),  // stored: a test may change its bytes
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())),
                  ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

TEST(XlsxCheck, EverySheetRowAndByteIsAccountedFor) {
    std::string shortCell = rowsXml({1, 2, 3, 5, 6});
    shortCell.erase(shortCell.find("cell 5") + 4, 1);
    const struct {
        std::string sheet;
        std::optional<std::string> fault;
    } cases[] = {
        {sheetXml(rowsXml({1, 2, 3, 5, 6})), std::nullopt},
        {sheetXml(rowsXml({1, 2, 6})), "lacks row 3"},
        {sheetXml(rowsXml({1, 2, 3, 6})), "lacks row 5"},
        {sheetXml(rowsXml({1, 2, 3})), "lacks rows 5 to 6"},
        {sheetXml(rowsXml({1, 2, 3, 5, 6, 7})), "holds row 7 out of place"},
        {sheetXml(rowsXml({1, 2, 2, 3, 5, 6})), "holds row 2 out of place"},
        {sheetXml(shortCell), "holds " + std::to_string(shortCell.size()) + " of the " +
                                  std::to_string(shortCell.size() + 1) + " bytes of its rows"},
        {sheetXml(rowsXml({1, 2, 3, 5, 6})).substr(0, 300), "is cut short"},
        {sheetXml(rowsXml({1}) + "<row r=\"2x\">"), "is damaged"},
        {sheetXml(""), "lacks rows 1 to 6"},
    };
    const SheetContent expected = written();
    for (const auto& c : cases) {
        // In pieces of every size the reader may hand over, tags cut anywhere.
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, c.sheet.size()}) {
            SheetCheck check(expected);
            for (std::size_t at = 0; at < c.sheet.size(); at += piece) {
                check.add(std::string_view(c.sheet).substr(at, piece));
            }
            EXPECT_EQ(check.finish(), c.fault) << c.sheet << " in pieces of " << piece;
        }
    }
    SheetCheck empty(SheetContent{"E", {}, 0});
    empty.add(sheetXml(""));
    EXPECT_EQ(empty.finish(), std::nullopt);
}

TEST(XlsxCheck, TheReadBackFindsEachDamageAndNamesIt) {
    testing::TempDir dir;
    const std::string types = "<?xml version=\"1.0\"?>\n<Types><Default/></Types>\n";
    const std::string sheet = sheetXml(rowsXml({1, 2, 3, 5, 6}));
    const std::string path = dir.file("book.xlsx");
    const std::string shownAs = "The AI workbook '/r/AI.xlsx'";
    const auto faultOf = [&](const Parts& parts, const std::vector<SheetContent>& sheets,
                             int flipAt = -1) -> std::string {
        writeZip(path, parts);
        if (flipAt >= 0) {
            std::string bytes = testing::readFile(path);
            bytes[bytes.find(sheet) + static_cast<std::size_t>(flipAt)] ^= 0x20;
            dir.write("book.xlsx", bytes);
        }
        try {
            checkWorkbook(path, shownAs, sheets);
            return {};
        } catch (const QorError& e) {
            return e.what();
        }
    };
    const auto incomplete = [&](const std::string& why) {
        return shownAs + " came out incomplete: " + why + " (is the disk full?)";
    };
    const Parts sound = {{"[Content_Types].xml", types}, {"xl/worksheets/sheet1.xml", sheet}};
    EXPECT_EQ(faultOf(sound, {written()}), "");
    EXPECT_EQ(faultOf({{"[Content_Types].xml", types.substr(0, 40)}, sound[1]}, {written()}),
              incomplete("its part '[Content_Types].xml' is damaged"));
    EXPECT_EQ(faultOf({sound[0], {"xl/worksheets/sheet1.xml", sheetXml(rowsXml({1, 2, 3, 6}))}},
                      {written("Analog Input")}),
              incomplete("sheet 'Analog Input' lacks row 5"));
    EXPECT_EQ(faultOf(sound, {written(), written("T")}), incomplete("it lacks sheet 'T'"));
    EXPECT_EQ(faultOf(sound, {written()}, 200),  // the checksum no longer matches
              incomplete("its part 'xl/worksheets/sheet1.xml' is damaged"));
    dir.write("book.xlsx", "PK not a zip");
    EXPECT_THROW(checkWorkbook(path, shownAs, {}), QorError);

    writeZip(path, sound);
    EXPECT_EQ(readWorkbookPart(path, "[Content_Types].xml"), types);
    EXPECT_THROW(readWorkbookPart(path, "xl/workbook.xml"), QorError);
}

}  // namespace
}  // namespace qor::platform
