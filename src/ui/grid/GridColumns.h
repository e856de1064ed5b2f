#pragma once

#include <QString>
#include <vector>

#include "model/TableId.h"
#include "model/TableQuery.h"

namespace mdb {

// What a cell of the grid takes when the user edits it: the rule of the form box that edits
// the same field, read from the field's role in the table registry.
enum class CellRule {
    ReadOnly,      // keys, monster references and what the forms pick from lists
    FreeText,      // free text typed in a box: the display name
    Number,        // a number box without an upper limit
    UpToLimit,     // a chance or a bounded number: above the column's limit, the limit
    AtLeastOne,    // the number of forms: 0 becomes 1
    LimitedCount,  // summons and slaves: above the column's limit the limit, the user told
};

// One column of a table's grid. Columns 0 and 1 are always the monster's key and its display
// name, which stay in view while the others scroll.
struct GridColumn {
    int field;  // 1-based field of the table; 0 for the display name looked up in the status
    QString caption;
    CellKind kind;
    CellRule rule;
    int limit = 0;  // the largest value UpToLimit and LimitedCount take
};

// The columns of a monster table's grid: every field of its descriptor, with the captions and
// the rules its form uses.
std::vector<GridColumn> gridColumnsOf(TableId id);

// The first record a grid shows: the status table's record 1 is no monster.
qint32 firstShownRecord(TableId id);

// What a cell of `column` will hold for the text the user typed, or why it is refused.
struct CellVerdict {
    bool accepted = false;
    QString text;          // the text to store
    bool limited = false;  // brought down to a limit the user is told of
    QString refusal;       // the message when refused
};
CellVerdict judgeCellText(const GridColumn& column, const QString& typed);

}  // namespace mdb
