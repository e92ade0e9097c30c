#pragma once

#include "core/compare/export_comparison.h"

class QTableWidget;
class QWidget;

namespace qor::gui {

// The counts of a comparison as a table: the fourteen types in the order of the statistics
// table, each with its elements added, removed, changed and unchanged ("not compared" for a
// type left out). Its rows run in scan::statusOrder().
QTableWidget* newComparisonSummary(const compare::Comparison& comparison, QWidget* parent);

}  // namespace qor::gui
