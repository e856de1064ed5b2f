#include "ui/commands/CommitCommand.h"

#include <QAction>
#include <QWidget>

#include "ui/controls/ChainTrace.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

CommitCommand::CommitCommand(MonsterDatabase& db, StatusEditor& status, QAction* saveEntry,
                             QObject* parent)
    : QObject(parent), db_(db), status_(status), saveEntry_(saveEntry) {}

void CommitCommand::CommitEdits() {
    MDB_CHAIN("Command1.Click CommitEdits");
    emit committing();
    // Enabled before anything can stop the command, so that an update always arms the save.
    saveEntry_->setEnabled(true);
    // Id and Name are never written: the monster key must not change under the dependent
    // tables.
    ChangeSet changes;
    {
        // the status record and the six dependent ones make one update
        ChangeRecording recording(db_);
        if (!status_.commitInto(db_)) return;
        emit commitDependents();
        changes = recording.take();
    }
    emit committed();
    if (!changes.empty()) emit updated(changes);
}

void CommitCommand::commitFromButton(QWidget* button) {
    // Some styles let a click leave the focus where it was; the leave-the-box rules must run.
    if (button && button->focusPolicy() & Qt::ClickFocus) button->setFocus(Qt::MouseFocusReason);
    CommitEdits();
}

}  // namespace mdb
