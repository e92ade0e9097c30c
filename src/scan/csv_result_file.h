#pragma once

#include <string>
#include <string_view>

#include "core/user_interface.h"
#include "platform/output_file.h"
#include "scan/element_sink.h"

namespace qor::scan {

// The overwrite question of an existing CSV file. When the file exists and the user says
// No, returns false and leaves it unchanged. Otherwise (re)creates it holding the header
// line and a line of a single CR, and returns true; a failure on the way is reported with
// the standard error message (modMain.FileExist) and still ends in true.
bool FileExist(const std::string& path, std::string_view headerLine, std::string_view titleSuffix,
               UserInterface& ui);

// FileExist, also telling whether the file was (re)written by this call.
struct CsvPreparation {
    bool proceed = false;
    bool created = false;
};
CsvPreparation prepareCsvFile(const std::string& path, std::string_view headerLine,
                              std::string_view titleSuffix, UserInterface& ui);

// The overwrite question of an existing HTML element page: true when the page exists and
// the user keeps it. Writes nothing.
bool HTMLFileExist(const std::string& path, std::string_view titleSuffix, UserInterface& ui);

// The row text of an element: slots 1 to 11 (13 fields starting with slots 12 and 13 when
// labelled) joined by ",". A value holding a comma or a double quote is quoted, its quotes
// doubled, so that it cannot shift the following columns.
std::string BuildRowText(const ElementRow& row, bool labelled);
// The same, appended to `text`.
void AppendRowText(std::string& text, const ElementRow& row, bool labelled);

// The CSV result file of one element type: header line, a line holding one CR, then one
// row per element. Rows go through one buffered file handle per read, so a scan is not
// bound by a system call per element.
class CsvResultFile : public ElementSink {
public:
    explicit CsvResultFile(UserInterface& ui) : ui_(ui) {}

    bool begin(const SinkContext& context) override;
    void write(const ElementRow& row) override;  // AppendCsvRow
    void finish(long long writtenCount) override;
    std::string abandon() noexcept override;

    const std::string& path() const { return path_; }

private:
    UserInterface& ui_;
    std::string path_;
    bool labelled_ = false;
    bool ownsFile_ = false;  // this read created or emptied the file
    platform::OutputFile file_;
    std::string rowText_;
};

}  // namespace qor::scan
