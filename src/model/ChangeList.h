#pragma once

#include <QHash>
#include <QString>
#include <vector>

namespace mdb {

class MonsterDatabase;
class Table;

// One field of one record changed from one text to another.
struct FieldChange {
    Table* table = nullptr;
    qint32 record = 0;
    int field = 0;
    QString before;
    QString after;
};
using ChangeSet = std::vector<FieldChange>;

// Notes every change setField makes to the tables of a database while it lives: what an update
// changed, field by field, from what to what. Writing a field its own text again is no change.
class ChangeRecording {
public:
    explicit ChangeRecording(MonsterDatabase& db);
    ~ChangeRecording();
    ChangeRecording(const ChangeRecording&) = delete;
    ChangeRecording& operator=(const ChangeRecording&) = delete;

    // The changes so far, in the order they were made; recording goes on into an empty list.
    ChangeSet take();

private:
    MonsterDatabase& db_;
    ChangeSet changes_;
};

// The same changes the other way round: applying them undoes `changes`.
ChangeSet reversed(const ChangeSet& changes);

// Puts the `after` texts of `changes` into their fields, in order. Every field must hold its
// `before` text first (checked for all before any is written); otherwise nothing is written
// and the result is false.
bool applyChanges(const ChangeSet& changes);

// The fields whose text differs from what the last save wrote (or the load read): for each,
// the text on disk and the text in the table now. Fed with every change applied to the tables.
class PendingChanges {
public:
    void note(const ChangeSet& changes);
    // The tables now hold what the files hold.
    void markSaved() { onDisk_.clear(); }
    // Ordered by table (as given), record and field.
    ChangeSet list(const std::vector<const Table*>& tableOrder) const;
    bool isEmpty() const;

private:
    struct Key {
        Table* table;
        qint32 record;
        int field;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.table, key.record, key.field);
    }
    QHash<Key, QString> onDisk_;  // the text on disk of every field changed since
};

}  // namespace mdb
