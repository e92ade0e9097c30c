#include "core/compare/changes_folder.h"

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/compare/changes_csv.h"
#include "core/output/csv_output.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"

namespace qor::compare {
namespace {

constexpr std::string_view kSubfolder = "Changes";

std::string useOrCreate(const std::string& folder) {
    if (platform::folderExists(folder)) {
        return platform::canonicalFolder(folder);
    }
    platform::createFolder(folder);
    return folder;
}

}  // namespace

// The node folder, made when missing: it must exist before its lock can be taken.
std::string ChangesFolder::prepared(const std::string& resultFolder, std::string_view nodeFolder) {
    // An empty path would put the results wherever the program happens to run.
    if (resultFolder.empty()) {
        throw QorError(
            translate("ResultFolder", "No scan result folder is set: choose one in the options"));
    }
    return useOrCreate(platform::joinPath(resultFolder, nodeFolder));
}

ChangesFolder::ChangesFolder(const std::string& resultFolder, std::string_view nodeNumber,
                             std::string_view dateStamp, UserInterface& ui, ChangesFiles files)
    : nodeFolder_(prepared(resultFolder, "Node" + platform::safeFileNamePart(nodeNumber) + "_" +
                                             std::string(dateStamp))),
      lock_(nodeFolder_),
      csvValues_(files.csvValues) {
    platform::removeLeftovers(nodeFolder_);
    folder_ = useOrCreate(platform::joinPath(nodeFolder_, kSubfolder));
    platform::removeLeftovers(folder_);
    const std::string baseName =
        "Changes_Node" + platform::safeFileNamePart(nodeNumber) + "_" + std::string(dateStamp);
    csvPath_ = platform::joinPath(folder_, baseName + ".csv");
    htmlPath_ = platform::joinPath(folder_, baseName + ".html");
    const std::string titleSuffix = "  :  " + translate("ChangesFolder", "Changes");
    if (files.csv) {
        csv_ = output::askBeforeReplacing(csvPath_, output::ReplaceQuestion::File, titleSuffix, ui);
    }
    if (files.html) {
        html_ =
            output::askBeforeReplacing(htmlPath_, output::ReplaceQuestion::File, titleSuffix, ui);
    }
}

void ChangesFolder::write(const Comparison& comparison, const ChangesPageHeading& heading) {
    if (csv_) {
        platform::ResultFile file;
        file.open(csvPath_);
        writeChangesCsv(comparison.changes, file, csvValues_);
        file.commit(*csv_);
    }
    if (html_) {
        platform::ResultFile file;
        file.open(htmlPath_);
        writeChangesPage(comparison, heading, file);
        file.commit(*html_);
    }
}

}  // namespace qor::compare
