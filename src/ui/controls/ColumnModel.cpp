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

void ColumnModel::indexWholeText() {
    if (indexed_) return;
    indexed_ = true;
    indexRows(0);
}

void ColumnModel::indexRows(int first) {
    if (!indexed_) return;
    firstRowOf_.reserve(rows_.size());
    for (int row = first; row < rows_.size(); ++row) {
        // an earlier row with the same key keeps its place: look-ups find the first from the top
        const QString key = rows_[row].toCaseFolded();
        if (!firstRowOf_.contains(key)) firstRowOf_.insert(key, row);
    }
}

int ColumnModel::indexedRow(const QString& text) const {
    return firstRowOf_.value(text.toCaseFolded(), -1);
}

void ColumnModel::appendRows(const QStringList& rows) {
    if (rows.isEmpty()) return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, int(rows_.size() + rows.size() - 1));
    rows_.append(rows);
    indexRows(first);
    endInsertRows();
}

void ColumnModel::replaceFirstRow(const QString& text) {
    if (rows_.isEmpty() || rows_[0] == text) return;
    rows_[0] = text;
    if (indexed_) {
        firstRowOf_.clear();
        indexRows(0);
    }
    emit dataChanged(index(0), index(0));
}

void ColumnModel::clearRows() {
    if (rows_.isEmpty()) return;
    beginResetModel();
    rows_.clear();
    firstRowOf_.clear();
    endResetModel();
}

}  // namespace mdb
