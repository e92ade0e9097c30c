#pragma once

#include <QIcon>
#include <QString>
#include <string>

namespace qor::gui {

// The pictures of the main window's commands, shared by their menu items and toolbar buttons.
enum class CommandIcon {
    Open,
    Scan,
    Compare,
    RecentFiles,
    Options,
    PreviewSearchStatus,
    Statistics,
    PreviewOutputFiles,
    HelpContents,
    UserGuide,
    Elements,
    OpenFolder,
};
inline constexpr int kCommandIconCount = 12;

// The icon's resource path.
QString commandIconPath(CommandIcon icon);
// The picture drawn at the size asked for, in the colours of the application's palette as it is
// then: outlines in the text colour, fills in a tint that stands out from the background, so
// that a dark palette shows it as well as a light one.
QIcon commandIcon(CommandIcon icon);

// The drawing at `svgPath` as an icon. Where Qt cannot read SVG (the Windows build) the build
// carries it rendered as PNG in several sizes, which serve instead.
QIcon drawingIcon(const QString& svgPath);

// The application's own icon (a document with a bar chart under a magnifier).
QIcon applicationIcon();

// The same icon as SVG text, for the desktop's icon theme.
std::string applicationIconSvg();

}  // namespace qor::gui
