#pragma once

#include <QUndoCommand>

#include "model/ChangeList.h"

namespace mdb {

class UnsavedWork;

// One update (or one reverted change) as a step of the undo history: the fields it changed,
// from what to what. The step is pushed after its changes are in the tables, so its first
// redo does nothing; later ones put the texts back exactly.
class UpdateStep : public QUndoCommand {
public:
    UpdateStep(UnsavedWork& work, ChangeSet changes, const QString& text);
    void undo() override;
    void redo() override;
    const ChangeSet& changes() const { return changes_; }

private:
    UnsavedWork& work_;
    ChangeSet changes_;
    bool applied_ = true;
};

}  // namespace mdb
