#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <optional>

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

    void appendRows(const QStringList& rows);
    // Puts `text` in place of row 0; the other rows keep their positions.
    void replaceFirstRow(const QString& text);
    // Removes every row (only for lists no combo box is bound to).
    void clearRows();

private:
    QStringList rows_;
};

}  // namespace mdb
