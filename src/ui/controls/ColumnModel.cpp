#include "ui/controls/ColumnModel.h"

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

void ColumnModel::indexWholeText() {
    indexed_ = true;
}

void ColumnModel::indexRows() const {
    if (indexedRows_ == count()) return;
    index_.add(indexedRows_, count(), [this](int row) { return view(row); });
    indexedRows_ = count();
}

int ColumnModel::indexedRow(QStringView text) const {
    if (!indexed_) return -1;
    // Look-ups scan until they have read as many rows as the column holds; only then is the
    // index built. The start looks each key column up once or twice, mostly for a key near the
    // top, and must not pay for six indexes of tens of thousands of rows it may never use; a
    // column looked up often still gets its index, for no more than the reading it replaces.
    if (indexedRows_ == 0 && scannedRows_ < count()) {
        const int n = count();
        for (int row = 0; row < n; ++row) {
            ++scannedRows_;
            if (view(row).compare(text, Qt::CaseInsensitive) == 0) return row;
        }
        return -1;
    }
    indexRows();
    return index_.find(text, [this](int row) { return view(row); });
}

int ColumnModel::firstRowStartingWith(QStringView text) const {
    const auto viewOf = [this](int row) { return view(row); };
    if (!PrefixIndex::usable(text)) {
        for (int row = 0; row < count(); ++row) {
            if (view(row).startsWith(text, Qt::CaseInsensitive)) return row;
        }
        return -1;
    }
    if (prefixRows_ < count()) {
        prefixes_.add(prefixRows_, count(), viewOf);
        prefixRows_ = count();
    }
    return prefixes_.find(text, viewOf);
}

void ColumnModel::showTableColumn(const Table& table, int field) {
    Q_ASSERT(count() == 0);
    const int rows = int(table.Count());
    if (rows == 0) return;
    beginInsertRows({}, 0, rows - 1);
    table_ = &table;
    field_ = field;
    tableRows_ = rows;
    endInsertRows();
}

QStringView ColumnModel::appendedView(int row) const {
    // a few runs at most: a list's own rows, the clear row and the items of a load or two
    auto run = runs_.end() - 1;
    while (run->first > row) --run;
    const qsizetype i = row - run->first;
    if (!run->items) return run->views[size_t(i)];
    return run->column == ItemColumn::Id ? run->items->id(i) : run->items->name(i);
}

void ColumnModel::appendRows(const QStringList& rows) {
    if (rows.isEmpty()) return;
    const int first = count();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    if (runs_.empty() || runs_.back().items) runs_.push_back({first, {}, nullptr, {}});
    std::vector<QStringView>& views = runs_.back().views;
    views.reserve(views.size() + size_t(rows.size()));
    kept_.reserve(kept_.size() + size_t(rows.size()));
    for (const QString& row : rows) {
        kept_.push_back(row);
        views.push_back(kept_.back());
    }
    appendedRows_ += int(rows.size());
    endInsertRows();
}

void ColumnModel::appendItemRows(const std::vector<std::shared_ptr<const ItemTexts>>& texts,
                                 ItemColumn column) {
    qsizetype rows = 0;
    for (const auto& items : texts) rows += items->size();
    if (rows == 0) return;
    const int first = count();
    beginInsertRows({}, first, first + int(rows) - 1);
    for (const auto& items : texts) {
        if (items->size() == 0) continue;
        runs_.push_back({count(), {}, items, column});
        appendedRows_ += int(items->size());
    }
    endInsertRows();
}

void ColumnModel::replaceFirstRow(const QString& text) {
    if (count() == 0 || view(0) == text) return;
    firstRow_ = text;
    hasFirstRow_ = true;
    index_.clear();
    indexedRows_ = 0;
    prefixes_.clear();
    prefixRows_ = 0;
    emit dataChanged(index(0), index(0));
}

void ColumnModel::clearRows() {
    if (count() == 0) return;
    beginResetModel();
    table_ = nullptr;
    tableRows_ = 0;
    runs_.clear();
    appendedRows_ = 0;
    kept_.clear();
    firstRow_.clear();
    hasFirstRow_ = false;
    index_.clear();
    indexedRows_ = 0;
    prefixes_.clear();
    prefixRows_ = 0;
    endResetModel();
}

}  // namespace mdb
