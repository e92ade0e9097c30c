#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <optional>
#include <span>

#include "core/checks/run_checks.h"

namespace qor::gui {

// What the checks find in an Elements window's table, worked out off the window's thread once
// the table is on screen, so that the window marks the elements that have findings. The table
// must outlive this object, which cancels the checks and waits for them when it goes.
class ElementFindings : public QObject {
    Q_OBJECT

public:
    ElementFindings(const elements::ElementTable& table,
                    std::optional<checks::CabinetSource> cabinets, QObject* parent = nullptr);
    ~ElementFindings() override;

    bool ready() const { return ready_; }
    // The findings of an element, in the checks' order; none until ready().
    std::span<const checks::Finding> of(elements::RowIndex row) const;
    // The gravest of them.
    std::optional<checks::Severity> gravestOf(elements::RowIndex row) const;
    // Each finding of the element on a line: "duplicate-name: NAME 'TT101' is also ...".
    QString describe(elements::RowIndex row) const;
    // The element's mark for a view: the gravest finding's icon (Qt::DecorationRole) or every
    // finding (Qt::ToolTipRole); nothing without findings.
    QVariant markOf(elements::RowIndex row, int role) const;

signals:
    // The checks are done: of() has the findings.
    void found();

private:
    void take();

    const elements::ElementTable& table_;
    std::optional<checks::CabinetSource> cabinets_;
    checks::CheckInput input_;
    std::atomic<bool> cancel_{false};
    QFutureWatcher<void> watcher_;
    std::optional<checks::CheckResult> computed_;  // by the work; nothing when it stopped
    checks::CheckResult result_;
    bool ready_ = false;
};

}  // namespace qor::gui
