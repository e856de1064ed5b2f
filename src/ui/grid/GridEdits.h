#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "model/ChangeList.h"
#include "ui/grid/BulkEdit.h"

namespace mdb {

class MessageSink;
class MonsterDatabase;
class Table;
class UnsavedWork;

// The grid's way into the tables: a typed cell or a bulk change is judged by the rule of the
// form box of its field and becomes one update, as the update command makes one: one undo step,
// in the pending changes, in the journal.
class GridEdits : public QObject {
    Q_OBJECT
public:
    GridEdits(MonsterDatabase& db, UnsavedWork& work, MessageSink& messages,
              QObject* parent = nullptr);

    // Asked before any change: whether the main window's form may have these status records
    // changed under it (it holds no edits of them that its update would write back over the
    // grid's). Without a guard every change may go on.
    using FormGuard = std::function<bool(const std::vector<qint32>& statusRecords)>;
    void setFormGuard(FormGuard guard) { guard_ = std::move(guard); }

    // The user typed `text` into a cell; false when it was refused (told why) or changed nothing.
    bool editCell(const Table& table, qint32 record, const GridColumn& column, const QString& text,
                  qint32 monster);
    // Applies a planned bulk change as one update; false when nothing changed or it was refused.
    bool applyPlan(const Table& table, int field, const BulkPlan& plan,
                   const std::vector<qint32>& monsters);

signals:
    // An update of the grid is in the tables and the history.
    void updated(const ChangeSet& changes);

private:
    Table* writable(const Table& table) const;
    bool mayChange(const std::vector<qint32>& monsters);

    MonsterDatabase& db_;
    UnsavedWork& work_;
    MessageSink& messages_;
    FormGuard guard_;
};

}  // namespace mdb
