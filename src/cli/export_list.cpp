#include "cli/export_list.h"

#include <algorithm>
#include <filesystem>

#include "core/base/qor_error.h"
#include "core/elements/element_loader.h"
#include "core/platform/file_system.h"

namespace qor::cli {

ExportList exportListOf(const CommandLine& line, TerminalUi& ui) {
    ExportList list;
    std::vector<std::string> found;
    for (const std::string& given : line.files) {
        // With the system's separators, as the files found in folders are named: a file named
        // and found in a folder is read once.
        const std::string argument =
            platform::fromFsPath(platform::toFsPath(given).make_preferred());
        std::error_code error;
        if (!std::filesystem::is_directory(platform::toFsPath(argument), error)) {
            list.named.push_back(argument);
            continue;
        }
        try {
            elements::FolderListing listing = elements::exportsInFolder(argument, line.recursive);
            found.insert(found.end(), listing.exports.begin(), listing.exports.end());
            for (const elements::SkippedFile& folder : listing.skipped) {
                ui.setCurrentFile(folder.path);
                ui.printError(folder.reason);
            }
        } catch (const QorError& e) {
            ui.setCurrentFile(argument);
            ui.printError(e.what());
        }
    }
    list.all = list.named;
    list.all.insert(list.all.end(), found.begin(), found.end());
    std::sort(list.all.begin(), list.all.end());
    list.all.erase(std::unique(list.all.begin(), list.all.end()), list.all.end());
    std::sort(list.named.begin(), list.named.end());
    return list;
}

bool isNamed(const ExportList& list, const std::string& path) {
    return std::binary_search(list.named.begin(), list.named.end(), path);
}

}  // namespace qor::cli
