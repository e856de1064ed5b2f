#include "ui/controls/ColumnModel.h"

namespace mdb {

ColumnModel::ColumnModel(QStringList rows, QObject* parent)
    : QAbstractListModel(parent), rows_(std::move(rows)) {}

int ColumnModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant ColumnModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return rows_[index.row()];
    return {};
}

QString ColumnModel::text(int row) const {
    return row >= 0 && row < rows_.size() ? rows_[row] : QString();
}

void ColumnModel::appendRows(const QStringList& rows) {
    if (rows.isEmpty()) return;
    beginInsertRows({}, int(rows_.size()), int(rows_.size() + rows.size() - 1));
    rows_.append(rows);
    endInsertRows();
}

void ColumnModel::replaceFirstRow(const QString& text) {
    if (rows_.isEmpty() || rows_[0] == text) return;
    rows_[0] = text;
    emit dataChanged(index(0), index(0));
}

void ColumnModel::clearRows() {
    if (rows_.isEmpty()) return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

}  // namespace mdb
