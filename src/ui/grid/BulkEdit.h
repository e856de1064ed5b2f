#pragma once

#include <QString>
#include <vector>

#include "ui/grid/GridColumns.h"

namespace mdb {

class Table;

// One change applied to many cells of one number column: 値を設定, 加算, 倍率.
enum class BulkOp { Set, Add, Multiply };

// What a bulk change would do, cell by cell, before it is applied: the preview the user
// confirms is the very list that is applied.
struct BulkPlan {
    struct Cell {
        qint32 record;
        QString after;
    };
    std::vector<Cell> cells;  // the cells whose text changes
    int selected = 0;         // cells chosen
    int skipped = 0;          // cells that hold no number to add to or multiply
    int clamped = 0;          // cells a limit (or the floor of 0) brought back
    bool anyBefore = false, anyAfter = false;
    double minBefore = 0, maxBefore = 0, minAfter = 0, maxAfter = 0;
};

// Plans `op` with `operand` over `records` of `column`, each result whole (halves to even) and
// settled by the cell rule of the column, as a typed value would be.
BulkPlan planBulkEdit(const Table& table, const std::vector<qint32>& records,
                      const GridColumn& column, BulkOp op, double operand);

// The preview's words.
QString describePlan(const BulkPlan& plan);

}  // namespace mdb
