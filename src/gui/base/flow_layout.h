#pragma once

#include <QLayout>
#include <vector>

namespace qor::gui {

// Lays its items out left to right and starts a new line where the width runs out, so that a
// bar of controls stays whole in a narrow window (a tiled one, a large scale) instead of
// squeezing its controls over one another. A stretching item takes what its line leaves over.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addWidget(QWidget* widget, bool stretch = false);

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        bool stretch;
    };
    // Places the items inside `rect` (only measures unless `apply`); returns the height used.
    int arrange(const QRect& rect, bool apply) const;
    int gap() const;

    std::vector<Entry> items_;
};

}  // namespace qor::gui
