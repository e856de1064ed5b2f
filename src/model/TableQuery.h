#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace mdb {

class Table;

// What a column of a table view is to sorting and filtering: text compared as text, or
// numbers compared by value.
enum class CellKind { Text, Number };

// The text of one column of one record as a view shows it: a field of the table or a text
// looked up elsewhere (the display name of a dependent table's monster).
using CellText = std::function<QStringView(qint32 record)>;

// A condition on a numeric column. A cell that is not a number (empty, letters) meets none:
// "less than 10" must not list the monsters whose field is blank.
struct NumberCondition {
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Between };
    int column = 0;  // as the view numbers its columns
    Op op = Op::Equal;
    double value = 0;
    double upTo = 0;  // the upper end of Between (both ends included)

    bool holdsFor(QStringView cell) const;
    bool operator==(const NumberCondition&) const = default;
};

// Which rows a view shows: those whose text columns contain the text (ignoring letter case)
// and that meet every condition.
struct RowFilter {
    QString text;
    std::vector<int> textColumns;  // where the text is sought
    std::vector<NumberCondition> conditions;

    bool passesAll() const { return text.isEmpty() && conditions.empty(); }
};

// A view's columns as the query reads them.
struct QueryColumns {
    std::vector<CellText> cells;
    std::vector<CellKind> kinds;
    // When set: a record's cells of the filter's text columns, case-folded and joined by
    // kSearchSeparator, so that one search of the folded text tells whether any cell holds it.
    CellText foldedSearch;
};

// Joins the cells of a folded search: a character no one types, so no match spans two cells.
inline constexpr char16_t kSearchSeparator = u'\x1f';

// The records of `all` (in their order) that pass `filter`.
std::vector<qint32> filterRecords(const QueryColumns& columns, const std::vector<qint32>& all,
                                  const RowFilter& filter);

// Orders `records` by one column, stably, so that rows of equal cells keep their order. A
// number column puts numbers in value order, then the cells that are not numbers (blank
// first) by text; descending is the same order reversed, equal cells still in their order.
void sortRecords(const QueryColumns& columns, std::vector<qint32>& records, int column,
                 bool descending);

// The number a cell holds, when the whole cell is one.
bool cellNumber(QStringView cell, double& value);

}  // namespace mdb
