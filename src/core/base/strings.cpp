#include "core/base/strings.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace qor {
namespace {

constexpr std::pair<int, std::string_view> kTable[] = {
    {107, "About "},
    {129, "Current search status for every DataBase element is Disabled."},
    {130, "Click 'Change Settings' to enable any DataBase element / parameters on property tabs."},
    {132, "Opening Data Base file..."},
    {134, "Show 'Search Status' dialog"},
    {135, "Microsoft Excel Version:"},
    {136, "Preview Status"},
    {137, "Enable Search"},
    {138, "Only most valuable parameters for:"},
    {139, "Save options for search result"},
    {140, "Save as Excel files only"},
    {141, "Save as CSV files only"},
    {143, "Save as HTML report"},
    {144, "Save all in one Excel file (sheets)"},
    {159,
     "Current search status for database element selected in 'Search Options' dialog window. In "
     "order to change this settings click 'Change Settings' button, otherwise click 'Scan Now'. "
     "To dismiss this dialog uncheck 'Show Search Status dialog' check box in 'Search Options' "
     "window."},
    {160, "DataBase Element:"},
    {161, "Current Status:"},
    {162, "Cancel"},
    {163, "Change Settings"},
    {164, "Scan Now"},
    {165, "DataBase Element:"},
    {166, "Found Elements:"},
    {167, "Save To File"},
    {168, "Close"},
    {170, "Reading 'Analog Input' parameters..."},
    {171, "Reading 'Analog Input Calculated' parameters..."},
    {172, "Reading 'Analog Output' parameters..."},
    {173, "Reading 'Analog Output Calculated' parameters..."},
    {174, "Reading 'Digital Input' parameters..."},
    {175, "Reading 'Digital Input Calculated' parameters..."},
    {176, "Reading 'Digital Output' parameters..."},
    {177, "Reading 'Digital Output Calculated' parameters..."},
    {178, "Reading 'PIDCON' parameters..."},
    {179, "Reading 'MOTCON' parameters..."},
    {180, "Reading 'DAT(B)' parameters..."},
    {181, "Reading 'DAT(I)' parameters..."},
    {182, "Reading 'DAT(IL)' parameters..."},
    {183, "Reading 'DAT(R)' parameters..."},
    {184, "Convert Completed"},
    {185, "File "},
    {186, " already exists. "},
    {187, "Do you want to replace it ?"},
    {192, "System status at:  "},
    {193, " ( date of generating *.ba file, Node"},
    {194, "Converting to Excel (sheets) files - "},
    {195, "Converting to one Excel file - "},
    {196, "Writing to HTML report files - "},
    {197, " elements..."},
    {198, "'AI'"},
    {199, "'AIC'"},
    {200, "'AO'"},
    {201, "'AOC'"},
    {202, "'DI'"},
    {203, "'DIC'"},
    {204, "'DO'"},
    {205, "'DOC'"},
    {206, "'DAT(B)'"},
    {207, "'DAT(I)'"},
    {208, "'DAT(IL)'"},
    {209, "'DAT(R)'"},
    {210, "'PIDCON'"},
    {211, "'MOTCON'"},
    {212, " is already running"},
    {213, "Do you want to replace this file and related 'preview.html' and 'index.html' files ?"},
    {216, "Microsoft Excel is running. Close this application before search process."},
};

static_assert(std::is_sorted(std::begin(kTable), std::end(kTable),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));

}  // namespace

std::string_view loadString(int id) {
    auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                               [](const auto& entry, int key) { return entry.first < key; });
    return it != std::end(kTable) && it->first == id ? it->second : std::string_view{};
}

}  // namespace qor
