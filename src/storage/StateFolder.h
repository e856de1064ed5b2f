#pragma once

#include <QString>

namespace mdb {

// The user's own folder for what the editor keeps between runs beside a database: recovery
// copies of files being rewritten in place, journals of unsaved updates. It is
// $XDG_STATE_HOME/monster-db-editor (~/.local/state/monster-db-editor when unset), made on
// first use and readable by its owner only. `sub` names a folder inside it ("recovery",
// "journal"), made the same way. Returns an empty string when the folder cannot be made.
QString stateFolder(const QString& sub = QString());

// The same folder when it exists already, an empty string otherwise; nothing is made, so that
// merely looking leaves no trace in the user's home.
QString existingStateFolder(const QString& sub = QString());

// A file name that stands for one database folder inside the state folder: the folder's
// canonical path hashed, so two databases never share a name and any path fits.
QString stateNameFor(const QString& databaseFolder);

}  // namespace mdb
