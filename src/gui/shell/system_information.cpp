#include "gui/shell/system_information.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>
#include <QtGlobal>
#include <algorithm>

#include "core/base/standard_error.h"
#include "core/output/xlsx_workbook.h"
#include "core/platform/user_environment.h"
#include "gui/shell/about_box.h"

namespace qor::gui {
namespace {

QString memoryText() {
    const auto [installed, free] = platform::systemMemory();
    if (installed < 0) {
        return SystemInformationDialog::tr("not known");
    }
    return SystemInformationDialog::tr("%1 MiB installed, %2 MiB free")
        .arg(installed)
        .arg(free < 0 ? QStringLiteral("?") : QString::number(free));
}

QString screenText() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return SystemInformationDialog::tr("none");
    }
    return SystemInformationDialog::tr("%1 x %2 pixels at scale %3")
        .arg(screen->size().width())
        .arg(screen->size().height())
        .arg(screen->devicePixelRatio());
}

}  // namespace

QString SystemInformationDialog::describeSystem() {
#ifdef NDEBUG
    const QString build = tr("release build");
#else
    const QString build = tr("debug build");
#endif
    const QStringList lines = {
        tr("Program: %1 %2 (%3)")
            .arg(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()),
                 QString::fromStdString(buildVersionText()), build),
        tr("Operating system: %1").arg(QSysInfo::prettyProductName()),
        tr("Kernel: %1 %2").arg(QSysInfo::kernelType(), QSysInfo::kernelVersion()),
        tr("Processor: %1").arg(QSysInfo::currentCpuArchitecture()),
        tr("Processor cores: %1").arg(QThread::idealThreadCount()),
        tr("Memory: %1").arg(memoryText()),
        tr("Screen: %1").arg(screenText()),
        tr("Language: %1").arg(QLocale::system().name()),
        tr("Qt: %1 (built with %2), platform %3")
            .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
                 QGuiApplication::platformName()),
        tr("Workbooks written with: %1").arg(QString::fromStdString(output::xlsxWriterVersion())),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

SystemInformationDialog::SystemInformationDialog(QWidget* parent)
    : QDialog(parent), text_(describeSystem()) {
    setObjectName(QStringLiteral("frmSystemInformation"));
    setWindowTitle(tr("System Information"));

    auto* view = new QPlainTextEdit(text_, this);
    view->setObjectName(QStringLiteral("txtSystemInformation"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // As large as the text, within reason.
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (const QString& line : text_.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    view->setMinimumSize(
        std::min(widest + 4 * metrics.averageCharWidth(), 90 * metrics.averageCharWidth()),
        (static_cast<int>(text_.count(QLatin1Char('\n'))) + 2) * metrics.lineSpacing());

    auto* buttons = new QDialogButtonBox(this);
    auto* cmdCopy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    auto* cmdClose = buttons->addButton(tr("C&lose"), QDialogButtonBox::RejectRole);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    connect(cmdCopy, &QPushButton::clicked, this, &SystemInformationDialog::copyToClipboard);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
}

void SystemInformationDialog::copyToClipboard() {
    QGuiApplication::clipboard()->setText(text_);
}

}  // namespace qor::gui
