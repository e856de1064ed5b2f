#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

#include "storage/FileIdentity.h"

namespace mdb {

// One changed field as the journal keeps it: by file name, not by table object.
struct JournalChange {
    QString fileName;
    qint32 record = 0;
    qint32 field = 0;
    QString before;
    QString after;
};
using JournalUpdate = std::vector<JournalChange>;

// What a journal file holds: the database folder, the identities of its files as the updates
// found them, and the updates in the order they were made.
struct JournalContents {
    bool damaged = false;  // something in the file is not a whole, intact entry
    // written by an earlier version of the editor, whose file identities this one cannot check
    // (also `damaged`: nothing of it may be applied)
    bool olderFormat = false;
    QString folder;
    std::vector<FileIdentity> files;  // the latest identity of each file
    std::vector<JournalUpdate> updates;
};

// Reads a journal. A header that is not intact, or any entry cut short or failing its check,
// makes the whole journal `damaged`: its updates are then not to be applied, not even in part.
JournalContents readJournal(QByteArrayView bytes);

// The recovery journal of one database folder: every update since the last save, appended and
// synced before the update returns, so that a killed editor loses nothing it had updated. The
// file is made readable by its owner only. Each entry is length-prefixed and checksummed, so a
// write cut short by a crash is recognised as such when the journal is read.
class Journal {
public:
    // `path` empty: no journal is kept (there is no state folder).
    explicit Journal(QString path = QString()) : path_(std::move(path)) {}
    // The journal's place for a database folder; empty when the state folder cannot be made.
    static QString pathFor(const QString& databaseFolder);

    const QString& path() const { return path_; }
    bool exists() const;
    // Whether this run has written the header, or taken over the journal found at start.
    bool isStarted() const { return started_; }

    // Starts a new journal (replacing any) with the folder and the files' identities; every
    // failure returns the system's reason.
    std::optional<QString> start(const QString& folder, const std::vector<FileIdentity>& files);
    // Goes on writing after the entries of the journal found at start.
    void adopt() { started_ = true; }
    std::optional<QString> appendUpdate(const JournalUpdate& update);
    // A file the editor itself changed (an appended line): its identity from now on.
    std::optional<QString> appendIdentity(const FileIdentity& identity);
    // After a save: nothing is left to recover.
    void remove();
    // Moves the journal out of the way under a name that says why, keeping it for the user;
    // returns the new path (empty when the move failed).
    QString setAside(const QString& why);

    // The bytes of one entry as appended (for tests that damage a journal).
    static QByteArray headerBytes(const QString& folder, const std::vector<FileIdentity>& files);
    static QByteArray updateBytes(const JournalUpdate& update);
    // An entry, length and check included, around any bytes (for the fuzz target).
    static QByteArray entryBytes(const QByteArray& payload);

private:
    std::optional<QString> append(const QByteArray& bytes, bool create);

    QString path_;
    bool started_ = false;
};

}  // namespace mdb
