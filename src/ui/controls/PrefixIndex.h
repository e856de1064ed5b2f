#pragma once

#include <QHash>
#include <QStringView>
#include <vector>

namespace mdb {

// The rows of a column grouped by the first UTF-16 unit of their text, case-folded, each group
// in row order: a search for the first row beginning with a text, ignoring letter case, looks
// only at the rows whose first unit can match it, and a text no row begins with is answered
// without looking at any row's text beyond its group's.
class PrefixIndex {
public:
    // Adds rows first..end-1, which must follow the rows added before.
    template <typename ViewOf>
    void add(int first, int end, const ViewOf& viewOf) {
        for (int row = first; row < end; ++row) {
            const QStringView text = viewOf(row);
            if (!text.isEmpty()) groups_[keyOf(text.front().unicode())].push_back(row);
        }
    }

    // The first row from the top whose text begins with `text` ignoring letter case, as
    // QStringView::startsWith tells it, -1 when none does; only for a text whose first unit
    // is no surrogate (see usable).
    template <typename ViewOf>
    int find(QStringView text, const ViewOf& viewOf) const {
        const auto group = groups_.constFind(keyOf(text.front().unicode()));
        if (group == groups_.cend()) return -1;
        for (const int row : *group) {
            if (viewOf(row).startsWith(text, Qt::CaseInsensitive)) return row;
        }
        return -1;
    }

    // Whether find can answer for `text`. Letter case is compared unit by unit, and a first
    // unit that is no surrogate matches only a first unit that folds to the same; an empty
    // text, or one that begins with half a character, is left to a scan.
    static bool usable(QStringView text) { return !text.isEmpty() && !text.front().isSurrogate(); }

    void clear() { groups_.clear(); }

private:
    static char16_t keyOf(char16_t first) {
        return QChar::isSurrogate(first) ? first : QChar::toCaseFolded(first);
    }

    QHash<char16_t, std::vector<int>> groups_;
};

}  // namespace mdb
