#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/user_interface.h"
#include "core/compare/changes_page.h"
#include "core/compare/export_comparison.h"
#include "core/output/csv_output.h"
#include "core/output/result_folder.h"
#include "core/platform/result_file.h"

namespace qor::compare {

// Which of the two result files a run is about; one not chosen is neither asked about nor
// written.
struct ChangesFiles {
    bool csv = true;
    bool html = true;
    output::CsvValues csvValues = output::CsvValues::Guarded;
};

// Where a comparison's results go: <result folder>/Node<N>_<ddMMMyyyy>/Changes/ holding
// Changes_Node<N>_<ddMMMyyyy>.csv and .html, N being the new export's node number (made safe
// for a file name) and the date today's.
class ChangesFolder {
public:
    // Creates the folders where missing (never entering a link below `resultFolder`), locks
    // the node folder as a scan does (a scan of the same node and day and a comparison never
    // write at once), removes what killed runs left there, and asks before replacing each
    // chosen result that exists. Throws QorError naming the folder that cannot be used, or when
    // another run holds the lock (platform::FolderLockedElsewhere for another computer's);
    // nothing is written then.
    ChangesFolder(const std::string& resultFolder, std::string_view nodeNumber,
                  std::string_view dateStamp, UserInterface& ui, ChangesFiles files = {},
                  const platform::LockRules& lock = {});

    const std::string& folder() const { return folder_.path(); }
    const std::string& csvPath() const { return csvPath_; }
    const std::string& htmlPath() const { return htmlPath_; }
    // Whether the file is written: it is new, or the person agreed to replace it.
    bool writesCsv() const { return csv_.has_value(); }
    bool writesHtml() const { return html_.has_value(); }

    // Writes the files that are to be written, each to a temporary file first; when both are
    // complete and on disk they are moved over their names. Throws QorError; a failure before
    // the moves leaves both names as they were.
    void write(const Comparison& comparison, const ChangesPageHeading& heading);

    // The changes CSV file's name in the Changes folder.
    static std::string csvName(std::string_view nodeNumber, std::string_view dateStamp);

private:
    output::LockedNodeFolder node_;
    platform::FolderHandle folder_;
    std::string csvName_;
    std::string htmlName_;
    std::string csvPath_;
    std::string htmlPath_;
    std::optional<platform::Placement> csv_;
    std::optional<platform::Placement> html_;
    output::CsvValues csvValues_;
};

// Writes the changes CSV file at `path`, a place the person chose outside the Changes folder:
// asks before replacing what stands there, then writes it as ChangesFolder::write does. False
// when the person keeps the existing file. Throws QorError; a failed write leaves what stood
// there.
bool writeChangesCsvAt(const Comparison& comparison, const std::string& path, UserInterface& ui,
                       output::CsvValues values = output::CsvValues::Guarded);

}  // namespace qor::compare
