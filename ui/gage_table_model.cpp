#include "gage_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFileInfo>
#include <QFont>

namespace vd::ui {

namespace {

const char* const headers[GageTableModel::columnTotal] = {"",      "Gage", "File", "Record",
                                                          "Start", "End",  "Use"};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

GageTableModel::GageTableModel(GageTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

void GageTableModel::setRecordHint(std::function<QString(const QString&)> hint) {
    recordHint_ = std::move(hint);
}

void GageTableModel::appendRow(GageRow row) {
    const int at = table_.rowCount();
    beginInsertRows({}, at, at);
    table_.append(std::move(row));
    endInsertRows();
}

void GageTableModel::toggleUse(int row) {
    table_.toggleUse(row);
    const QModelIndex cell = index(row, colUse);
    emit dataChanged(cell, cell);
}

void GageTableModel::setAllUse(bool use) {
    for (int r = 0; r < table_.rowCount(); ++r) table_.row(r).use = use;
    emit dataChanged(index(0, colUse), index(table_.rowCount() - 1, colUse));
}

int GageTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int GageTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnTotal;
}

QVariant GageTableModel::displayText(int row, int column) const {
    if (table_.empty()) return QString();
    const GageRow& r = table_.row(row);
    switch (column) {
        case colNumber:
            return QString::asprintf(" %2.2d", row + 1);
        case colGage:
            return qs(r.name);
        case colFile:
            return QFileInfo(qs(r.path)).completeBaseName();
        case colRecord:
            return qs(r.record);
        case colStart:
            return qs(r.start);
        case colEnd:
            return qs(r.end);
        default:
            return QString();
    }
}

QVariant GageTableModel::hint(int row, int column) const {
    if (table_.empty()) return QString::fromLatin1(flowDataHint);
    if (column == colGage || column == colFile) return displayText(row, column);
    if (column == colRecord) {
        const QString record = qs(table_.row(row).record);
        if (record == QLatin1String("N/A"))
            return QStringLiteral("Less than one full season of data found for this gage");
        if (recordHint_) return recordHint_(record);
    }
    return QString::fromLatin1(flowDataHint);
}

QVariant GageTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return displayText(row, column);
        case Qt::ToolTipRole:
            return hint(row, column);
        case Qt::ForegroundRole:
            return QBrush(table_.empty() ? QColor(128, 128, 128) : QColor(Qt::black));
        case Qt::BackgroundRole:
            // The first four columns are fixed: they look like the header and take no focus.
            if (column < colStart) return QBrush(QColor(240, 240, 240));
            return {};
        case useMarkRole:
            return !table_.empty() && table_.row(row).use;
        default:
            return {};
    }
}

bool GageTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || table_.empty()) return false;
    GageRow& r = table_.row(index.row());
    if (index.column() == colStart)
        r.start = value.toString().toStdString();
    else if (index.column() == colEnd)
        r.end = value.toString().toStdString();
    else
        return false;
    emit dataChanged(index, index);
    return true;
}

QVariant GageTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromLatin1(headers[section]);
        case Qt::ToolTipRole:
            return QString::fromLatin1(flowDataHint);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter | Qt::AlignVCenter));
        case Qt::FontRole: {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        default:
            return {};
    }
}

Qt::ItemFlags GageTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || table_.empty()) return Qt::ItemIsEnabled;
    switch (index.column()) {
        case colStart:
        case colEnd:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
        case colUse:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        default:
            return Qt::ItemIsEnabled;
    }
}

}  // namespace vd::ui
