// The rows written beside the workbook library against the library's own: every part of the
// file, unpacked, byte for byte, for single cells of every kind and for whole scans.
#include <unzip.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/output/deflate_stream.h"
#include "core/output/xlsx_check.h"
#include "core/output/xlsx_package.h"
#include "core/output/xlsx_workbook.h"
#include "export_generator.h"
#include "support/scan_fixture.h"

namespace qor::output {
namespace {

namespace fs = std::filesystem;

// Every part of the workbook at `path`, unpacked, by name.
std::map<std::string, std::string> partsOf(const std::string& path) {
    std::map<std::string, std::string> parts;
    const Unzip zip = openUnzip(path);
    EXPECT_NE(zip, nullptr) << path;
    char name[256];
    for (int status = unzGoToFirstFile(zip.get()); zip != nullptr && status == UNZ_OK;
         status = unzGoToNextFile(zip.get())) {
        unzGetCurrentFileInfo64(zip.get(), nullptr, name, sizeof name, nullptr, 0, nullptr, 0);
        parts[name] = readWorkbookPart(path, name);
    }
    return parts;
}

// Runs `write` with the rows written one way and the other, and expects the same parts.
template <typename Write>
void expectSameParts(const std::string& what, Write&& write) {
    std::map<std::string, std::string> made[2];
    for (const RowWriting writing : {RowWriting::Library, RowWriting::Direct}) {
        const testing::TempDir dir;
        setRowWriting(writing);
        write(dir);
        setRowWriting(RowWriting::Direct);
        for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
            if (entry.path().extension() == ".xlsx") {
                const std::string name = fs::relative(entry.path(), dir.path()).string();
                for (const auto& [part, content] : partsOf(entry.path().string())) {
                    made[writing == RowWriting::Direct][name + ":" + part] = content;
                }
            }
        }
    }
    ASSERT_FALSE(made[0].empty()) << what;
    for (const auto& [part, content] : made[0]) {
        EXPECT_TRUE(made[1].count(part) == 1 && made[1][part] == content) << what << ": " << part;
    }
    EXPECT_EQ(made[0].size(), made[1].size()) << what;
}

struct Cell {
    std::int64_t row;
    int column;
    std::string text;   // a number when `decimals` is set
    int decimals = -1;  // of the number format
    int style = -1;     // a heading style by index
};

TEST(WorkbookRows, EachKindOfCellIsWrittenAsTheLibraryWritesIt) {
    const HeadingStyle styles[] = {{0x99CCFF, false}, {0xFFFF00, true}};
    const double tiny = std::numeric_limits<double>::denorm_min();
    const std::vector<std::pair<std::string, std::vector<Cell>>> sheets = {
        {"texts",
         {{3, 1, "CHANNEL", -1, 1},
          {3, 2, "", -1, 1},
          {3, 4, "UNSTYLED"},
          {4, 1, "plain"},
          {4, 2, "a&b<c>d \"q\" 'a'"},
          {4, 3, " leading"},
          {4, 4, "trailing "},
          {4, 5, "\ttab"},
          {4, 6, "line\n"},
          {4, 7, "\rcarriage"},
          {4, 8, "ctl\x01\x08\x0B\x0C\x1F\x7F end"},
          {4, 9, "_x0041_"},
          {4, 10, "Zaw\xC3\xB3r \xE2\x82\xAC \xE6\xBC\xA2"},
          {4, 11, "\xC2\xA0nbsp\xC2\xA0"},
          {4, 12, std::string("cut\0here", 8)},
          {5, 27, "AA"},
          {5, 702, "ZZ"},
          {5, 703, "AAA"},
          {5, 16384, "XFD"},
          {6, 3, "first"},
          {6, 1, "before"},
          {6, 3, "again"},
          {7, 2, "", -1, 0},
          {1048576, 1, "last row"}}},
        {"numbers",
         {{4, 1, "0", 0},
          {4, 2, "-0", 0},
          {4, 3, "9.2", 1},
          {4, 4, "0.1", 1},
          {4, 5, "1e-15", 15},
          {4, 6, "123456789012345", 0},
          {4, 7, "1234567890123456", 0},
          {4, 8, "9999999999999998", 0},
          {4, 9, "1e16", 0},
          {4, 10, "-98765.4321", 4},
          {4, 11, "1e300", 2},
          {4, 12, "-2.5e-300", 3},
          {5, 1, "inf", 0},
          {5, 2, "-inf", 0},
          {5, 3, "nan", 0},
          {5, 4, "tiny", 5},
          {5, 5, "0.30000000000000004", 15},
          {5, 6, "1e-5", 5},
          {5, 7, "4503599627370497.5", 1},
          {9, 1, "250", 0}}},
    };
    const auto valueOf = [&](const std::string& text) {
        return text == "tiny" ? tiny : text == "nan" ? std::nan("") : std::stod(text);
    };
    expectSameParts("cells", [&](const testing::TempDir& dir) {
        // A creation time of its own: the library takes the clock's for none.
        XlsxWorkbook book(platform::FolderHandle::open(dir.str()), {"texts", "numbers", "none"},
                          1'700'000'000);
        for (std::size_t sheet = 0; sheet < 2; ++sheet) {
            book.merge(sheet, 1, 1, 5, "status & heading", styles[0]);
            for (int column = 1; column <= 5; ++column) {
                book.write(sheet, 1, column, column == 1 ? "status & heading" : "", &styles[0]);
            }
        }
        // The sheets' rows interleave, as the one workbook's types do.
        std::size_t next[2] = {0, 0};
        while (next[0] < sheets[0].second.size() || next[1] < sheets[1].second.size()) {
            for (std::size_t sheet = 0; sheet < 2; ++sheet) {
                if (next[sheet] == sheets[sheet].second.size()) {
                    continue;
                }
                const Cell& cell = sheets[sheet].second[next[sheet]++];
                if (cell.decimals >= 0) {
                    book.writeNumber(sheet, cell.row, cell.column, valueOf(cell.text),
                                     cell.decimals);
                } else {
                    book.write(sheet, cell.row, cell.column, cell.text,
                               cell.style >= 0 ? &styles[cell.style] : nullptr);
                }
            }
        }
        book.setColumnWidth(0, 1, 3, 30);
        book.freezeRows(0, 3);
        book.setAutofilter(0, 3, 1048576, 12);
        book.save(dir.file("cells.xlsx"), platform::Placement::New);
    });
}

TEST(WorkbookRows, CellsTheLibraryRefusesAreRefusedTheSameWay) {
    for (const RowWriting writing : {RowWriting::Library, RowWriting::Direct}) {
        setRowWriting(writing);
        const testing::TempDir dir;
        XlsxWorkbook book(platform::FolderHandle::open(dir.str()), {"S"}, 0);
        book.write(0, 5, 1, "row 5");
        EXPECT_THROW(book.write(0, 4, 1, "row 4 after row 5"), QorError);
        EXPECT_THROW(book.write(0, 6, 16385, "past XFD"), QorError);
        EXPECT_THROW(book.writeNumber(0, 1048577, 1, 1, 0), QorError);
        EXPECT_THROW(book.write(0, 6, 1, std::string(32768, 'x')), QorError);
        book.write(0, 6, 1, std::string(32767, 'x'));
        book.save(dir.file("refused.xlsx"), platform::Placement::New);
    }
    setRowWriting(RowWriting::Direct);
}

// A generated export and one of awkward values, scanned into both kinds of workbook.
class WorkbookRowsScan : public testing::ScanFixture {
protected:
    WorkbookRowsScan() {
        session.options.outputMode = options::OutputMode::ExcelFilesOnly;
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            testing::enable(session, info.type);
        }
    }
};

TEST_F(WorkbookRowsScan, WholeScansGiveTheLibrarysFiles) {
    gen::GeneratorOptions generator;
    generator.seed = 7;
    generator.targetBytes = 600 << 10;
    gen::generateExportFile(generator, dir.file("generated.qor"));
    std::string awkward = "LAN1           CS513\r\n  :NODE          12\r\n\r\n";
    const char* values[] = {"160.0",    "-0.25",    "0.000000000000001", "007",  "1e5",
                            "-0.0",     "9.2",      "123456789012345",   " x ",  "a&b<c>",
                            "\x01\x1F", "Zaw\xF3r", "\xC3\xB3\xC3",      "0x1F", "\t"};
    int element = 0;
    for (const char* value : values) {
        awkward += "AI80" + std::to_string(element++) + ".1        AIS810\r\n  :NAME          " +
                   value + "\r\n  :DESCR         " + value + "\r\n  :RANGEMAX      " + value +
                   "\r\n\r\n";
    }
    dir.write("awkward.qor", awkward);
    for (const std::string input : {"generated.qor", "awkward.qor"}) {
        for (const bool one : {false, true}) {
            expectSameParts(input + (one ? ", one workbook" : ", per type"),
                            [&](const testing::TempDir& results) {
                                session.databasePath = dir.file(input);
                                session.options.scanResultFolderPath = results.str();
                                session.options.oneExcelWorkbook = one;
                                EXPECT_FALSE(run().cancelled);
                                EXPECT_TRUE(ui.errors.empty());
                            });
        }
    }
}

// Pieces compressed apart, laid end to end, unpack as one stream with the combined checksum.
TEST(WorkbookRows, DeflatePiecesMakeOneStream) {
    std::string data;
    for (int i = 0; data.size() < 3'000'000; ++i) {
        data += "<row r=\"" + std::to_string(i) + "\"><c r=\"A" + std::to_string(i * 7919 % 10007) +
                "\"/></row>";
    }
    const std::vector<std::vector<std::size_t>> splits = {
        {}, {0}, {1}, {5, 5}, {100, 1'000'000}, {2'999'999}, {data.size()}};
    for (const auto& [engine, split] : [&] {
             std::vector<std::pair<DeflateEngine, std::vector<std::size_t>>> cases;
             for (const DeflateEngine engine : deflateEngines()) {
                 for (const std::vector<std::size_t>& split : splits) {
                     cases.emplace_back(engine, split);
                 }
             }
             return cases;
         }()) {
        std::string packed;
        std::uint32_t crc = 0;
        std::size_t at = 0;
        for (std::size_t piece = 0; piece <= split.size(); ++piece) {
            const std::size_t end = piece < split.size() ? split[piece] : data.size();
            DeflateStream stream([&packed](std::string_view bytes) { packed.append(bytes); },
                                 engine);
            stream.add(std::string_view(data).substr(at, end - at));
            stream.finish(piece == split.size());
            crc = combineCrc(crc, stream.crc(), stream.size());
            at = end;
        }
        std::string unpacked(data.size() + 1, '\0');
        z_stream z{};
        ASSERT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
        z.next_in = reinterpret_cast<Bytef*>(packed.data());
        z.avail_in = static_cast<uInt>(packed.size());
        z.next_out = reinterpret_cast<Bytef*>(unpacked.data());
        z.avail_out = static_cast<uInt>(unpacked.size());
        const std::string what = "engine " + std::to_string(static_cast<int>(engine)) + ", " +
                                 std::to_string(split.size()) + " splits";
        EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << what;
        unpacked.resize(z.total_out);
        inflateEnd(&z);
        EXPECT_TRUE(unpacked == data) << what;
        EXPECT_EQ(crc, crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                             static_cast<uInt>(data.size())))
            << what;
    }
}

}  // namespace
}  // namespace qor::output
