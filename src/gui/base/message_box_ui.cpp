#include "gui/base/message_box_ui.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <iostream>

#include "core/base/standard_error.h"
#include "gui/base/desktop.h"

namespace qor::gui {
namespace {

bool screenless() {
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString title(const std::string& text) {
    return text.empty() ? QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size())
                        : QString::fromStdString(text);
}

// Overwrite questions sit over the main window, 100 pixels above its centre.
void placeOverOwner(QMessageBox& box, QWidget* owner) {
    if (owner == nullptr) {
        return;
    }
    box.adjustSize();
    const QRect frame = owner->frameGeometry();
    const QSize size = box.sizeHint();
    box.move(frame.center().x() - size.width() / 2, frame.center().y() - size.height() / 2 - 100);
}

// A box wide enough for its paths (up to most of the screen), so that none is broken.
void keepPathsWhole(QMessageBox& box) {
    const QScreen* screen =
        box.screen() != nullptr ? box.screen() : QGuiApplication::primaryScreen();
    const int most = screen != nullptr ? screen->availableGeometry().width() * 4 / 5 : 800;
    const int width = unbrokenPathWidth(box.text(), box.fontMetrics(), most);
    if (width > 0) {
        box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: %1px; }").arg(width));
    }
}

}  // namespace

int unbrokenPathWidth(const QString& text, const QFontMetrics& metrics, int most) {
    int widest = 0;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")))) {
        if (line.contains(QLatin1Char('/')) || line.contains(QLatin1Char('\\'))) {
            // A pixel more than the advance: rounding must not break the line.
            widest = std::max(widest, metrics.horizontalAdvance(line) + 1);
        }
    }
    return std::min(widest, most);
}

MessageBoxUi::MessageBoxUi(std::function<QWidget*()> owner) : owner_(std::move(owner)) {}

QWidget* messageOwner(QWidget* mainWindow) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (mainWindow != nullptr) {
        for (QWidget* child : mainWindow->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->windowType() == Qt::Tool && child->isVisible()) {
                return child;
            }
        }
    }
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return mainWindow;
}

QWidget* MessageBoxUi::owner() const {
    return messageOwner(owner_ ? owner_() : nullptr);
}

bool MessageBoxUi::askYesNo(const Prompt& prompt) {
    return ask(prompt, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer MessageBoxUi::askYesNoForAll(const Prompt& prompt) {
    switch (ask(prompt, QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No |
                            QMessageBox::NoToAll)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::YesToAll:
            return Answer::YesToAll;
        case QMessageBox::NoToAll:
            return Answer::NoToAll;
        default:
            return Answer::No;
    }
}

int MessageBoxUi::ask(const Prompt& prompt, QMessageBox::StandardButtons buttons) {
    if (screenless()) {
        std::cerr << title(prompt.title).toStdString() << ": " << prompt.text << " (No)\n";
        return QMessageBox::No;
    }
    QMessageBox box(boxIcon(prompt.icon), title(prompt.title), QString::fromStdString(prompt.text),
                    buttons, owner());
    keepPathsWhole(box);
    if (prompt.subject == PromptSubject::ExistingFile) {
        placeOverOwner(box, owner_ ? owner_() : nullptr);
    }
    return execAndReturnFocus(box);
}

void MessageBoxUi::inform(const Message& message) {
    if (screenless()) {
        std::cerr << title(message.title).toStdString() << ": " << message.text << "\n";
        return;
    }
    QMessageBox box(boxIcon(message.icon), title(message.title),
                    QString::fromStdString(message.text), QMessageBox::Ok, owner());
    keepPathsWhole(box);
    execAndReturnFocus(box);
}

std::unique_ptr<QMessageBox> standardErrorBox(const StandardError& error, QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, title({}),
                                             QString::fromStdString(error.description),
                                             QMessageBox::Ok, owner);
    box->setDetailedText(QString::fromStdString(standardErrorLocation(error)));
    return box;
}

void MessageBoxUi::reportError(const StandardError& error) {
    if (screenless()) {
        std::cerr << title({}).toStdString() << ": " << formatStandardError(error) << "\n";
        return;
    }
    const auto box = standardErrorBox(error, owner());
    keepPathsWhole(*box);
    execAndReturnFocus(*box);
}

}  // namespace qor::gui
