#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qor::platform {

inline constexpr std::string_view kProgramIdentifier = "QORReader";
inline constexpr std::string_view kDocumentExtension = "qor";
inline constexpr std::string_view kDocumentDescription = "AC400 DataBase Files";

// What a registration did. Nothing here needs checking by the program: every step ignores
// its errors and goes on, so that a user whose data folder is read-only starts as usual.
struct FileAssociationReport {
    std::vector<std::string> written;    // files replaced completely
    std::vector<std::string> failed;     // files left as they were
    std::vector<std::string> refreshed;  // desktop database tools that ran to a clean end
};

enum class RefreshDatabases { No, Yes };

// Makes the desktop open "*.<extension>" files with `programPath`: a desktop entry
// "<data>/applications/<id>.desktop", a shared-mime-info package
// "<data>/mime/packages/<id>.xml" for the type "application/x-<id>" described as
// `description`, and the icon "<data>/icons/hicolor/scalable/apps/<id>.svg", where <id> is
// `programIdentifier` in lower case. Then it refreshes the desktop's MIME and application
// databases with update-mime-database and update-desktop-database where those tools exist.
// `dataFolder` empty: the user's data folder (~/.local/share).
FileAssociationReport createFileAssociation(std::string_view programIdentifier,
                                            std::string_view extension,
                                            std::string_view description,
                                            std::string_view programPath,
                                            const std::string& dataFolder = {},
                                            RefreshDatabases refresh = RefreshDatabases::Yes);

// Registers ".qor" as "AC400 DataBase Files" for the running program.
FileAssociationReport registerFileAssociation(const std::string& dataFolder = {});

}  // namespace qor::platform
