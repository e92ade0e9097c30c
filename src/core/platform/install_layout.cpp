#include "core/platform/install_layout.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/base/build_info.h"

namespace qor::platform {
namespace fs = std::filesystem;

std::string runningProgramFolder() {
    // Linux names the running program's file here; argv[0] may be a bare name found on PATH.
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

std::string installedDataFolder(std::string_view programFolder) {
    return (fs::path(programFolder) / build::kDataFromPrograms).lexically_normal().string();
}

std::string userGuidePage(std::string_view programFolder, std::string_view sourceGuideFolder) {
    // An empty folder would make a path relative to the current folder: never a guide.
    std::vector<fs::path> candidates;
    if (!programFolder.empty()) {
        candidates.push_back(fs::path(programFolder) / build::kUserGuideFromPrograms);
    }
    if (!sourceGuideFolder.empty()) {
        candidates.emplace_back(sourceGuideFolder);
    }
    for (const fs::path& folder : candidates) {
        std::error_code error;
        const fs::path page = fs::canonical(folder / "index.html", error);
        if (!error && fs::is_regular_file(page, error)) {
            return page.string();
        }
    }
    return {};
}

std::string userGuidePage() {
    return userGuidePage(runningProgramFolder(), build::kSourceUserGuideFolder);
}

}  // namespace qor::platform
