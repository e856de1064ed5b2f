#pragma once

#include <QObject>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "ui/controls/ColumnModel.h"

namespace mdb {

// The shared list models of the main window: one per table column and first-row text.
// The table columns show the texts as loaded: a name committed later shows in the lists only
// after a restart, and every list of one column keeps the same row for the same monster. They
// read the tables' cells, which must outlive them.
class MirrorModels : public QObject {
    Q_OBJECT
public:
    explicit MirrorModels(QObject* parent = nullptr);

    // Status table, row p = record p + 1.
    ColumnModel* statusIds;                 // List3, Combo5
    ColumnModel* statusIdsClear;            // Combo6A, Combo10A, Combo12A: row 0 "解 除"
    ColumnModel* statusNames;               // List8B, List14, List9, List10, List12
    ColumnModel* statusDisplayNames;        // List4: row 0 "モンスター名"
    ColumnModel* statusDisplayNamesClear;   // Combo8A, Combo6, Combo10, Combo12: "選 択 解 除"
    ColumnModel* statusDisplayNamesChoose;  // Combo14: row 0 "モンスターを選択してね"

    // The key column of a table, row i = record i + 1: the dependent editors' key lists
    // (List1, List8A, List9A, ...); the status table's is statusNames.
    ColumnModel* keysOf(TableId table) const { return keys_[indexOf(table)]; }

    // Item pickers: List2, List8 show the IDs, Combo1, Combo8 the names, row for row.
    ColumnModel* itemIds;
    ColumnModel* itemNames;

    // Shows every record's entries in the status and key columns, in record order.
    void fillFromDatabase(const MonsterDatabase& db);
    // Puts the headings and clear entries in place of row 0 of the status columns.
    void replaceFirstRows();

private:
    std::array<ColumnModel*, kTableCount> keys_{};
};

}  // namespace mdb
