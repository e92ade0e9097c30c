#include "gui/elements/element_findings.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <new>

namespace qor::gui {

ElementFindings::ElementFindings(const elements::ElementTable& table,
                                 std::optional<checks::CabinetSource> cabinets, QObject* parent)
    : QObject(parent),
      table_(table),
      cabinets_(std::move(cabinets)),
      input_{table_, cabinets_ ? &*cabinets_ : nullptr} {
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &ElementFindings::take);
    // One thread: the window's filtering and sorting keep the others.
    watcher_.setFuture(QtConcurrent::run([this] {
        try {
            computed_ = checks::runChecks(input_, {}, 1, &cancel_);
        } catch (const checks::ChecksCancelled&) {
            // The window went.
        } catch (const std::bad_alloc&) {
            // The marks are an extra: the window works without them.
        }
    }));
}

ElementFindings::~ElementFindings() {
    cancel_ = true;
    watcher_.waitForFinished();
}

void ElementFindings::take() {
    if (!computed_) {
        return;
    }
    result_ = std::move(*computed_);
    computed_.reset();
    ready_ = true;
    emit found();
}

std::span<const checks::Finding> ElementFindings::of(elements::RowIndex row) const {
    const auto [first, last] = std::equal_range(
        result_.findings.begin(), result_.findings.end(), checks::Finding{row, 0, 0, 0},
        [](const checks::Finding& a, const checks::Finding& b) { return a.row < b.row; });
    return {first, last};
}

std::optional<checks::Severity> ElementFindings::gravestOf(elements::RowIndex row) const {
    std::optional<checks::Severity> gravest;
    for (const checks::Finding& finding : of(row)) {
        const checks::Severity severity = checks::checkRegistry()[finding.check]->severity;
        gravest = gravest ? std::min(*gravest, severity) : severity;
    }
    return gravest;
}

QString ElementFindings::describe(elements::RowIndex row) const {
    QStringList lines;
    for (const checks::Finding& finding : of(row)) {
        const checks::Check& check = *checks::checkRegistry()[finding.check];
        lines << QStringLiteral("%1: %2").arg(
            QString::fromLatin1(check.id.data(), static_cast<qsizetype>(check.id.size())),
            QString::fromStdString(check.message(finding, input_, checks::Wording::Translated)));
    }
    return lines.join(QLatin1Char('\n'));
}

QVariant ElementFindings::markOf(elements::RowIndex row, int role) const {
    const std::optional<checks::Severity> gravest = gravestOf(row);
    if (!gravest) {
        return {};
    }
    if (role == Qt::ToolTipRole) {
        return describe(row);
    }
    if (role != Qt::DecorationRole) {
        return {};
    }
    return QApplication::style()->standardIcon(
        *gravest == checks::Severity::Error     ? QStyle::SP_MessageBoxCritical
        : *gravest == checks::Severity::Warning ? QStyle::SP_MessageBoxWarning
                                                : QStyle::SP_MessageBoxInformation);
}

}  // namespace qor::gui
