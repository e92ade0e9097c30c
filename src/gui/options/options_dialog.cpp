#include "gui/options/options_dialog.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/standard_error.h"
#include "core/options/search_options.h"
#include "core/options/search_status.h"
#include "core/platform/user_environment.h"
#include "gui/base/widget_helpers.h"
#include "gui/options/cabinet_tab.h"
#include "gui/options/dat_tab.h"
#include "gui/options/element_tab.h"
#include "gui/options/general_tab.h"

namespace qor::gui {
namespace {

using scan::ElementType;

// The types with a tab of their own, in tab order (tabs 0 to 9).
constexpr scan::ElementType kElementTabs[] = {scan::ElementType::AI,     scan::ElementType::AO,
                                              scan::ElementType::DI,     scan::ElementType::DO,
                                              scan::ElementType::DIC,    scan::ElementType::DOC,
                                              scan::ElementType::PIDCON, scan::ElementType::MOTCON,
                                              scan::ElementType::AIC,    scan::ElementType::AOC};

}  // namespace

OptionsDialog::OptionsDialog(output::Session& session, platform::SettingsStore& store,
                             UserInterface& ui, Desktop& desktop, QWidget* parent, Record record)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      session_(session),
      store_(store),
      ui_(ui),
      desktop_(desktop),
      tabs_(new QTabWidget(this)) {
    setObjectName("frmOptions");
    setWindowTitle(tr("Search Options"));
    if (record == Record::LoadFromStore) {
        loadRecord(session, store, ui);
    }
    draft_ = session.options;

    tabs_->setObjectName("tabOptions");
    // One row that keeps its tabs where they are; arrows reach those the dialog has no room
    // for.
    tabs_->setUsesScrollButtons(true);
    tabs_->setElideMode(Qt::ElideNone);
    tabs_->setDocumentMode(false);
    for (const scan::ElementType type : kElementTabs) {
        auto* tab = new ElementTab(type, draft_);
        elementTabs_.push_back(tab);
        tabs_->addTab(tab, toQString(scan::shownTitle(scan::elementType(type))));
    }
    datTab_ = new DatTab(draft_);
    tabs_->addTab(datTab_, tr("DAT Elements"));
    generalTab_ = new GeneralTab(draft_, desktop);
    tabs_->addTab(generalTab_, tr("General Options"));
    cabinetTab_ = new CabinetTab(draft_, store, ui, desktop);
    tabs_->addTab(cabinetTab_, tr("Cabinet<->Module"));
    connect(generalTab_, &GeneralTab::typesSwitched, this, [this] {
        for (ElementTab* tab : elementTabs_) {
            tab->showRecord();
        }
        datTab_->showRecord();
    });

    auto* nameLabel = new QLabel("NAME", this);
    nameLabel->setObjectName("lblMandatoryName");
    setCaptionColor(*nameLabel, disabledColor(nameLabel->palette()));
    auto* mandatory = new QLabel(tr("item on each tab is mandatory checked"), this);
    mandatory->setObjectName("lblMandatory");
    showStatus_ = new QCheckBox(tr("Show 'Search Status' dialog"), this);
    showStatus_->setObjectName("chkShowSearchStatusDialog");
    auto* preview = new QPushButton(tr("&Preview Status"), this);
    preview->setObjectName("cmdPreviewStatus");
    preview->setToolTip(tr("Preview current enabled/disabled status"));
    preview->setAutoDefault(false);
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName("cmdOK");
    ok->setAutoDefault(false);
    ok->setMinimumWidth(preview->sizeHint().width());
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName("cmdCancel");
    cancel->setAutoDefault(false);
    cancel->setMinimumWidth(preview->sizeHint().width());

    auto* notes = new QVBoxLayout;
    auto* nameLine = new QHBoxLayout;
    nameLine->setSpacing(4);
    nameLine->addWidget(nameLabel);
    nameLine->addWidget(mandatory);
    nameLine->addStretch(1);
    notes->addLayout(nameLine);
    notes->addWidget(showStatus_);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(notes, 1);
    bottom->addWidget(preview, 0, Qt::AlignBottom);
    bottom->addWidget(ok, 0, Qt::AlignBottom);
    bottom->addWidget(cancel, 0, Qt::AlignBottom);
    // The tabs scroll only when the screen is smaller than they are (a small screen, a large
    // scale), so that the buttons below them always stay in reach.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("scrOptions");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(tabs_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll_, 1);
    layout->addSpacing(4);
    layout->addLayout(bottom);
    fitToScreen();

    // Ctrl+PageDown and Ctrl+PageUp turn the pages wherever the focus is in the dialog.
    for (const auto& [keys, step] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                     {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}}) {
        auto* turn = new QShortcut(keys, this);
        connect(turn, &QShortcut::activated, this, [this, step = step] {
            tabs_->setCurrentIndex((tabs_->currentIndex() + step + tabs_->count()) %
                                   tabs_->count());
        });
    }

    connect(showStatus_, &QCheckBox::clicked, this,
            [this](bool checked) { draft_.showSearchStatusDialog = checked; });
    connect(preview, &QPushButton::clicked, this, [this] { previewStatus(); });
    connect(ok, &QPushButton::clicked, this, [this] { acceptOptions(); });
    connect(cancel, &QPushButton::clicked, this, &OptionsDialog::reject);

    tabs_->setCurrentIndex(session.options.lastTab);
    showRecord();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::loadRecord(output::Session& session, const platform::SettingsStore& store,
                               UserInterface& ui) {
    session.options =
        options::SearchOptions::readFrom(store, {platform::defaultResultFolder()}, ui);
    session.takeOptions();
}

void OptionsDialog::returnToPosition() {
    centreOnScreen(*this);
}

void OptionsDialog::showRecord() {
    draft_ = session_.options;
    for (ElementTab* tab : elementTabs_) {
        tab->showRecord();
    }
    datTab_->showRecord();
    generalTab_->showRecord();
    cabinetTab_->showTable();
    showStatus_->setChecked(draft_.showSearchStatusDialog);
}

void OptionsDialog::fitToScreen() {
    // A fixed size: the tabs are laid out for their pages, nothing gains from stretching.
    const QMargins margins = layout()->contentsMargins();
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QSize limit =
        shown != nullptr ? shown->availableGeometry().size() - frameRoom(*this) : QSize(4096, 4096);
    // Wide enough for the widest page, and for every tab where the screen has room.
    QSize tabs = tabs_->sizeHint();
    const int allTabs = tabs_->tabBar()->sizeHint().width() + 4;
    tabs.setWidth(std::max(tabs.width(), std::min(allTabs, limit.width() * 4 / 5)));
    const QSize bottom = layout()->itemAt(2)->sizeHint();
    const auto around = [&](const QSize& inner) {
        return QSize(std::max(inner.width(), bottom.width()) + margins.left() + margins.right(),
                     inner.height() + layout()->spacing() * 2 + 4 + bottom.height() +
                         margins.top() + margins.bottom());
    };
    // The pages give up the room they would like before the tabs scroll.
    const QSize least = tabs_->minimumSizeHint();
    const QSize size = around(tabs).boundedTo(limit);
    setFixedSize(size.width(), size.height());
    const bool narrow = size.width() < around(least).width();
    const bool low = size.height() < around(least).height();
    scroll_->setMinimumSize(0, 0);
    tabs_->setMinimumSize(narrow ? least.width() : 0, low ? least.height() : 0);
}

void OptionsDialog::showEvent(QShowEvent* event) {
    fitToScreen();
    // Another window (the search status dialog) may have changed the record meanwhile.
    showRecord();
    QDialog::showEvent(event);
}

void OptionsDialog::saveOptions() {
    draft_.lastTab = tabs_->currentIndex();
    session_.options = draft_;
    session_.options.writeTo(store_, ui_);
    session_.takeOptions();
    draft_ = session_.options;
    session_.searchStatus = options::SearchStatusTable::readFrom(store_, ui_);
    // Saving an empty table blanks the imported file name.
    cabinetTab_->showTable();
}

void OptionsDialog::acceptOptions() {
    saveOptions();
    accept();
}

void OptionsDialog::previewStatus() {
    saveOptions();
    if (onPreviewStatus) {
        runStep(ui_, "frmOptions", "cmdPreviewStatus_Click", [&] { onPreviewStatus(); });
    }
    showRecord();
}

bool OptionsDialog::tableEdited() const {
    const options::CabinetModuleTable& edited = draft_.cabinetTable;
    const options::CabinetModuleTable& saved = session_.options.cabinetTable;
    const auto same = [](const scan::CabinetRow& a, const scan::CabinetRow& b) {
        return a.cabinet == b.cabinet && a.module == b.module;
    };
    return edited.importedFileName != saved.importedFileName ||
           !std::equal(edited.rows.begin(), edited.rows.end(), saved.rows.begin(), saved.rows.end(),
                       same);
}

void OptionsDialog::reject() {
    // Rows typed or imported are work: they are not dropped without a word.
    if (tableEdited()) {
        QMessageBox box(QMessageBox::Warning, toQString(kApplicationTitle),
                        tr("The Cabinet<->Module table has changes that are not saved. Save "
                           "them?"),
                        QMessageBox::NoButton, this);
        box.setObjectName("msgUnsavedTable");
        QPushButton* save = box.addButton(QMessageBox::Save);
        save->setObjectName("cmdSave");
        QPushButton* discard = box.addButton(QMessageBox::Discard);
        discard->setObjectName("cmdDiscard");
        QPushButton* stay = box.addButton(QMessageBox::Cancel);
        stay->setObjectName("cmdCancel");
        box.setDefaultButton(save);
        box.setEscapeButton(stay);
        desktop_.runModal(box);
        if (box.clickedButton() == save) {
            acceptOptions();
            return;
        }
        if (box.clickedButton() != discard) {
            return;  // Cancel: the dialog stays as it is
        }
    }
    discarded_ = true;
    QDialog::reject();
}

}  // namespace qor::gui
