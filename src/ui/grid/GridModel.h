#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

#include "model/TableQuery.h"

namespace mdb {

// A grid over one table as it is, no copy of its texts: the rows shown are a vector of
// record numbers, which filtering and sorting rebuild. Column 0 and 1 are the key and the
// name, which the window keeps in view.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The text of column `column` of record `record`, as shown.
    virtual QStringView cell(qint32 record, int column) const = 0;
    virtual CellKind kindOf(int column) const = 0;
    virtual QString captionOf(int column) const = 0;

    qint32 recordAt(int row) const { return shown_[size_t(row)]; }
    // The row showing `record`, -1 when it is filtered out.
    int rowOf(qint32 record) const;
    int shownCount() const { return int(shown_.size()); }
    int totalCount() const { return int(all_.size()); }
    const std::vector<qint32>& shownRecords() const { return shown_; }

    void setFilter(const RowFilter& filter);
    // The tables' texts changed: the next filter or sort reads them afresh. The rows stay where
    // they are until then, so that an edited row does not jump away under the user.
    void contentsChanged();
    // The texts of these records changed: the same, for them alone.
    void recordsEdited(const std::vector<qint32>& records);
    const RowFilter& filter() const { return filter_; }
    int sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return descending_; }

    // The query's view of the columns.
    QueryColumns queryColumns() const;
    // The rows shown as CSV text: a header of captions, then each row, quoted where needed.
    QString csvText() const;

signals:
    void shownCountChanged(int shown, int total);

protected:
    // Sets the records the grid can show (all of its table), in file order.
    void setRecords(std::vector<qint32> records);
    virtual int columns() const = 0;

private:
    void requery(bool narrowing = false);
    void buildSearchText();
    QString searchTextOf(qint32 record) const;

    std::vector<qint32> all_;
    std::vector<qint32> sorted_;  // all_ in the order of the sort column, once sorted
    bool sortedValid_ = false;
    bool shownCurrent_ = true;  // shown_ passes filter_ on the tables' present texts
    std::vector<qint32> shown_;
    // By record: the cells of searchColumns_ folded and joined, built at the first text filter
    // and kept while the texts and the columns searched stay the same.
    std::vector<QString> searchText_;
    std::vector<int> searchColumns_;
    RowFilter filter_;
    int sortColumn_ = -1;
    bool descending_ = false;
};

}  // namespace mdb
