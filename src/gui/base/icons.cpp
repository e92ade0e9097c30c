#include "gui/base/icons.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <array>

namespace qor::gui {
namespace {

// In the order of CommandIcon.
constexpr std::array<const char*, kCommandIconCount> kCommandIconFiles = {
    "open.svg",           "scan.svg",        "compare.svg", "recent.svg", "options.svg",
    "preview-status.svg", "statistics.svg",  "preview.svg", "help.svg",   "web.svg",
    "elements.svg",       "open-folder.svg",
};

// The drawings' outlines are "currentColor", their light fills this colour.
constexpr QLatin1String kLightFill("#dbe8f6");
constexpr QLatin1String kDarkFill("#34506e");

class PaletteSvgEngine : public QIconEngine {
public:
    explicit PaletteSvgEngine(QString path) : path_(std::move(path)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QPalette palette = QGuiApplication::palette();
        const QColor text = palette.color(QPalette::WindowText);
        const QString key = QStringLiteral("qor-icon:%1:%2x%3:%4:%5")
                                .arg(path_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(static_cast<int>(mode))
                                .arg(text.name());
        QPixmap picture;
        if (QPixmapCache::find(key, &picture)) {
            return picture;
        }
        picture = QPixmap::fromImage(render(size, text, palette.color(QPalette::Window)));
        if (mode == QIcon::Disabled && QApplication::style() != nullptr) {
            QStyleOption option;
            option.palette = palette;
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        QPixmapCache::insert(key, picture);
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale =
            painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
        QPixmap picture = pixmap(rect.size() * scale, mode, state);
        picture.setDevicePixelRatio(scale);
        painter->drawPixmap(rect, picture);
    }

    QIconEngine* clone() const override { return new PaletteSvgEngine(path_); }
    QString key() const override { return QStringLiteral("qor-palette-svg"); }

private:
    QImage render(const QSize& size, const QColor& text, const QColor& background) const {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        QByteArray svg = file.readAll();
        svg.replace("currentColor", text.name().toLatin1());
        if (background.lightness() < 128) {
            svg.replace(QByteArray(kLightFill.data(), kLightFill.size()),
                        QByteArray(kDarkFill.data(), kDarkFill.size()));
        }
        QBuffer buffer(&svg);
        QImageReader reader(&buffer, "svg");
        reader.setScaledSize(size);
        return reader.read();
    }

    const QString path_;
};

// Builds without Qt's SVG reader carry the drawings rendered as PNG.
bool canReadSvg() {
    return QImageReader::supportedImageFormats().contains("svg");
}

}  // namespace

QString commandIconPath(CommandIcon icon) {
    return QStringLiteral(":/icons/") +
           QLatin1String(kCommandIconFiles[static_cast<std::size_t>(icon)]);
}

QIcon drawingIcon(const QString& svgPath) {
    if (canReadSvg()) {
        return QIcon(svgPath);
    }
    // ":/icons/open.svg" was rendered as ":/icons/png/open-<size>.png".
    const QString name = QFileInfo(svgPath).completeBaseName();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 256}) {
        const QString png = QStringLiteral(":/icons/png/%1-%2.png").arg(name).arg(size);
        if (QFile::exists(png)) {
            icon.addFile(png, QSize(size, size));
        }
    }
    return icon;
}

QIcon commandIcon(CommandIcon icon) {
    if (!canReadSvg()) {
        return drawingIcon(commandIconPath(icon));
    }
    return QIcon(new PaletteSvgEngine(commandIconPath(icon)));
}

QIcon applicationIcon() {
    return drawingIcon(QStringLiteral(":/icons/app.svg"));
}

std::string applicationIconSvg() {
    QFile file(QStringLiteral(":/icons/app.svg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

}  // namespace qor::gui
