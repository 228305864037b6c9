#include "grid_text_model.h"

namespace vd::ui {

GridTextModel::GridTextModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridTextModel::setCells(CellTexts cells) {
    beginResetModel();
    cells_ = std::move(cells);
    endResetModel();
}

void GridTextModel::setHint(HintFn hint) {
    hint_ = std::move(hint);
}

QString GridTextModel::cell(int col, int gridRow) const {
    if (gridRow < 0 || gridRow >= gridRowCount() || col < 0) return {};
    const auto& row = cells_[static_cast<std::size_t>(gridRow)];
    if (col >= static_cast<int>(row.size())) return {};
    return QString::fromStdString(row[static_cast<std::size_t>(col)]);
}

int GridTextModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || cells_.empty() ? 0 : gridRowCount() - 1;
}

int GridTextModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || cells_.empty() ? 0 : static_cast<int>(cells_.front().size());
}

QVariant GridTextModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int gridRow = index.row() + 1;
    if (role == Qt::DisplayRole) return cell(index.column(), gridRow);
    if (role == Qt::ToolTipRole && hint_) return hint_(index.column(), gridRow);
    return {};
}

QVariant GridTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return cell(section, 0);
    if (role == Qt::ToolTipRole && hint_) return hint_(section, 0);
    return {};
}

}  // namespace vd::ui
