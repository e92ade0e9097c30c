#include "gui/base/qt_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/platform/path_names.h"
#include "core/platform/user_environment.h"

namespace qor::gui {
namespace {

QString filterText(const FileFilter& filter) {
    // Qt wants the patterns space-separated inside the brackets.
    QString patterns = QString::fromStdString(filter.patterns);
    patterns.replace(';', ' ');
    QString description = QString::fromStdString(filter.description);
    const qsizetype bracket = description.indexOf('(');
    if (bracket >= 0) {
        description = description.left(bracket).trimmed();
    }
    return description + " (" + patterns + ")";
}

// Shows a file dialog with `filters` (and `file` chosen, if any), centred; the first path chosen,
// empty when cancelled.
QString runFileDialog(QFileDialog& dialog, const std::vector<FileFilter>& filters,
                      const std::string& defaultSuffix, const QString& file = {});

// Wine's own file dialogs drop the keyboard when they close (its window system cannot ask an X
// window manager to give it back): there Qt's dialogs, which keep it, are shown instead.
QFileDialog::Options dialogOptions() {
    return platform::runsUnderWine() ? QFileDialog::DontUseNativeDialog : QFileDialog::Options();
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize size = window.frameGeometry().size();
    window.move(area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 2);
}

QString runFileDialog(QFileDialog& dialog, const std::vector<FileFilter>& filters,
                      const std::string& defaultSuffix, const QString& file) {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(dialog.options() | dialogOptions());
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    QStringList nameFilters;
    for (const FileFilter& filter : filters) {
        nameFilters << filterText(filter);
    }
    dialog.setNameFilters(nameFilters);
    if (!file.isEmpty()) {
        dialog.selectFile(file);
    }
    dialog.adjustSize();
    centreOnScreen(dialog);
    if (execAndReturnFocus(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::string QtDesktop::chooseFileToOpen(QWidget* owner, const std::vector<FileFilter>& filters,
                                        const std::string& title, const std::string& folder,
                                        const std::string& defaultSuffix) {
    QFileDialog dialog(owner, QString::fromStdString(title), QString::fromStdString(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Names of files that do not exist yet are handed back (AnyFile); the caller decides what
    // to do.
    return QDir::toNativeSeparators(runFileDialog(dialog, filters, defaultSuffix).trimmed())
        .toStdString();
}

std::string QtDesktop::chooseFileToSave(QWidget* owner, const std::vector<FileFilter>& filters,
                                        const std::string& title, const std::string& path,
                                        const std::string& defaultSuffix) {
    QFileDialog dialog(owner, QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The caller asks before it replaces, and replaces safely.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return QDir::toNativeSeparators(
               runFileDialog(dialog, filters, defaultSuffix, QString::fromStdString(path)))
        .toStdString();
}

std::string QtDesktop::chooseFolder(QWidget* owner, const std::string& title,
                                    const std::string& folder) {
    const FocusReturn keyboard(owner);
    return QDir::toNativeSeparators(
               QFileDialog::getExistingDirectory(owner, QString::fromStdString(title),
                                                 QString::fromStdString(folder),
                                                 QFileDialog::ShowDirsOnly | dialogOptions()))
        .toStdString();
}

bool QtDesktop::openWithApplication(const std::string& path) {
    return open(QUrl::fromLocalFile(QString::fromStdString(path)), path);
}

bool QtDesktop::openUrl(const std::string& url) {
    const QUrl address(QString::fromStdString(url));
    return open(address, address.isLocalFile() ? address.toLocalFile().toStdString() : url);
}

int QtDesktop::openersRunning() const {
    int running = 0;
    for (const QProcess* process : openers_.findChildren<QProcess*>()) {
        running += process->state() != QProcess::NotRunning ? 1 : 0;
    }
    return running;
}

bool QtDesktop::open(const QUrl& url, const std::string& shown) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        return QDesktopServices::openUrl(url);
    }
    // xdg-open may wait for the program it starts: it runs beside the window and is judged when
    // it ends. A program still open when this one ends stays open.
    auto* process = new QProcess(&openers_);
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [this, process, shown](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0) {
                             ui_.inform(Message{std::string(kApplicationTitle),
                                                notOpenedText(shown), MessageIcon::Exclamation});
                         }
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}

int QtDesktop::runModal(QDialog& dialog) {
    return execAndReturnFocus(dialog);
}

FocusReturn::FocusReturn(const QWidget* opener)
    : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {
    if (window_.isNull() && opener != nullptr) {
        window_ = opener->window();
    }
}

FocusReturn::~FocusReturn() {
    if (window_.isNull()) {
        return;
    }
    returnFocus(window_.data());
    // The control that had the keyboard inside it has it again (the Elements filter, the text).
    if (!focus_.isNull() && focus_->window() == window_ && focus_->isVisible()) {
        focus_->setFocus(Qt::ActiveWindowFocusReason);
    }
}

std::string notOpenedText(const std::string& target) {
    return fillIn(translate("Desktop",
                            "No program could be started to open it. Open it by hand:"
                            "\r\n%1"),
                  {target.find("://") == std::string::npos ? platform::shownPath(target) : target});
}

int execAndReturnFocus(QDialog& dialog) {
    const FocusReturn keyboard(dialog.parentWidget());
    return dialog.exec();
}

void returnFocus(QWidget* window) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (window == nullptr || !window->isVisible() || (modal != nullptr && modal != window)) {
        return;
    }
    QWidget* focus = window;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->windowType() == Qt::Tool && child->isVisible()) {
            focus = child;
        }
    }
    focus->activateWindow();
}

}  // namespace qor::gui
