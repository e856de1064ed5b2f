#pragma once

#include <QStringList>

#include "ui/commands/PendingChangesModel.h"

namespace mdb {

class EditorRegistry;
class MonsterDatabase;
class StatusEditor;

// A change named as the form names it: the monster by its display name and key, the field by
// the caption beside the control that shows it (the file's field name where no control does).
PendingChangesModel::Words changeWords(const MonsterDatabase& db, const StatusEditor& status,
                                       const EditorRegistry& editors);

// The captions of the fields whose edits the status form and the dependent editors hold, not
// yet updated, the status form first.
QStringList editedCaptions(const StatusEditor& status, const EditorRegistry& editors);

}  // namespace mdb
