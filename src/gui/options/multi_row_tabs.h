#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QStackedWidget;

namespace qor::gui {

// A tab control whose tabs wrap into rows of a fixed number of tabs, as a dialog with many
// pages needs. The row that holds the current tab sits next to the page, as multi-row tab
// controls do; captions wrap onto up to three lines so that a full row stays narrow.
class MultiRowTabWidget : public QWidget {
    Q_OBJECT

public:
    explicit MultiRowTabWidget(int tabsPerRow, QWidget* parent = nullptr);

    int addTab(QWidget* page, const QString& caption);
    int count() const { return static_cast<int>(captions_.size()); }
    QString tabText(int index) const;
    QWidget* widget(int index) const;
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    int rowCount() const;
    // Puts fewer tabs in a row, down to one, until every row fits `width` (a small screen, a
    // large scale); never more than the number asked for at construction.
    void fitRowsTo(int width);
    // Where tab `index` is drawn, in this widget's coordinates.
    QRect tabRect(int index) const;
    // The tab under `point`, or -1.
    int tabAt(const QPoint& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Layout {
        std::vector<QString> wrapped;  // captions with their line breaks
        std::vector<int> naturalWidths;
        std::vector<int> rowHeights;  // by row number, each as tall as its tallest caption
        int height() const;
    };

    Layout layoutFor(int maximumRowWidth) const;
    int naturalRowWidth(const Layout& layout, int row) const;
    // Row numbers from top to bottom: the current tab's row comes last, next to the page.
    std::vector<int> rowsTopDown() const;
    QRect paneRect() const;
    // The control's size around pages of `pages`.
    QSize sizeAround(const QSize& pages) const;
    void placePages();

    const int preferredTabsPerRow_;
    int tabsPerRow_;
    std::vector<QString> captions_;
    QStackedWidget* pages_;
    int current_ = -1;
    int hovered_ = -1;
};

}  // namespace qor::gui
