#pragma once

#include <QString>

namespace qor::gui {

// The address (a file: URL) of the user guide that travels with the program: installed beside
// it under share/doc, or in the docs folder of the source tree a build folder sits in. Found
// from where the program runs, never from where it was built; empty when there is none.
QString userGuidePage(const QString& programFolder);

}  // namespace qor::gui
