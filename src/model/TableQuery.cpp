#include "model/TableQuery.h"

#include <algorithm>
#include <numeric>

#include "model/NumericText.h"

namespace mdb {

bool cellNumber(QStringView cell, double& value) {
    if (cell.isEmpty() || !isValidNumber(cell)) return false;
    value = numericValue(cell);
    return true;
}

bool NumberCondition::holdsFor(QStringView cell) const {
    double v = 0;
    if (!cellNumber(cell, v)) return false;
    switch (op) {
        case Op::Equal:
            return v == value;
        case Op::NotEqual:
            return v != value;
        case Op::Less:
            return v < value;
        case Op::LessEqual:
            return v <= value;
        case Op::Greater:
            return v > value;
        case Op::GreaterEqual:
            return v >= value;
        case Op::Between:
            return v >= value && v <= upTo;
    }
    return false;
}

std::vector<qint32> filterRecords(const QueryColumns& columns, const std::vector<qint32>& all,
                                  const RowFilter& filter) {
    if (filter.passesAll()) return all;
    std::vector<const CellText*> textCells;
    for (int c : filter.textColumns) {
        if (c >= 0 && size_t(c) < columns.cells.size()) textCells.push_back(&columns.cells[c]);
    }
    const QString folded = filter.text.toCaseFolded();
    std::vector<qint32> shown;
    shown.reserve(all.size());
    for (qint32 record : all) {
        bool pass = true;
        // the conditions first: a number test is cheaper than a search through every column
        for (const NumberCondition& condition : filter.conditions) {
            if (condition.column < 0 || size_t(condition.column) >= columns.cells.size() ||
                !condition.holdsFor(columns.cells[condition.column](record))) {
                pass = false;
                break;
            }
        }
        if (pass && !filter.text.isEmpty() && columns.foldedSearch) {
            pass = columns.foldedSearch(record).contains(folded);
        } else if (pass && !filter.text.isEmpty()) {
            pass = std::any_of(textCells.begin(), textCells.end(), [&](const CellText* cell) {
                return (*cell)(record).contains(filter.text, Qt::CaseInsensitive);
            });
        }
        if (pass) shown.push_back(record);
    }
    return shown;
}

namespace {

// A cell's place in a number column's order: numbers first, by value; then the rest by text.
struct NumberKey {
    bool isNumber;
    double value;
    QStringView text;
};

bool numberKeyLess(const NumberKey& a, const NumberKey& b) {
    if (a.isNumber != b.isNumber) return a.isNumber;
    if (a.isNumber) return a.value < b.value;
    return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
}

template <class Key, class Less>
void sortByKeys(std::vector<qint32>& records, const std::vector<Key>& keys, const Less& less,
                bool descending) {
    // sort positions into `records`, so that each comparison reads keys from one vector
    std::vector<qint32> order(records.size());
    std::iota(order.begin(), order.end(), 0);
    if (descending) {
        std::stable_sort(order.begin(), order.end(),
                         [&](qint32 a, qint32 b) { return less(keys[b], keys[a]); });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](qint32 a, qint32 b) { return less(keys[a], keys[b]); });
    }
    std::vector<qint32> sorted(records.size());
    for (size_t i = 0; i < order.size(); ++i) sorted[i] = records[size_t(order[i])];
    records.swap(sorted);
}

}  // namespace

void sortRecords(const QueryColumns& columns, std::vector<qint32>& records, int column,
                 bool descending) {
    if (column < 0 || size_t(column) >= columns.cells.size()) return;
    const CellText& cell = columns.cells[column];
    if (columns.kinds[column] == CellKind::Number) {
        std::vector<NumberKey> keys(records.size());
        for (size_t i = 0; i < records.size(); ++i) {
            NumberKey& key = keys[i];
            key.text = cell(records[i]);
            key.value = 0;
            key.isNumber = cellNumber(key.text, key.value);
        }
        sortByKeys(records, keys, numberKeyLess, descending);
        return;
    }
    std::vector<QStringView> keys(records.size());
    for (size_t i = 0; i < records.size(); ++i) keys[i] = cell(records[i]);
    sortByKeys(
        records, keys,
        [](QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) < 0; },
        descending);
}

}  // namespace mdb
