#pragma once

#include <QIcon>
#include <QString>
#include <string>

namespace qor::gui {

// The resource path of image `imageNumber` of the main window's image list (1 open file,
// 2 scan file, 3 options, 4 preview search status, 5 statistics, 6 help contents, 8 web,
// 9 recent files, 10 preview output files, 11 compare with); empty for 7, which the menu table
// leaves unused, and for numbers outside 1..11.
QString menuIconPath(int imageNumber);

// The icon of an image list number; a null icon where menuIconPath is empty.
QIcon menuIcon(int imageNumber);

// The application's own icon (a document with a bar chart under a magnifier).
QIcon applicationIcon();

// The same icon as SVG text, for the desktop's icon theme.
std::string applicationIconSvg();

}  // namespace qor::gui
