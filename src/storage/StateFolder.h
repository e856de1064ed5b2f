#pragma once

#include <QString>

namespace mdb {

// The user's own folder for what the editor keeps between runs beside a database: recovery
// copies of files being rewritten in place, journals of unsaved updates. It is
// $XDG_STATE_HOME/monster-db-editor (~/.local/state/monster-db-editor when unset), made on
// first use and readable by its owner only. `sub` names a folder inside it ("recovery",
// "journal"), made the same way.
//
// What lies there decides what the editor writes, so the folder and the one inside are used
// only when they are the user's own: folders (never symlinks, checked without following one),
// owned by the effective user, writable by no one else. Otherwise, or when the folder cannot be
// made, the result is empty and `problem` (when given) says why, in words for the user.
QString stateFolder(const QString& sub = QString(), QString* problem = nullptr);

// The same folder when it exists already and is the user's own, an empty string otherwise;
// nothing is made, so that merely looking leaves no trace in the user's home.
QString existingStateFolder(const QString& sub = QString(), QString* problem = nullptr);

// Where the folder is or would be, for messages.
QString stateFolderPath(const QString& sub = QString());

// Whether `path` is a folder of the effective user that no one else may write to, looked at
// without following a symlink; otherwise `problem` says why.
bool isOwnFolder(const QString& path, QString* problem = nullptr);

// A file name that stands for one database folder inside the state folder: the folder's
// canonical path hashed, so two databases never share a name and any path fits.
QString stateNameFor(const QString& databaseFolder);

}  // namespace mdb
