#pragma once

#include <QWidget>
#include <array>

#include "core/options/search_options.h"

class QCheckBox;

namespace qor::gui {

// "DAT Elements": one row each for DAT(B), DAT(I), DAT(IL) and DAT(R) with the NAME box
// and the "Enable Search" box. NAME is the only column these types have, so the two boxes
// of a row move together: whichever is clicked, the other takes its state.
class DatTab : public QWidget {
    Q_OBJECT

public:
    static constexpr std::array<scan::ElementType, 4> kTypes{
        scan::ElementType::DATB, scan::ElementType::DATI, scan::ElementType::DATIL,
        scan::ElementType::DATR};

    explicit DatTab(options::SearchOptions& options, QWidget* parent = nullptr);

    void showRecord();

private:
    void rowClicked(std::size_t row, bool checked);

    options::SearchOptions& options_;
    std::array<QCheckBox*, 4> nameBoxes_{};
    std::array<QCheckBox*, 4> enableBoxes_{};
};

}  // namespace qor::gui
