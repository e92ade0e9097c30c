#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/build_info.h"

namespace qor::services {

// The desktop's names for the program and its documents. The application id names the
// desktop entry, the MIME package and the icon, both installed and per user, so that a per-user
// entry replaces the installed one instead of showing beside it.
struct DocumentType {
    std::string_view applicationId;
    std::string_view mimeType;
    std::string_view extension;
    std::string_view description;
};

inline constexpr DocumentType kQorDocuments{build::kApplicationId, "application/x-qorreader", "qor",
                                            "AC400 DataBase Files"};

// What a registration did. Nothing here needs checking by the program: every step ignores
// its errors and goes on, so that a user whose data folder is read-only starts as usual.
struct FileAssociationReport {
    std::vector<std::string> written;    // files replaced completely
    std::vector<std::string> failed;     // files left as they were
    std::vector<std::string> refreshed;  // desktop database tools that ran to a clean end
};

enum class RefreshDatabases { No, Yes };

// Makes the desktop open "*.<extension>" files with `programPath`: a desktop entry
// "<data>/applications/<id>.desktop", a shared-mime-info package "<data>/mime/packages/<id>.xml"
// for the MIME type described as `description`, and the icon
// "<data>/icons/hicolor/scalable/apps/<id>.svg" holding `iconSvg`, where <id> is the
// application id. Then it refreshes the desktop's MIME and application databases with
// update-mime-database and update-desktop-database where those tools exist.
// `dataFolder` empty: the user's data folder (~/.local/share).
// On Windows the type goes into the registry instead: ".<extension>" and the program id
// "QORReader.<extension>" under `dataFolder` as a registry path, by default
// HKEY_CURRENT_USER\Software\Classes; the icon is the program's own.
FileAssociationReport createFileAssociation(const DocumentType& type, std::string_view programPath,
                                            std::string_view iconSvg,
                                            const std::string& dataFolder = {},
                                            RefreshDatabases refresh = RefreshDatabases::Yes);

// Registers ".qor" as "AC400 DataBase Files" for `programPath` in the user's data folder (or
// `dataFolder`), unless the program was installed with its own desktop entry and MIME package
// (<id>.desktop and <id>.xml in the installed data folder beside the program's folder): a
// second, per-user copy would only hide the installed one. On Windows: unless the installer
// registered it for all users under HKEY_LOCAL_MACHINE\Software\Classes.
FileAssociationReport registerFileAssociation(std::string_view programPath,
                                              std::string_view iconSvg,
                                              const std::string& dataFolder = {});

}  // namespace qor::services
