#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/user_interface.h"
#include "core/platform/result_file.h"
#include "core/scan/element_sink.h"

namespace qor::output {

// The overwrite question of an existing result (a CSV file, or an HTML element page with
// `questionId` str::kReplaceHtmlAndRelated): how the new result is to take its name, or
// nothing when one exists and the user keeps it. Anything under the name `name` in `folder`
// counts, a symbolic link included, so that a planted link is replaced at most, never written
// through.
std::optional<platform::Placement> askBeforeReplacing(const platform::FolderHandle& folder,
                                                      std::string_view name, int questionId,
                                                      std::string_view titleSuffix,
                                                      UserInterface& ui);

// Appends `value` as one CSV field: a value holding a comma, a double quote, a CR or a LF is
// quoted, its quotes doubled; any other value goes as it is.
void appendCsvField(std::string& out, std::string_view value);

// The row text of an element: slots 1 to 11 (13 fields starting with slots 12 and 13 when
// labelled) joined by ",". A value holding a comma, a double quote or a line break is quoted,
// its quotes doubled, so that it cannot shift the following columns or split the row.
std::string csvRowText(const scan::ElementRowView& row, bool labelled);
// The same, appended to `text`.
void appendCsvRow(std::string& text, const scan::ElementRowView& row, bool labelled);

// The CSV result file of one element type: header line, a line holding one CR, then one
// row per element. Written beside its name and moved into place when the type is complete.
class CsvOutputFile : public scan::ElementSink {
public:
    explicit CsvOutputFile(UserInterface& ui) : ui_(ui) {}

    bool begin(const scan::SinkContext& context) override;
    void format(const scan::ElementRowView& row, std::string& out) const override;
    void write(std::string_view formatted) override;  // AppendCsvRow
    void complete() override;
    void finish(long long writtenCount) override;
    std::string abandon() noexcept override;

    const std::string& path() const { return path_; }

private:
    UserInterface& ui_;
    std::string path_;
    bool labelled_ = false;
    platform::Placement placement_ = platform::Placement::New;
    platform::ResultFile file_;
};

}  // namespace qor::output
