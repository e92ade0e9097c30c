#include "core/platform/install_layout.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/base/build_info.h"
#include "core/platform/file_system.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qor::platform {
namespace fs = std::filesystem;

std::string runningProgramFolder() {
#ifdef _WIN32
    std::wstring program(32768, L'\0');  // the longest path the system has
    const DWORD length =
        GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0 || length >= program.size()) {
        return {};
    }
    program.resize(length);
    return fromFsPath(fs::path(program).parent_path());
#else
    // Linux names the running program's file here; argv[0] may be a bare name found on PATH.
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
#endif
}

std::string installedDataFolder(std::string_view programFolder) {
    return fromFsPath((toFsPath(programFolder) / build::kDataFromPrograms).lexically_normal());
}

std::string userGuidePage(std::string_view programFolder, std::string_view sourceGuideFolder) {
    // An empty folder would make a path relative to the current folder: never a guide.
    std::vector<fs::path> candidates;
    if (!programFolder.empty()) {
        candidates.push_back(toFsPath(programFolder) / build::kUserGuideFromPrograms);
    }
    if (!sourceGuideFolder.empty()) {
        candidates.push_back(toFsPath(sourceGuideFolder));
    }
    for (const fs::path& folder : candidates) {
        std::error_code error;
        const fs::path page = fs::canonical(folder / "index.html", error);
        if (!error && fs::is_regular_file(page, error)) {
            return fromFsPath(page);
        }
    }
    return {};
}

std::string userGuidePage() {
    return userGuidePage(runningProgramFolder(), build::kSourceUserGuideFolder);
}

}  // namespace qor::platform
