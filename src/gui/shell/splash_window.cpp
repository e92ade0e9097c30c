#include "gui/shell/splash_window.h"

#include <algorithm>

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "core/base/standard_error.h"
#include "gui/base/icons.h"
#include "gui/shell/about_box.h"

namespace qor::gui {
namespace {

constexpr QSize kPictureSize(460, 260);
const QColor kNavy(0x27, 0x49, 0x6d);
const QColor kSubtle(0x5b, 0x78, 0x96);
const QColor kAmber(0xe8, 0x91, 0x2d);
const QColor kStatusGrey(0x80, 0x80, 0x80);

// The lines of the picture's foot, where the labels sit.
constexpr int kFootTop = 212;
constexpr int kMargin = 24;

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text,
                  const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

QPixmap splashPicture(qreal devicePixelRatio) {
    QPixmap picture(kPictureSize * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient background(0, 0, kPictureSize.width(), kPictureSize.height());
    background.setColorAt(0.0, QColor(0xf8, 0xfb, 0xfe));
    background.setColorAt(1.0, QColor(0xd3, 0xe2, 0xf2));
    painter.fillRect(QRect(QPoint(0, 0), kPictureSize), background);

    // A navy band along the top edge and a hairline border frame the borderless window.
    painter.fillRect(QRect(0, 0, kPictureSize.width(), 6), kNavy);
    painter.setPen(QPen(kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, kPictureSize.width() - 1, kPictureSize.height() - 1));

    const QRect iconArea(kMargin + 8, 48, 120, 120);
    applicationIcon().paint(&painter, iconArea);

    QFont titleFont = QGuiApplication::font();
    titleFont.setPixelSize(34);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(kNavy);
    const int textLeft = iconArea.right() + 28;
    painter.drawText(QRect(textLeft, 62, kPictureSize.width() - textLeft - kMargin, 48),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(kApplicationTitle.data(),
                                       static_cast<qsizetype>(kApplicationTitle.size())));

    painter.fillRect(QRect(textLeft + 2, 116, 56, 3), kAmber);

    QFont subtitleFont = QGuiApplication::font();
    subtitleFont.setPixelSize(14);
    painter.setFont(subtitleFont);
    painter.setPen(kSubtle);
    painter.drawText(QRect(textLeft, 128, kPictureSize.width() - textLeft - kMargin, 40),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     SplashWindow::tr("AC400 DataBase Files"));

    // The foot under a hairline: the labels go here.
    painter.setPen(QPen(QColor(0xb4, 0xc8, 0xde), 1));
    painter.drawLine(QPointF(kMargin, kFootTop - 8.5),
                     QPointF(kPictureSize.width() - kMargin, kFootTop - 8.5));
    painter.end();
    return picture;
}

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), lblStatus_(nullptr) {
    setObjectName(QStringLiteral("dlgSplash"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(),
                                     static_cast<qsizetype>(kApplicationTitle.size())));
    const QScreen* primary = QGuiApplication::primaryScreen();
    picture_ = splashPicture(primary != nullptr ? primary->devicePixelRatio() : 1.0);
    const QSize size = picture_.deviceIndependentSize().toSize();

    // The picture at the window's origin, the window exactly its size.
    auto* picSplash = new QLabel(this);
    picSplash->setObjectName(QStringLiteral("picSplash"));
    picSplash->setPixmap(picture_);
    picSplash->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size);

    // The foot: the status text on the left, "Build:" and the version on the right.
    const int lineHeight = fontMetrics().height() + 4;
    QLabel* lblVersion =
        makeLabel(this, "lblVersion", QString::fromStdString(buildVersionText()), kNavy);
    const int versionWidth = lblVersion->sizeHint().width();
    const int versionLeft = size.width() - kMargin - versionWidth;
    lblVersion->setGeometry(versionLeft, kFootTop, versionWidth, lineHeight);
    QLabel* lblBuild = makeLabel(this, "lblBuild", tr("Build:"), kSubtle);
    const int buildWidth = lblBuild->sizeHint().width();
    const int buildLeft = versionLeft - 6 - buildWidth;
    lblBuild->setGeometry(buildLeft, kFootTop, buildWidth, lineHeight);
    lblStatus_ = makeLabel(this, "lblStatus", tr("Finalizing settings..."), kStatusGrey);
    lblStatus_->setGeometry(kMargin, kFootTop, buildLeft - 12 - kMargin, lineHeight);

    if (primary != nullptr) {
        placeOn(*primary);
    }
}

void SplashWindow::setStatus(const QString& text) {
    lblStatus_->setText(text);
    if (isVisible()) {
        lblStatus_->repaint();
    }
}

QString SplashWindow::status() const {
    return lblStatus_->text();
}

void SplashWindow::placeOn(const QScreen& screen) {
    const QRect available = screen.availableGeometry();
    move(std::max(available.left() + (available.width() - width()) / 2, available.left()),
         std::max(available.top() + (available.height() - height()) / 2, available.top()));
}

}  // namespace qor::gui
