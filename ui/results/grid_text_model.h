// A table of cell texts as the results and excursion windows show them: row 0 of the
// texts is the header row, every later row a data row. The texts come from the engine;
// the model only shows them.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

namespace vd::ui {

using CellTexts = std::vector<std::vector<std::string>>;

class GridTextModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The hint of a cell; `gridRow` 0 is the header row.
    using HintFn = std::function<QString(int col, int gridRow)>;

    explicit GridTextModel(QObject* parent = nullptr);

    void setCells(CellTexts cells);
    void setHint(HintFn hint);

    // The text of a cell in grid coordinates (row 0 the headers); empty outside the grid.
    QString cell(int col, int gridRow) const;
    int gridRowCount() const { return static_cast<int>(cells_.size()); }
    const CellTexts& cells() const { return cells_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    CellTexts cells_;
    HintFn hint_;
};

}  // namespace vd::ui
