#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>

namespace mdb {

// One read-only column of texts, shared by every list and drop-down that mirrors it. Row 0 may
// show a text of its own (a heading or a "clear" entry) in place of the column's first value.
// Rows are only ever appended, in one batch, so that bound combo boxes keep their selection.
class ColumnModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ColumnModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    ColumnModel(QStringList rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return int(rows_.size()); }
    // The text shown in a row (row 0 with its replacement), empty outside the rows.
    QString text(int row) const;

    // Keeps a look-up from each text, case-folded, to the first row holding it, so that a
    // whole-text search of a key column does not scan every row. Rows appended later join it.
    void indexWholeText();
    bool hasWholeTextIndex() const { return indexed_; }
    // First row from the top whose text equals `text` ignoring letter case, -1 when none; only
    // with the index.
    int indexedRow(const QString& text) const;

    void appendRows(const QStringList& rows);
    // Puts `text` in place of row 0; the other rows keep their positions.
    void replaceFirstRow(const QString& text);
    // Removes every row (only for lists no combo box is bound to).
    void clearRows();

private:
    void indexRows(int first);

    QStringList rows_;
    bool indexed_ = false;
    QHash<QString, int> firstRowOf_;  // case-folded text -> first row
};

}  // namespace mdb
