#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/text_encoding.h"
#include "core/elements/element_table.h"
#include "core/scan/cabinet_row.h"

namespace qor::elements {

struct LoadSettings {
    EncodingChoice encoding;  // the user's text encoding choice: nothing for "Automatic"
    // When given, channel types get cabinet and module fields from it (the scan's labels).
    const scan::CabinetLabels* cabinets = nullptr;
    std::size_t jobs = 0;  // exports read at once; 0: one per processor
    std::size_t chunkBytes = std::size_t{1} << 20;
    // For searches: when not empty, the table holds the elements of those stretches of the
    // export only that hold this text (ASCII case ignored), read far faster; every element
    // that shows the text is among them. See WildcardPattern::requiredText.
    std::string requiredText;
};

// How a load reports and is stopped. `progress` gets the bytes read so far of all files and
// their total; it is called on a loading thread, one call at a time, and must be quick. `cancel`
// is looked at after every chunk; once set, the load stops soon.
struct LoadControl {
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
    const std::atomic<bool>* cancel = nullptr;
};

// Thrown when a load was cancelled.
class LoadCancelled : public QorError {
public:
    LoadCancelled();
};

// Thrown when a file is not a node export (with the refusal to list its elements).
class NotAnExport : public QorError {
public:
    using QorError::QorError;
};

// Loads every element of the export at `path` with the scan's own reader and parser, all
// parameter boxes of every type. Throws QorError when the file cannot be read or is not an
// export (NotAnExport), LoadCancelled when cancelled.
ElementTable loadExport(const std::string& path, const LoadSettings& settings,
                        const LoadControl& control = {});

struct SkippedFile {
    std::string path;
    std::string reason;        // one sentence: why it was not loaded
    bool notAnExport = false;  // readable, but no node export; otherwise it could not be read
};

struct PlantLoad {
    ElementTable table;                // the loaded exports, sorted by path
    std::vector<SkippedFile> skipped;  // sorted by path
    bool cancelled = false;            // then the table is empty
};

// Loads many exports on settings.jobs threads, one progress over all their bytes. A file that
// cannot be read or is not an export goes into `skipped` with its reason; the others load.
PlantLoad loadExports(std::vector<std::string> paths, const LoadSettings& settings,
                      const LoadControl& control = {});

struct FolderListing {
    std::vector<std::string> exports;  // sorted by path
    std::vector<SkippedFile> skipped;  // subfolders that could not be read
};

// The exports of a folder: every file whose name ends in ".qor" (any case), in the folder's
// subfolders too when asked. Links to files count; links to folders are not followed.
// Throws QorError when the folder itself cannot be read.
FolderListing exportsInFolder(const std::string& folder, bool subfolders);

}  // namespace qor::elements
