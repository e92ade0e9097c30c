#include "gui/checks/findings_table_model.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStyle>

#include "gui/base/export_text_encoding.h"

namespace qor::gui {
namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QIcon severityIcon(checks::Severity severity) {
    const QStyle::StandardPixmap picture =
        severity == checks::Severity::Error     ? QStyle::SP_MessageBoxCritical
        : severity == checks::Severity::Warning ? QStyle::SP_MessageBoxWarning
                                                : QStyle::SP_MessageBoxInformation;
    return QApplication::style()->standardIcon(picture);
}

}  // namespace

FindingsTableModel::FindingsTableModel(const checks::CheckInput& input,
                                       const checks::CheckResult& result, QObject* parent)
    : QAbstractTableModel(parent), input_(input), result_(result) {
    setFilter({});
}

int FindingsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int FindingsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QString FindingsTableModel::severityText(checks::Severity severity) {
    switch (severity) {
        case checks::Severity::Error:
            return tr("Error");
        case checks::Severity::Warning:
            return tr("Warning");
        case checks::Severity::Note:
            break;
    }
    return tr("Note");
}

QString FindingsTableModel::text(int row, int column) const {
    const checks::Finding& finding = findingAt(row);
    const checks::Check& check = *checks::checkRegistry()[finding.check];
    const elements::ElementTable& table = input_.table;
    const bool element = finding.row != checks::kTableRow;
    switch (column) {
        case kSeverity:
            return severityText(check.severity);
        case kCheck:
            return latin1(check.id);
        case kNode:
            return element ? exportText(table.fileOf(finding.row).nodeNumber,
                                        table.fileOf(finding.row).encoding)
                           : QString();
        case kType:
            return element ? latin1(scan::elementType(table.record(finding.row).type).name)
                           : QString();
        case kDesignation:
            return element ? exportText(table.designation(finding.row),
                                        table.fileOf(finding.row).encoding)
                           : QString();
        case kLine: {
            const std::uint64_t line =
                element ? table.record(finding.row).line : input_.cabinets->lines[finding.other];
            return line == 0 ? QString() : QString::number(line);
        }
        case kMessage:
            return QString::fromStdString(
                check.message(finding, input_, checks::Wording::Translated));
        case kFile:
            if (element) {
                return QFileInfo(pathText(table.fileOf(finding.row).path)).fileName();
            }
            return input_.cabinets->stored ? tr("Cabinet-module table")
                                           : QFileInfo(pathText(input_.cabinets->path)).fileName();
        default:
            return {};
    }
}

QVariant FindingsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return text(index.row(), index.column());
    }
    const checks::Finding& finding = findingAt(index.row());
    if (role == Qt::DecorationRole && index.column() == kSeverity) {
        return severityIcon(checks::checkRegistry()[finding.check]->severity);
    }
    if (role == Qt::ToolTipRole && index.column() == kFile && finding.row != checks::kTableRow) {
        return pathText(input_.table.fileOf(finding.row).path);
    }
    if (role == Qt::ToolTipRole && (index.column() == kMessage || index.column() == kCheck)) {
        return index.column() == kMessage
                   ? text(index.row(), kMessage)
                   : QCoreApplication::translate(
                         "Checks", checks::checkRegistry()[finding.check]->description);
    }
    return {};
}

QVariant FindingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
        case kSeverity:
            return tr("Severity");
        case kCheck:
            return tr("Check");
        case kNode:
            return tr("Node");
        case kType:
            return tr("Type");
        case kDesignation:
            return tr("Designation");
        case kLine:
            return tr("Line");
        case kMessage:
            return tr("Finding");
        case kFile:
            return tr("File");
        default:
            return {};
    }
}

void FindingsTableModel::setFilter(FindingsFilter filter) {
    beginResetModel();
    filter_ = filter;
    shown_.clear();
    const auto registry = checks::checkRegistry();
    for (std::size_t i = 0; i < result_.findings.size(); ++i) {
        const std::size_t check = result_.findings[i].check;
        if (registry[check]->severity <= filter_.minimum &&
            (!filter_.check || *filter_.check == check)) {
            shown_.push_back(static_cast<std::uint32_t>(i));
        }
    }
    endResetModel();
}

std::size_t FindingsTableModel::countOf(checks::Severity severity) const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < result_.counts.size(); ++i) {
        count += checks::checkRegistry()[i]->severity == severity ? result_.counts[i] : 0;
    }
    return count;
}

std::vector<checks::Finding> FindingsTableModel::shownFindings() const {
    std::vector<checks::Finding> shown;
    shown.reserve(shown_.size());
    for (const std::uint32_t i : shown_) {
        shown.push_back(result_.findings[i]);
    }
    return shown;
}

QString FindingsTableModel::tabSeparated(const std::vector<int>& rows) const {
    QString text;
    const auto cell = [](QString value) {
        for (QChar& c : value) {
            if (c == u'\t' || c == u'\n' || c == u'\r') {
                c = u' ';
            }
        }
        return value;
    };
    for (int column = 0; column < kColumnCount; ++column) {
        text += (column > 0 ? QStringLiteral("\t") : QString()) +
                headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    text += u'\n';
    for (const int row : rows) {
        for (int column = 0; column < kColumnCount; ++column) {
            text += (column > 0 ? QStringLiteral("\t") : QString()) + cell(this->text(row, column));
        }
        text += u'\n';
    }
    return text;
}

}  // namespace qor::gui
