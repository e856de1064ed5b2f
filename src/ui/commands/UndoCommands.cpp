#include "ui/commands/UndoCommands.h"

#include "ui/commands/UnsavedWork.h"

namespace mdb {

UpdateStep::UpdateStep(UnsavedWork& work, ChangeSet changes, const QString& text)
    : QUndoCommand(text), work_(work), changes_(std::move(changes)) {}

void UpdateStep::undo() {
    work_.applyStep(reversed(changes_));
    applied_ = false;
}

void UpdateStep::redo() {
    if (applied_) return;
    work_.applyStep(changes_);
    applied_ = true;
}

}  // namespace mdb
