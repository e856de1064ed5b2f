#pragma once

#include <QString>
#include <vector>

#include "model/TableQuery.h"

namespace mdb {

class MonsterDatabase;
class Table;

// What a cell of the grid takes when the user edits it: the rule of the form box that edits
// the same field.
enum class CellRule {
    ReadOnly,      // keys, the ID, codes and states: chosen in the forms from lists
    FreeText,      // the display name
    Number,        // a number box without an upper limit
    DropRate,      // a drop rate: at most 10000
    MorphCount,    // the number of forms: 0 becomes 1
    LimitedCount,  // summons and slaves: at most 20, the user told
    Emotion,       // an emotion number, 0 to 47
};

// One column of a table's grid. Columns 0 and 1 are always the monster's key and its display
// name, which stay in view while the others scroll.
struct GridColumn {
    int field;  // 1-based field of the table; 0 for the display name looked up in the status
    QString caption;
    CellKind kind;
    CellRule rule;
};

// The columns of a monster table's grid, with the captions its form uses.
std::vector<GridColumn> gridColumnsOf(const MonsterDatabase& db, const Table& table);

// The first record a grid shows: the status table's record 1 is no monster.
qint32 firstShownRecord(const MonsterDatabase& db, const Table& table);

// What the cell of `rule` will hold for the text the user typed, or why it is refused.
struct CellVerdict {
    bool accepted = false;
    QString text;          // the text to store
    bool limited = false;  // brought down to a limit the user is told of
    QString refusal;       // the message when refused
};
CellVerdict judgeCellText(CellRule rule, const QString& typed);

}  // namespace mdb
