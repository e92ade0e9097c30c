#include "gui/shell/about_box.h"

#include <algorithm>

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>

#include "core/base/build_info.h"
#include "core/base/standard_error.h"
#include "gui/base/icons.h"
#include "gui/shell/system_information.h"

namespace qor::gui {
namespace {

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

std::string buildVersionText() {
    return std::string(build::kVersion);
}

AboutBox::AboutBox(Desktop& desktop, QWidget* parent) : QDialog(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("frmAbout"));
    const QString title = qtext(kApplicationTitle);
    setWindowTitle(tr("About %1").arg(title));

    auto* picIcon = makeLabel(this, "picIcon", {});
    picIcon->setPixmap(applicationIcon().pixmap(QSize(64, 64)));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    picIcon->setFixedSize(72, 72);

    auto* lblTitle = makeLabel(this, "lblTitle", title);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    // The version area: "Version:" beside the version text, "Build:" beside the toolkit and
    // kind of build it came from.
    auto* versionArea = new QGridLayout;
    versionArea->setHorizontalSpacing(12);
    versionArea->addWidget(makeLabel(this, "lblVersionCaption", tr("Version:")), 0, 0);
    versionArea->addWidget(makeLabel(this, "lblVersion", qtext(buildVersionText())), 0, 1);
    versionArea->addWidget(makeLabel(this, "lblBuildCaption", tr("Build:")), 1, 0);
#ifdef NDEBUG
    const QString kind = tr("release");
#else
    const QString kind = tr("debug");
#endif
    versionArea->addWidget(
        makeLabel(this, "lblBuild",
                  QStringLiteral("Qt %1, %2").arg(QLatin1String(QT_VERSION_STR), kind)),
        1, 1);
    versionArea->setColumnStretch(1, 1);

    auto* text = new QVBoxLayout;
    text->setSpacing(8);
    text->addWidget(lblTitle);
    text->addSpacing(4);
    text->addLayout(versionArea);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* cmdOK = new QPushButton(tr("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    for (QPushButton* command : {cmdOK, cmdSysInfo}) {
        command->setMinimumWidth(96);
    }
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::showSystemInformation);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(top);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    // At least its usual width; wider when a language needs it.
    setFixedWidth(std::max(420, sizeHint().width()));
    setFixedHeight(sizeHint().height());
}

void AboutBox::showSystemInformation() {
    SystemInformationDialog information(this);
    desktop_.runModal(information);
}

}  // namespace qor::gui
