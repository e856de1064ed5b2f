#pragma once

#include <QObject>

#include "model/ChangeList.h"
#include "model/MonsterDatabase.h"

class QAction;
class QWidget;

namespace mdb {

class StatusEditor;

// The update command: copies what the editors show into the record they show. It is the only
// place a loaded record changes; the files are touched only by the save.
class CommitCommand : public QObject {
    Q_OBJECT
public:
    CommitCommand(MonsterDatabase& db, StatusEditor& status, QAction* saveEntry,
                  QObject* parent = nullptr);

    // Run by mnuRenw and its shortcut: the box being edited is copied exactly as typed.
    void CommitEdits();
    // Run by Command1: the button takes the focus first, so that the box being left applies
    // its leave-the-box rule before its text is copied.
    void commitFromButton(QWidget* button);

signals:
    // Emitted first, while the editors still hold what is about to be copied.
    void committing();
    // Emitted after the status record, for the dependent editors to copy theirs; the main
    // window connects them in their commit order.
    void commitDependents();
    // Emitted last, once every editor has copied its record.
    void committed();
    // Emitted last, with every field the update changed (none: not emitted).
    void updated(const mdb::ChangeSet& changes);

private:
    MonsterDatabase& db_;
    StatusEditor& status_;
    QAction* saveEntry_;
};

}  // namespace mdb
