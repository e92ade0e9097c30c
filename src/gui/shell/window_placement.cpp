#include "gui/shell/window_placement.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "core/options/settings_table.h"
#include "gui/base/twips.h"

namespace qor::gui {
namespace {

namespace settings = options::settings;

// Before the window is shown its frame is unknown: room for a title bar and borders is kept
// around it, so that the title bar and the status bar stay on the screen.
const QMargins kFrameRoom(8, 40, 8, 8);

QRect availableFor(const QWidget& window) {
    const QScreen* shown =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    return shown != nullptr ? shown->availableGeometry() : QRect(0, 0, 800, 600);
}

// The window's inner geometry moved and shrunk so that it and its frame lie on `available`.
QRect withFrameOnScreen(const QRect& inner, const QRect& available) {
    return placeOnScreen(inner.marginsAdded(kFrameRoom), available).marginsRemoved(kFrameRoom);
}

// The placement an earlier version stored, in twips; nothing when it stored none.
std::optional<QRect> olderPlacement(const QWidget& window, const platform::SettingsStore& store) {
    if (settings::kMainWidth.readFrom(store, "").empty()) {
        return std::nullopt;
    }
    const auto twips = [&store](const options::Setting& setting) {
        return static_cast<double>(
            setting.readIntegerFrom(store).value_or(std::stoll(std::string(setting.defaultValue))));
    };
    const double perPixel = twipsPerPixel(&window);
    return QRect(twipsToPixels(twips(settings::kMainLeft), perPixel),
                 twipsToPixels(twips(settings::kMainTop), perPixel),
                 twipsToPixels(twips(settings::kMainWidth), perPixel),
                 twipsToPixels(twips(settings::kMainHeight), perPixel));
}

}  // namespace

void restorePlacement(QWidget& window, const platform::SettingsStore& store) {
    const QRect available = availableFor(window);
    const QByteArray saved =
        QByteArray::fromBase64(QByteArray::fromStdString(settings::kMainGeometry.readFrom(store)));
    if (!saved.isEmpty()) {
        // Qt refuses a geometry saved on a screen of a quite different width (another scale).
        if (window.restoreGeometry(saved)) {
            if (!window.isMaximized()) {
                window.setGeometry(withFrameOnScreen(window.geometry(), available));
            }
            return;
        }
    } else if (const std::optional<QRect> older = olderPlacement(window, store)) {
        window.setGeometry(withFrameOnScreen(*older, available));
        if (settings::kMainMaximized.readBooleanFrom(store).value_or(false)) {
            window.setWindowState(window.windowState() | Qt::WindowMaximized);
        }
        return;
    }
    window.setGeometry(withFrameOnScreen(defaultPlacement(available), available));
}

void savePlacement(const QWidget& window, platform::SettingsStore& store) {
    if (window.isMinimized()) {
        return;
    }
    settings::kMainGeometry.writeTo(store, window.saveGeometry().toBase64().toStdString());
}

QRect defaultPlacement(const QRect& available) {
    const QSize size(available.width() * 2 / 3, available.height() * 2 / 3);
    return QRect(available.topLeft() + QPoint((available.width() - size.width()) / 2,
                                              (available.height() - size.height()) / 2),
                 size);
}

QRect placeOnScreen(const QRect& wanted, const QRect& available) {
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    placed.moveLeft(
        std::clamp(placed.left(), available.left(), available.right() - placed.width() + 1));
    placed.moveTop(
        std::clamp(placed.top(), available.top(), available.bottom() - placed.height() + 1));
    return placed;
}

}  // namespace qor::gui
