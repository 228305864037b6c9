// The gage table as the grid shows it: seven columns over the rows of a GageTable; no row
// while the table holds no gage.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "gage_table.h"

namespace vd::ui {

using vd::run::GageRow;
using vd::run::GageTable;

class GageTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { colNumber, colGage, colFile, colRecord, colStart, colEnd, colUse, columnTotal };
    static constexpr int useMarkRole = Qt::UserRole + 1;

    explicit GageTableModel(GageTable& table, QObject* parent = nullptr);

    // The hint of a Record cell ("1951-2000" gives "Apr 1, 1950 - Mar 31, 2000"), which
    // depends on the season of the window.
    void setRecordHint(std::function<QString(const QString& record)> hint);

    // Appends a row to the table and to the grid.
    void appendRow(GageRow row);
    // Runs a change of the table and redraws the whole grid.
    template <class F>
    void change(F f) {
        beginResetModel();
        f(table_);
        endResetModel();
    }
    void toggleUse(int row);
    void setAllUse(bool use);

    const GageTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    QVariant displayText(int row, int column) const;
    QVariant hint(int row, int column) const;
    GageTable& table_;
    std::function<QString(const QString&)> recordHint_;
};

// The hint of the cells that have no hint of their own.
inline const char* const flowDataHint = "Flow data";

}  // namespace vd::ui
