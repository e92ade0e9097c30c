#include "core/output/result_folder.h"

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"

namespace qor::output {
namespace {

void useOrCreate(std::string& folder) {
    if (platform::folderExists(folder)) {
        folder = platform::canonicalFolder(folder);
    } else {
        platform::createFolder(folder);
    }
}

}  // namespace

std::string_view outputSubfolderName(options::OutputMode mode) {
    switch (mode) {
        case options::OutputMode::HtmlReport:
            return "Html Files";
        case options::OutputMode::CsvFilesOnly:
            return "Csv Files";
        case options::OutputMode::ExcelFilesOnly:
            return "Xls Files";
        case options::OutputMode::None:
            break;
    }
    return {};
}

void createResultFolders(Session& session, const Clock& clock) {
    // An empty path would put the results wherever the program happens to run.
    if (session.options.scanResultFolderPath.empty()) {
        throw QorError(
            translate("ResultFolder", "No scan result folder is set: choose one in the options"));
    }
    const std::string today = formatDateStamp(clock.now(), session.months);
    ScanState& state = session.scan;
    state.resultFolder = platform::joinPath(
        session.options.scanResultFolderPath,
        "Node" + platform::safeFileNamePart(session.nodeInfo.nodeNumber) + "_" + today);
    state.outputFolder = state.resultFolder;
    useOrCreate(state.outputFolder);
    const std::string_view subfolder = outputSubfolderName(session.options.outputMode);
    if (!subfolder.empty()) {
        state.outputFolder = platform::joinPath(state.outputFolder, subfolder);
    }
    useOrCreate(state.outputFolder);
}

}  // namespace qor::output
