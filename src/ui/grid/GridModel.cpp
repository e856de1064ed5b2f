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
    filter_ = filter;
    requery();
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
    requery();
}

void GridModel::requery() {
    const QueryColumns query = queryColumns();
    std::vector<qint32> shown = filterRecords(query, all_, filter_);
    // the filter keeps file order, so each new filter is sorted again from it: equal cells
    // stay in file order whatever was sorted before
    if (sortColumn_ >= 0) sortRecords(query, shown, sortColumn_, descending_);
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
