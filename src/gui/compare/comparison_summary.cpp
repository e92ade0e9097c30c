#include "gui/compare/comparison_summary.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>

namespace qor::gui {
namespace {

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

}  // namespace

QTableWidget* newComparisonSummary(const compare::Comparison& comparison, QWidget* parent) {
    const QStringList columns{QCoreApplication::translate("ComparisonSummary", "DataBase element"),
                              QCoreApplication::translate("ComparisonSummary", "Added"),
                              QCoreApplication::translate("ComparisonSummary", "Removed"),
                              QCoreApplication::translate("ComparisonSummary", "Changed"),
                              QCoreApplication::translate("ComparisonSummary", "Unchanged")};
    auto* table =
        new QTableWidget(static_cast<int>(scan::kElementTypeCount), columns.size(), parent);
    table->setObjectName("tblSummary");
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->viewport()->setCursor(Qt::PointingHandCursor);
    table->setToolTip(
        QCoreApplication::translate("ComparisonSummary", "Click a type to show only its changes."));
    int row = 0;
    for (const scan::ElementType type : scan::statusOrder()) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        table->setItem(
            row, 0, cell(QString::fromStdString(scan::shownStatisticsName(info)), Qt::AlignLeft));
        if (!comparison.compared[scan::indexOf(type)]) {
            table->setSpan(row, 1, 1, 4);
            table->setItem(row, 1,
                           cell(QCoreApplication::translate("ComparisonSummary", "not compared"),
                                Qt::AlignCenter));
        } else {
            const compare::TypeCounts& counts = comparison.countsOf(type);
            int column = 1;
            for (const long long count :
                 {counts.added, counts.removed, counts.changed, counts.unchanged}) {
                table->setItem(row, column++, cell(QString::number(count), Qt::AlignRight));
            }
        }
        ++row;
    }
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->resizeColumnsToContents();
    // Every count in sight: the table is as large as its cells, and never smaller.
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setMinimumSize(table->sizeHint());
    table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return table;
}

}  // namespace qor::gui
