#include "ui/controls/ColumnModel.h"

#include "model/Table.h"

namespace mdb {

ColumnModel::ColumnModel(const QStringList& rows, QObject* parent) : QAbstractListModel(parent) {
    appendRows(rows);
}

int ColumnModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ColumnModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return text(index.row());
    return {};
}

QStringView ColumnModel::tableView(int row) const {
    return table_->loadedView(row + 1, field_);
}

void ColumnModel::indexWholeText() {
    if (indexed_) return;
    indexed_ = true;
    indexRows(0);
}

void ColumnModel::indexRows(int first) {
    if (!indexed_) return;
    index_.add(first, count(), [this](int row) { return view(row); });
}

int ColumnModel::indexedRow(QStringView text) const {
    return index_.find(text, [this](int row) { return view(row); });
}

void ColumnModel::showTableColumn(const Table& table, int field) {
    Q_ASSERT(count() == 0);
    const int rows = int(table.Count());
    if (rows == 0) return;
    beginInsertRows({}, 0, rows - 1);
    table_ = &table;
    field_ = field;
    tableRows_ = rows;
    indexRows(0);
    endInsertRows();
}

void ColumnModel::appendRows(const QStringList& rows) {
    if (rows.isEmpty()) return;
    const int first = count();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    views_.reserve(views_.size() + size_t(rows.size()));
    kept_.reserve(kept_.size() + size_t(rows.size()));
    for (const QString& row : rows) {
        kept_.push_back(row);
        views_.push_back(kept_.back());
    }
    indexRows(first);
    endInsertRows();
}

void ColumnModel::appendRows(const QStringList& texts, const std::vector<QStringView>& rows) {
    if (rows.empty()) return;
    const int first = count();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    kept_.insert(kept_.end(), texts.begin(), texts.end());
    views_.insert(views_.end(), rows.begin(), rows.end());
    indexRows(first);
    endInsertRows();
}

void ColumnModel::replaceFirstRow(const QString& text) {
    if (count() == 0 || view(0) == text) return;
    firstRow_ = text;
    hasFirstRow_ = true;
    if (indexed_) {
        index_.clear();
        indexRows(0);
    }
    emit dataChanged(index(0), index(0));
}

void ColumnModel::clearRows() {
    if (count() == 0) return;
    beginResetModel();
    table_ = nullptr;
    tableRows_ = 0;
    views_.clear();
    kept_.clear();
    firstRow_.clear();
    hasFirstRow_ = false;
    index_.clear();
    endResetModel();
}

}  // namespace mdb
