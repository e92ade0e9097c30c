#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/date_time.h"
#include "core/options/search_options.h"
#include "core/output/session.h"
#include "core/platform/folder_handle.h"
#include "core/platform/folder_lock.h"

namespace qor::output {

// "Html Files", "Csv Files" or "Xls Files"; empty when no output is chosen.
std::string_view outputSubfolderName(options::OutputMode mode);

// "Node<node>_<ddMMMyyyy>", the node number made safe for a file name.
std::string nodeFolderName(std::string_view nodeNumber, std::string_view dateStamp);

// A node folder while a run writes it: entered without following a link, locked against every
// other run, and cleared of what killed runs left in it and in its subfolders (their own
// temporary files only, never through a link), in that order, so that a run that finds the
// folder locked removes nothing. Throws QorError naming the folder that cannot be used, or
// platform::FolderLockedElsewhere.
class LockedNodeFolder {
public:
    // `<resultFolder>/<name>`, made when missing; `resultFolder` itself may be a link.
    LockedNodeFolder(const std::string& resultFolder, std::string_view name,
                     const platform::LockRules& rules);
    // The node folder `name`, which must exist, in the result folder opened before.
    LockedNodeFolder(const platform::FolderHandle& resultFolder, std::string_view name,
                     const platform::LockRules& rules);

    const platform::FolderHandle& resultFolder() const { return resultFolder_; }
    const platform::FolderHandle& folder() const { return folder_; }
    // Its subfolder `name`, made when missing, never a link.
    platform::FolderHandle subfolder(std::string_view name);

    // For a run that ends without results: removes the folders it made here that are still
    // empty, the subfolders and then, its lock let go, the node folder; a folder that was
    // there before, or that holds anything, stays. The node folder is no longer locked after,
    // and no longer open when this run made it. Every other handle of the subfolders must be
    // closed first: Windows removes no folder that is open.
    void removeMadeFoldersIfEmpty() noexcept;

private:
    LockedNodeFolder(const platform::FolderHandle& resultFolder, std::string_view name, bool create,
                     const platform::LockRules& rules);

    platform::FolderHandle resultFolder_;
    std::string name_;
    bool madeFolder_ = false;
    platform::FolderHandle folder_;
    platform::FolderLock lock_;
    std::vector<std::string> madeSubfolders_;
};

// The folders a scan writes into.
struct ScanFolders {
    LockedNodeFolder node;          // <scan result folder>/Node<node>_<today>, locked
    std::string nodeFolderName;     // its name in the scan result folder
    platform::FolderHandle output;  // its subfolder for the chosen output, or itself
};

// Opens the scan's folders: the node folder and its subfolder for the chosen output, each made
// when missing. Everything a scan writes depends on them, so nothing else is tried when one
// cannot be used. The node folder stays locked while the returned folders live.
ScanFolders openResultFolders(const Session& session, const Clock& clock,
                              const platform::LockRules& rules = {});

}  // namespace qor::output
