#include "ui/grid/GridModel.h"

#include <QStringBuilder>

namespace mdb {

using namespace Qt::StringLiterals;

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(shown_.size())) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return cell(shown_[size_t(index.row())], index.column()).toString();
    }
    if (role == Qt::TextAlignmentRole && kindOf(index.column()) == CellKind::Number) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return captionOf(section);
    if (section < 0 || section >= int(shown_.size())) return {};
    return QString::number(shown_[size_t(section)]);
}

void GridModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columns()) return;
    if (column != sortColumn_ || descending_ != (order == Qt::DescendingOrder))
        sortedValid_ = false;
    sortColumn_ = column;
    descending_ = order == Qt::DescendingOrder;
    requery();
}

int GridModel::rowOf(qint32 record) const {
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (shown_[i] == record) return int(i);
    }
    return -1;
}

void GridModel::setFilter(const RowFilter& filter) {
    // A text typed on (the old text within the new) with the same columns and conditions can
    // only drop rows: only the rows shown need to be searched, the common case of a keystroke.
    const bool narrowing = shownCurrent_ && !filter_.text.isEmpty() &&
                           filter.textColumns == filter_.textColumns &&
                           filter.conditions == filter_.conditions &&
                           filter.text.contains(filter_.text, Qt::CaseInsensitive);
    filter_ = filter;
    requery(narrowing);
}

void GridModel::contentsChanged() {
    sortedValid_ = false;
    shownCurrent_ = false;
    searchText_.clear();
}

void GridModel::recordsEdited(const std::vector<qint32>& records) {
    sortedValid_ = false;
    shownCurrent_ = false;
    for (qint32 record : records) {
        if (record >= 0 && size_t(record) < searchText_.size())
            searchText_[size_t(record)] = searchTextOf(record);
    }
}

QString GridModel::searchTextOf(qint32 record) const {
    QString text;
    for (int c : searchColumns_) {
        if (c < 0 || c >= columns()) continue;
        text += cell(record, c);
        text += QChar(kSearchSeparator);
    }
    return std::move(text).toCaseFolded();
}

void GridModel::buildSearchText() {
    if (!searchText_.empty() && searchColumns_ == filter_.textColumns) return;
    searchColumns_ = filter_.textColumns;
    qint32 last = 0;
    for (qint32 record : all_) last = std::max(last, record);
    searchText_.assign(size_t(last) + 1, QString());
    for (qint32 record : all_) searchText_[size_t(record)] = searchTextOf(record);
}

QueryColumns GridModel::queryColumns() const {
    QueryColumns query;
    for (int c = 0; c < columns(); ++c) {
        query.cells.push_back([this, c](qint32 record) { return cell(record, c); });
        query.kinds.push_back(kindOf(c));
    }
    return query;
}

void GridModel::setRecords(std::vector<qint32> records) {
    all_ = std::move(records);
    sortedValid_ = false;
    requery();
}

void GridModel::requery(bool narrowing) {
    QueryColumns query = queryColumns();
    if (!filter_.text.isEmpty()) {
        buildSearchText();
        query.foldedSearch = [this](qint32 record) -> QStringView {
            return searchText_[size_t(record)];
        };
    }
    // The whole table is sorted once per sort (stably, from file order) and each filter keeps
    // that order: the same rows in the same order as sorting the filtered rows, equal cells in
    // file order, without a sort per keystroke.
    if (sortColumn_ >= 0 && !sortedValid_) {
        sorted_ = all_;
        sortRecords(query, sorted_, sortColumn_, descending_);
        sortedValid_ = true;
    }
    const std::vector<qint32>& from = narrowing ? shown_ : sortColumn_ >= 0 ? sorted_ : all_;
    std::vector<qint32> shown = filterRecords(query, from, filter_);
    shownCurrent_ = true;
    beginResetModel();
    shown_.swap(shown);
    endResetModel();
    emit shownCountChanged(int(shown_.size()), int(all_.size()));
}

namespace {

QString csvField(QStringView text) {
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') || text.startsWith(u' ') || text.endsWith(u' ');
    if (!quote) return text.toString();
    QString quoted = text.toString();
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' % quoted % u'"';
}

}  // namespace

QString GridModel::csvText() const {
    QString out;
    for (int c = 0; c < columns(); ++c) {
        if (c) out += u',';
        out += csvField(captionOf(c));
    }
    out += u"\r\n"_s;
    for (qint32 record : shown_) {
        for (int c = 0; c < columns(); ++c) {
            if (c) out += u',';
            out += csvField(cell(record, c));
        }
        out += u"\r\n"_s;
    }
    return out;
}

}  // namespace mdb
