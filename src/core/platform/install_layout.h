#pragma once

// Where an installed program finds its data: folders relative to the program, with the source
// tree as the fallback for a program run from its build folder.

#include <string>
#include <string_view>

namespace qor::platform {

// The folder that holds the running program; empty where the system does not tell.
std::string runningProgramFolder();

// The installed data folder (share) of a program in `programFolder` (bin): `programFolder`
// joined with the build's relative path from the programs to the data.
std::string installedDataFolder(std::string_view programFolder);

// The user guide's start page: the installed one (index.html in the build's user guide folder
// relative to `programFolder`, ../share/doc/qorreader by default) or else the one in
// `sourceGuideFolder` (a program run from its build folder). An absolute path without "..", or
// empty when neither exists.
std::string userGuidePage(std::string_view programFolder, std::string_view sourceGuideFolder);

// The user guide of the running program, the source tree's as the fallback.
std::string userGuidePage();

}  // namespace qor::platform
