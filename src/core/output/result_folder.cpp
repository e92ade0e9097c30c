#include "core/output/result_folder.h"

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/path_names.h"
#include "core/platform/result_file.h"

namespace qor::output {
namespace {

// The subfolders runs write in: swept of leftovers whichever run opens the node folder.
constexpr std::string_view kSubfolders[] = {"Html Files", "Csv Files", "Xls Files", "Changes"};

platform::FolderHandle openChosenFolder(const std::string& path) {
    // An empty path would put the results wherever the program happens to run.
    if (path.empty()) {
        throw QorError(
            translate("ResultFolder", "No scan result folder is set: choose one in the options"));
    }
    return platform::FolderHandle::open(path);
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

std::string nodeFolderName(std::string_view nodeNumber, std::string_view dateStamp) {
    return "Node" + platform::safeFileNamePart(nodeNumber) + "_" + std::string(dateStamp);
}

LockedNodeFolder::LockedNodeFolder(const std::string& resultFolder, std::string_view name,
                                   const platform::LockRules& rules)
    : LockedNodeFolder(openChosenFolder(resultFolder), name, true, rules) {}

LockedNodeFolder::LockedNodeFolder(const platform::FolderHandle& resultFolder,
                                   std::string_view name, const platform::LockRules& rules)
    : LockedNodeFolder(resultFolder, name, false, rules) {}

LockedNodeFolder::LockedNodeFolder(const platform::FolderHandle& resultFolder,
                                   std::string_view name, bool create,
                                   const platform::LockRules& rules)
    : resultFolder_(resultFolder),
      name_(name),
      folder_(resultFolder.subfolder(name, create, &madeFolder_)),
      lock_(folder_, rules) {
    platform::removeLeftovers(folder_);
    for (const std::string_view subfolderName : kSubfolders) {
        if (const auto subfolder = folder_.existingSubfolder(subfolderName)) {
            platform::removeLeftovers(*subfolder);
        }
    }
}

platform::FolderHandle LockedNodeFolder::subfolder(std::string_view name) {
    bool made = false;
    platform::FolderHandle subfolder = folder_.subfolder(name, true, &made);
    if (made) {
        madeSubfolders_.emplace_back(name);
    }
    return subfolder;
}

void LockedNodeFolder::removeMadeFoldersIfEmpty() noexcept {
    for (const std::string& name : madeSubfolders_) {
        folder_.removeEmptySubfolder(name);
    }
    madeSubfolders_.clear();
    if (madeFolder_) {
        // The lock file is the last thing in it; another run that takes the folder meanwhile
        // puts its own there, and the folder stays.
        lock_.release();
        folder_ = {};  // Windows removes no folder that is open
        resultFolder_.removeEmptySubfolder(name_);
        madeFolder_ = false;
    }
}

ScanFolders openResultFolders(const Session& session, const Clock& clock,
                              const platform::LockRules& rules) {
    std::string name =
        nodeFolderName(session.nodeInfo.nodeNumber, formatDateStamp(clock.now(), session.months));
    LockedNodeFolder node(session.options.scanResultFolderPath, name, rules);
    const std::string_view subfolder = outputSubfolderName(session.options.outputMode);
    platform::FolderHandle output = subfolder.empty() ? node.folder() : node.subfolder(subfolder);
    return ScanFolders{std::move(node), std::move(name), std::move(output)};
}

}  // namespace qor::output
