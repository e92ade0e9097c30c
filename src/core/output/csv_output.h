#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/user_interface.h"
#include "core/platform/result_file.h"
#include "core/scan/element_sink.h"

namespace qor::output {

// What the overwrite question asks: to replace the file, or (an HTML element page) the file
// and the report pages that link it.
enum class ReplaceQuestion { File, FileAndReportPages };

// The overwrite questions of one scan: each offers "Yes to All" and "No to All", and such an
// answer stands for every later question of the scan, which is then not asked.
class ReplaceAnswers {
public:
    explicit ReplaceAnswers(UserInterface& ui) : ui_(ui) {}
    bool ask(const Prompt& prompt);

private:
    UserInterface& ui_;
    std::optional<bool> forAll_;
};

// The overwrite question "File '<path>' already exists...", titled with `titleSuffix` after the
// application's title.
Prompt overwritePrompt(const std::string& path, ReplaceQuestion question,
                       std::string_view titleSuffix);

// The overwrite question of an existing result (a CSV file, an HTML element page): how the new
// result is to take its name, or nothing when one exists and the user keeps it. Anything under
// the name `name` in `folder` counts, a symbolic link included, so that a planted link is
// replaced at most, never written through. With `answers`, the question is one of a scan's.
std::optional<platform::Placement> askBeforeReplacing(
    const platform::FolderHandle& folder, std::string_view name, ReplaceQuestion question,
    std::string_view titleSuffix, UserInterface& ui, ReplaceAnswers* answers = nullptr);

// A file the person named for rows of a window: its folder, its name there, and how it takes
// the name (nothing when the person keeps what stands there), asked as askBeforeReplacing asks.
struct NamedFile {
    platform::FolderHandle folder;
    std::string name;
    std::optional<platform::Placement> placement;
};
NamedFile askBeforeReplacingFile(const std::string& path, std::string_view titleSuffix,
                                 UserInterface& ui);

// How the values that a spreadsheet would take for a formula are written.
enum class CsvValues {
    Guarded,  // behind an apostrophe, so that they open as text
    Raw,      // exactly as read, for scripts
};

// Whether a spreadsheet opening a CSV file would take `value` for a formula: it begins with
// "=", "@", a tab or a CR, or with "+" or "-" and is not a plain number, that is a sign, digits
// with at most one decimal point (at least one digit), and an optional exponent
// ([+-]([0-9]+(\.[0-9]*)?|\.[0-9]+)([eE][+-]?[0-9]+)?). "-300.0" and "+1e5" are numbers;
// "-A1", "+SUM(A1)", "-1+1" and "-" are not. NUL bytes in front count for nothing, as a
// spreadsheet drops them: "\0=A1" starts a formula.
bool startsFormula(std::string_view value);

// Appends `value` as one CSV field. A guarded value that starts a formula gets an apostrophe in
// front (after the value was cut to its column width, so such a field is one byte longer).
// Then a value holding a comma, a double quote, a CR or a LF is quoted, its quotes doubled, the
// apostrophe inside the quotes; any other value goes as it is.
void appendCsvField(std::string& out, std::string_view value,
                    CsvValues values = CsvValues::Guarded);

// The row text of an element: slots 1 to 11 (13 fields starting with slots 12 and 13 when
// labelled) joined by ",", each written as appendCsvField writes it, so that a value can neither
// shift the following columns nor split the row nor open as a formula.
std::string csvRowText(const scan::ElementRowView& row, bool labelled,
                       CsvValues values = CsvValues::Guarded);
// The same, appended to `text`.
void appendCsvRow(std::string& text, const scan::ElementRowView& row, bool labelled,
                  CsvValues values = CsvValues::Guarded);

// The CSV result file of one element type: header line, a line holding one CR, then one
// row per element. Written beside its name and moved into place when the type is complete.
class CsvOutputFile : public scan::ElementSink {
public:
    explicit CsvOutputFile(UserInterface& ui, CsvValues values = CsvValues::Guarded,
                           ReplaceAnswers* answers = nullptr)
        : ui_(ui), values_(values), answers_(answers) {}

    bool begin(const scan::SinkContext& context) override;
    void format(const scan::ElementRowView& row, std::string& out) const override;
    void write(std::string_view formatted) override;  // AppendCsvRow
    void complete() override;
    void finish(long long writtenCount) override;
    std::string abandon() noexcept override;

    const std::string& path() const { return path_; }

private:
    UserInterface& ui_;
    CsvValues values_;
    ReplaceAnswers* answers_;
    std::string path_;
    bool labelled_ = false;
    platform::Placement placement_ = platform::Placement::New;
    platform::ResultFile file_;
};

}  // namespace qor::output
