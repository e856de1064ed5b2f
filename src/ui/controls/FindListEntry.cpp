#include "ui/controls/FindListEntry.h"

#include "ui/controls/ColumnModel.h"
#include "ui/controls/ListCore.h"

namespace mdb {

int findRow(const ColumnModel& model, const QString& text, MatchMode mode) {
    if (mode == MatchMode::WholeText && model.hasWholeTextIndex()) return model.indexedRow(text);
    if (mode == MatchMode::Prefix) return model.firstRowStartingWith(text);
    const int n = model.count();
    for (int row = 0; row < n; ++row) {
        const QStringView candidate = model.view(row);
        if (candidate.compare(text, Qt::CaseInsensitive) == 0) return row;
    }
    return -1;
}

int FindListEntry(ListCore& list, const QString& text, MatchMode mode) {
    const int row = findRow(*list.columnModel(), text, mode);
    list.setListIndex(row);
    return row;
}

}  // namespace mdb
