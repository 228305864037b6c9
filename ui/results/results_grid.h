// The grid of the results window: a header row painted like the cells, fixed record
// columns that stay in place while the value columns scroll, and double clicks reported
// by cell.
#pragma once

#include <QTableView>

namespace vd::ui {

class ResultsGrid final : public QTableView {
    Q_OBJECT
  public:
    explicit ResultsGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // Column widths as the window sets them; width 0 hides a column.
    void setColumnWidthOrHide(int col, int width);
    void setHeaderHeight(int height);
    void setDefaultRowHeight(int height);
    int headerHeight() const;
    // Sum of the widths of columns [first, last).
    int columnsWidth(int first, int last) const;

    // The cell (column, grid row; row 0 the header) under a point of the grid widget, or
    // (-1, -1) where there is none.
    QPoint cellAt(const QPoint& gridPos) const;
    // Centre of a cell in grid widget coordinates (for clicks on a cell).
    QPoint cellCentre(int col, int gridRow) const;

    static constexpr int fixedColumns = 4;

  signals:
    void cellDoubleClicked(int col, int gridRow);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateGeometries() override;

  private:
    void placeFixedColumns();
    int fixedWidth() const;

    // The first four columns again, above the scrolling ones.
    QTableView* fixed_;
};

}  // namespace vd::ui
