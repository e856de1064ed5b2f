#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <memory>
#include <vector>

#include "model/ItemDatabase.h"
#include "model/Table.h"
#include "ui/controls/KeyIndex.h"
#include "ui/controls/PrefixIndex.h"

namespace mdb {

// One read-only column of texts, shared by every list and drop-down that mirrors it. Row 0 may
// show a text of its own (a heading or a "clear" entry) in place of the column's first value.
// Rows are only ever appended, in one batch, so that bound combo boxes keep their selection.
// A column of a table is not copied: its rows are read from the table's cells, as loaded.
class ColumnModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ColumnModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    ColumnModel(const QStringList& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return tableRows_ + appendedRows_; }
    // The text shown in a row (row 0 with its replacement), empty outside the rows. The view
    // stays valid as long as the model and the table it shows.
    QStringView view(int row) const {
        if (row < 0 || row >= count()) return {};
        if (row == 0 && hasFirstRow_) return firstRow_;
        return row < tableRows_ ? tableView(row) : appendedView(row);
    }
    QString text(int row) const { return view(row).toString(); }

    // Keeps a look-up from each text, case-folded, to the first row holding it, so that a
    // whole-text search of a key column does not scan every row. It is built once look-ups
    // have read as many rows as the column holds, so that a column searched a few times costs
    // no index; rows appended later join it.
    void indexWholeText();
    bool hasWholeTextIndex() const { return indexed_; }
    // Brings that index up to the rows there are now: a command that appends many rows pays
    // for their index itself, instead of the first look-up after it.
    void indexNow() const {
        if (indexed_) indexRows();
    }
    // First row from the top whose text equals `text` ignoring letter case, -1 when none; only
    // with the index.
    int indexedRow(QStringView text) const;

    // First row from the top whose text begins with `text` ignoring letter case, -1 when
    // none. The rows are grouped by their first character at the first such search, so that a
    // search, also one that finds nothing, looks only at the rows that can match.
    int firstRowStartingWith(QStringView text) const;

    // Shows records 1..Count of `field` as rows 0..Count-1, with the texts they were loaded
    // with; the table must outlive the model. Only for a model with no rows yet.
    void showTableColumn(const Table& table, int field);
    void appendRows(const QStringList& rows);
    // Appends the IDs or the names of the items of `texts`, in that order, as rows that read
    // the texts, which the model keeps.
    enum class ItemColumn { Id, Name };
    void appendItemRows(const std::vector<std::shared_ptr<const ItemTexts>>& texts,
                        ItemColumn column);
    // Puts `text` in place of row 0; the other rows keep their positions.
    void replaceFirstRow(const QString& text);
    // Removes every row (only for lists no combo box is bound to).
    void clearRows();

private:
    QStringView tableView(int row) const { return table_->loadedView(row + 1, field_); }
    QStringView appendedView(int row) const;
    // Brings the index up to the rows there are.
    void indexRows() const;

    const Table* table_ = nullptr;
    int field_ = 0;
    int tableRows_ = 0;  // the table's records come first, then the appended runs of rows
    // Rows appended together: views of texts the model keeps, or the IDs or names of items.
    struct Run {
        int first = 0;
        std::vector<QStringView> views;
        std::shared_ptr<const ItemTexts> items;
        ItemColumn column = ItemColumn::Id;
    };
    std::vector<Run> runs_;
    int appendedRows_ = 0;
    std::vector<QString> kept_;  // what the views of the runs point into
    QString firstRow_;
    bool hasFirstRow_ = false;
    bool indexed_ = false;
    mutable KeyIndex index_;
    mutable int indexedRows_ = 0;     // rows 0..indexedRows_-1 are in index_
    mutable qint64 scannedRows_ = 0;  // rows read by look-ups made without the index
    mutable PrefixIndex prefixes_;
    mutable int prefixRows_ = 0;  // rows 0..prefixRows_-1 are in prefixes_
};

}  // namespace mdb
