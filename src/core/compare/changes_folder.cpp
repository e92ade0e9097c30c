#include "core/compare/changes_folder.h"

#include <filesystem>

#include "core/base/translation.h"
#include "core/compare/changes_csv.h"
#include "core/output/csv_output.h"
#include "core/platform/file_system.h"

namespace qor::compare {
namespace {

constexpr std::string_view kSubfolder = "Changes";

std::string titleSuffix() {
    return "  :  " + translate("ChangesFolder", "Changes");
}

}  // namespace

ChangesFolder::ChangesFolder(const std::string& resultFolder, std::string_view nodeNumber,
                             std::string_view dateStamp, UserInterface& ui, ChangesFiles files,
                             const platform::LockRules& lock)
    : node_(resultFolder, output::nodeFolderName(nodeNumber, dateStamp), lock),
      folder_(node_.subfolder(kSubfolder)),
      csvName_(csvName(nodeNumber, dateStamp)),
      htmlName_("Changes_" + output::nodeFolderName(nodeNumber, dateStamp) + ".html"),
      csvPath_(folder_.pathOf(csvName_)),
      htmlPath_(folder_.pathOf(htmlName_)),
      csvValues_(files.csvValues) {
    if (files.csv) {
        csv_ = output::askBeforeReplacing(folder_, csvName_, output::ReplaceQuestion::File,
                                          titleSuffix(), ui);
    }
    if (files.html) {
        html_ = output::askBeforeReplacing(folder_, htmlName_, output::ReplaceQuestion::File,
                                           titleSuffix(), ui);
    }
}

std::string ChangesFolder::csvName(std::string_view nodeNumber, std::string_view dateStamp) {
    return "Changes_" + output::nodeFolderName(nodeNumber, dateStamp) + ".csv";
}

void ChangesFolder::write(const Comparison& comparison, const ChangesPageHeading& heading) {
    // Both written and made durable before either takes its name, so that a failure (a full
    // disk) leaves the pair as it was: never a new CSV file beside an old page.
    platform::ResultFile csv;
    platform::ResultFile html;
    if (csv_) {
        csv.open(folder_, csvName_);
        writeChangesCsv(comparison.changes, csv, csvValues_, comparison.oldEncoding,
                        comparison.newEncoding);
        csv.makeDurable();
    }
    if (html_) {
        html.open(folder_, htmlName_);
        writeChangesPage(comparison, heading, html);
        html.makeDurable();
    }
    if (csv_) {
        csv.commit(*csv_);
    }
    if (html_) {
        html.commit(*html_);
    }
}

bool writeChangesCsvAt(const Comparison& comparison, const std::string& path, UserInterface& ui,
                       output::CsvValues values) {
    const std::filesystem::path place = platform::toFsPath(path);
    const platform::FolderHandle folder =
        platform::FolderHandle::open(platform::fromFsPath(place.parent_path()));
    const std::string name = platform::fromFsPath(place.filename());
    const std::optional<platform::Placement> placement =
        output::askBeforeReplacing(folder, name, output::ReplaceQuestion::File, titleSuffix(), ui);
    if (!placement) {
        return false;
    }
    platform::ResultFile file;
    file.open(folder, name);
    writeChangesCsv(comparison.changes, file, values, comparison.oldEncoding,
                    comparison.newEncoding);
    file.commit(*placement);
    return true;
}

}  // namespace qor::compare
