#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "model/ChangeList.h"

namespace mdb {

class MonsterDatabase;
class UnsavedWork;

// The fields that differ from the files, one row each, in save order (table, record, field):
// the file, the monster, the field's caption, the text on disk and the text a save would
// write. Told which fields an update, undo, redo or revert touched, it inserts, removes or
// refreshes those rows alone, once per turn of the event loop; anything else that changes
// what is pending (a save, a restored journal) reads the whole list again.
class PendingChangesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { FileColumn, MonsterColumn, FieldColumn, BeforeColumn, AfterColumn, Columns };
    // How a row names its monster and its field, in the form's words.
    struct Words {
        std::function<QString(const Table*, qint32 record)> monster;
        std::function<QString(const Table*, int field)> field;
    };

    PendingChangesModel(UnsavedWork& work, const MonsterDatabase& db, Words words,
                        QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The pending change a row shows: the text on disk as `before`, the table's as `after`.
    FieldChange change(int row) const;
    // Brings the rows up to date now rather than at the end of this turn.
    void flush();

private:
    struct Row {
        Table* table;
        qint32 record;
        int field;
        QString onDisk;
    };
    struct Touched {
        Table* table;
        qint32 record;
        int field;
        QString firstBefore;  // the text before the first change of this turn: on disk when the
                              // field had no row
    };
    void noteApplied(const ChangeSet& changes);
    void notePending();
    void schedule();
    void reload();
    void touch(const Touched& t);
    int rank(const Table* table) const;
    bool before(const Row& row, const Table* table, qint32 record, int field) const;

    UnsavedWork& work_;
    const MonsterDatabase& db_;
    Words words_;
    std::vector<Row> rows_;
    std::vector<Touched> touched_;
    bool changesSeen_ = false;  // the changes behind the next pendingChanged came with it
    bool reload_ = false;
    bool scheduled_ = false;
};

}  // namespace mdb
