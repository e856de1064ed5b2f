#include "ui/controls/FindListEntry.h"

#include "ui/controls/ColumnModel.h"
#include "ui/controls/ListCore.h"

namespace mdb {

int findRow(const ColumnModel& model, const QString& text, MatchMode mode) {
    if (mode == MatchMode::WholeText && model.hasWholeTextIndex()) return model.indexedRow(text);
    const int n = model.count();
    for (int row = 0; row < n; ++row) {
        const QStringView candidate = model.view(row);
        const bool match = mode == MatchMode::WholeText
                               ? candidate.compare(text, Qt::CaseInsensitive) == 0
                               : candidate.startsWith(text, Qt::CaseInsensitive);
        if (match) return row;
    }
    return -1;
}

int FindListEntry(ListCore& list, const QString& text, MatchMode mode) {
    const int row = findRow(*list.columnModel(), text, mode);
    list.setListIndex(row);
    return row;
}

}  // namespace mdb
