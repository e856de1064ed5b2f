#include "model/ChangeList.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "model/MonsterDatabase.h"

namespace mdb {

ChangeRecording::ChangeRecording(MonsterDatabase& db) : db_(db) {
    for (Table* table : db_.loadOrder()) table->recordChangesInto(&changes_);
}

ChangeRecording::~ChangeRecording() {
    for (Table* table : db_.loadOrder()) table->recordChangesInto(nullptr);
}

ChangeSet ChangeRecording::take() {
    ChangeSet out;
    out.swap(changes_);
    return out;
}

ChangeSet reversed(const ChangeSet& changes) {
    ChangeSet out;
    out.reserve(changes.size());
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        out.push_back({it->table, it->record, it->field, it->after, it->before});
    }
    return out;
}

bool applyChanges(const ChangeSet& changes) {
    // Walk the set as it would run: each change must find the text the changes before it in
    // the set left (or, for the first change of a field, the table's own text).
    std::map<std::tuple<const Table*, qint32, int>, QString> now;
    for (const FieldChange& c : changes) {
        if (!c.table || c.record < 1 || c.record > c.table->Count() || c.field < 1 ||
            c.field > c.table->fieldCount()) {
            return false;
        }
        const auto key = std::make_tuple(c.table, c.record, c.field);
        const auto found = now.find(key);
        const QStringView current =
            found != now.end() ? QStringView(found->second) : c.table->fieldView(c.record, c.field);
        if (current != c.before) return false;
        now[key] = c.after;
    }
    for (const FieldChange& c : changes) c.table->restoreField(c.record, c.field, c.after);
    return true;
}

void PendingChanges::note(const ChangeSet& changes) {
    for (const FieldChange& c : changes) {
        // the first change of a field since the save knows what the file holds
        const Key key{c.table, c.record, c.field};
        if (!onDisk_.contains(key)) onDisk_.insert(key, c.before);
    }
}

bool PendingChanges::isEmpty() const {
    for (auto it = onDisk_.cbegin(); it != onDisk_.cend(); ++it) {
        if (it.key().table->fieldView(it.key().record, it.key().field) != it.value()) return false;
    }
    return true;
}

ChangeSet PendingChanges::list(const std::vector<const Table*>& tableOrder) const {
    ChangeSet out;
    for (auto it = onDisk_.cbegin(); it != onDisk_.cend(); ++it) {
        const Key& k = it.key();
        QString now = k.table->field(k.record, k.field);
        if (now != it.value()) out.push_back({k.table, k.record, k.field, it.value(), now});
    }
    const auto rank = [&tableOrder](const Table* table) {
        return std::find(tableOrder.begin(), tableOrder.end(), table) - tableOrder.begin();
    };
    std::sort(out.begin(), out.end(), [&rank](const FieldChange& a, const FieldChange& b) {
        if (a.table != b.table) return rank(a.table) < rank(b.table);
        if (a.record != b.record) return a.record < b.record;
        return a.field < b.field;
    });
    return out;
}

}  // namespace mdb
