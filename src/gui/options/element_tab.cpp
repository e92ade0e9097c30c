#include "gui/options/element_tab.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

constexpr int kBoxesPerColumn = 4;

// "chkAISParameters" -> "chkAIS"
QString boxPrefix(const scan::ElementTypeInfo& type) {
    QString prefix = toQString(type.settingsSection);
    prefix.chop(static_cast<int>(std::string_view("Parameters").size()));
    return prefix;
}

// What the tab's parameters belong to: the I/O module families of a channel type, the kind of
// element of any other.
QString moduleLine(scan::ElementType type) {
    switch (type) {
        case scan::ElementType::AI:
            return ElementTab::tr("AIS (S100 Cabinet) and AIS8xx (S800 Cabinet)");
        case scan::ElementType::AO:
            return ElementTab::tr("AOS (S100 Cabinet) and AOS8xx (S800 Cabinet)");
        case scan::ElementType::DI:
            return ElementTab::tr("DIS (S100 Cabinet) and DIS8xx (S800 Cabinet)");
        case scan::ElementType::DO:
            return ElementTab::tr("DOS (S100 Cabinet ) and DOS8xx (S800 Cabinet)");
        case scan::ElementType::AIC:
            return ElementTab::tr("Calculated analog inputs (AIC elements)");
        case scan::ElementType::AOC:
            return ElementTab::tr("Calculated analog outputs (AOC elements)");
        case scan::ElementType::DIC:
            return ElementTab::tr("Calculated digital inputs (DIC elements)");
        case scan::ElementType::DOC:
            return ElementTab::tr("Calculated digital outputs (DOC elements)");
        case scan::ElementType::PIDCON:
            return ElementTab::tr("PID controllers (PIDCON elements)");
        case scan::ElementType::MOTCON:
            return ElementTab::tr("Motor controllers (MOTCON elements)");
        default:
            return {};
    }
}

}  // namespace

QCheckBox* makeParameterBox(const scan::ElementTypeInfo& type, int box, QWidget* parent) {
    auto* check =
        new QCheckBox(toQString(type.parameters[static_cast<std::size_t>(box - 1)]), parent);
    check->setObjectName(toQString(type.settingsSection) + "_" + QString::number(box));
    if (box == 1) {
        setCaptionColor(*check, disabledColor(check->palette()));
    }
    return check;
}

QCheckBox* makeEnableSearchBox(const scan::ElementTypeInfo& type, QWidget* parent) {
    auto* check = new QCheckBox(ElementTab::tr("&Enable Search"), parent);
    check->setObjectName(boxPrefix(type) + "EnableSearch");
    return check;
}

ElementTab::ElementTab(scan::ElementType type, options::SearchOptions& options, QWidget* parent)
    : QWidget(parent), type_(type), options_(options) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(tr("Only most valuable parameters for:"), this);
    heading->setObjectName("lbl" + boxPrefix(info).mid(3) + "Heading");
    layout->addWidget(heading);
    if (const QString modules = moduleLine(type); !modules.isEmpty()) {
        auto* line = new QLabel(modules, this);
        line->setObjectName("lbl" + boxPrefix(info).mid(3) + "Modules");
        QFont font = line->font();
        font.setBold(true);
        line->setFont(font);
        layout->addWidget(line);
    }

    auto* boxes = new QGridLayout;
    boxes->setContentsMargins(16, 8, 0, 8);
    boxes->setHorizontalSpacing(32);
    for (std::size_t box = 0; box < info.parameters.size(); ++box) {
        QCheckBox* check = makeParameterBox(info, static_cast<int>(box) + 1, this);
        const int position = static_cast<int>(box);
        boxes->addWidget(check, position % kBoxesPerColumn, position / kBoxesPerColumn);
        connect(check, &QCheckBox::clicked, this,
                [this, box](bool checked) { parameterClicked(box, checked); });
        parameterBoxes_.push_back(check);
    }
    boxes->setColumnStretch(2, 1);
    layout->addLayout(boxes);

    auto* selection = new QHBoxLayout;
    selection->setContentsMargins(16, 0, 0, 0);
    for (const bool selected : {true, false}) {
        auto* button = new QPushButton(selected ? tr("&Select All") : tr("C&lear All"), this);
        button->setObjectName("cmd" + boxPrefix(info).mid(3) +
                              (selected ? "SelectAll" : "ClearAll"));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, selected] { selectAll(selected); });
        selection->addWidget(button);
    }
    selection->addStretch(1);
    layout->addLayout(selection);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    enableBox_ = makeEnableSearchBox(info, this);
    connect(enableBox_, &QCheckBox::clicked, this, [this](bool checked) {
        options_.of(type_).enabled = checked;
        if (checked) {
            parameterClicked(0, true);  // a type is searched for its names at least
        }
    });
    layout->addWidget(enableBox_);
    layout->addStretch(1);

    showRecord();
}

void ElementTab::showRecord() {
    const scan::TypeOptions& record = options_.of(type_);
    for (std::size_t box = 0; box < parameterBoxes_.size(); ++box) {
        parameterBoxes_[box]->setChecked(record.parameters[box]);
    }
    enableBox_->setChecked(record.enabled);
}

void ElementTab::selectAll(bool selected) {
    scan::TypeOptions& record = options_.of(type_);
    for (std::size_t box = 0; box < parameterBoxes_.size(); ++box) {
        record.parameters[box] = selected || box == 0;
        parameterBoxes_[box]->setChecked(record.parameters[box]);
    }
}

void ElementTab::parameterClicked(std::size_t box, bool checked) {
    scan::TypeOptions& record = options_.of(type_);
    record.parameters[box] = checked;
    record.parameters[0] = true;
    parameterBoxes_.front()->setChecked(true);
}

}  // namespace qor::gui
