#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
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
    // The text of the record's first field (its key) before the update, so that a record another
    // program moved is not mistaken for the one changed. Journals of the earlier format hold
    // none (`keyed` false).
    QString key;
    bool keyed = false;
};
using JournalUpdate = std::vector<JournalChange>;

// The database folder a journal belongs to: its path and, so that another folder later given
// the same path is not taken for it, its device and inode.
struct JournalFolder {
    QString path;
    quint64 device = 0;
    quint64 inode = 0;
    static JournalFolder of(const QString& path);
    bool operator==(const JournalFolder&) const = default;
};

// What a journal file holds: the database folder, the identities of its files as the updates
// found them, and the updates in the order they were made.
struct JournalContents {
    bool damaged = false;  // no intact header: nothing in the file can be trusted
    // written by an earlier version of the editor, whose file identities this one cannot check
    // (also `damaged`: nothing of it may be applied)
    bool olderFormat = false;
    // The entries stop at one that is cut short or fails its check (a write cut off by a power
    // cut): the whole entries before it are read, nothing after.
    bool torn = false;
    qsizetype wholeBytes = 0;  // the length of the intact part
    JournalFolder folder;
    bool folderKnown = false;         // the earlier format names the path only
    std::vector<FileIdentity> files;  // the latest identity of each file
    std::vector<JournalUpdate> updates;
    // Where each run's updates begin: a run that put off an earlier run's journal writes its own
    // updates after them, as a part of their own.
    std::vector<size_t> partStarts;
};

// Reads a journal: every whole entry up to the first that is not (see `torn`).
JournalContents readJournal(QByteArrayView bytes);
// The entry that gives a file's identity from now on, and the length of the magic line that
// opens every journal (a later run's part starts with a header entry alone).
QByteArray identityEntryBytes(const FileIdentity& identity);
constexpr qsizetype kJournalMagicBytes = 14;

// The recovery journal of one database folder: every update since the last save, appended and
// synced before the update returns, so that a killed editor loses nothing it had updated. The
// file is made readable by its owner only, never through a symlink. Each entry is
// length-prefixed and checksummed, so a write cut short by a crash is recognised as such when
// the journal is read. While an editor has the folder open, the journal is locked.
class Journal {
public:
    // `path` empty: no journal is kept.
    explicit Journal(QString path = QString());
    // The journal's place for a database folder (named after its canonical path); nothing is
    // made. Empty only when the home folder is unknown.
    static QString pathFor(const QString& databaseFolder);

    const QString& path() const { return path_; }
    bool exists() const;
    // Whether this run has written the header, or taken over the journal found at start.
    bool isStarted() const { return started_; }

    // Takes the folder's lock for this run. `make`: creates the state folder when it is
    // missing (otherwise a missing folder means no other editor can hold the lock). Busy when
    // another editor holds it.
    enum class Lock { Taken, Busy, NoFolder };
    Lock lock(bool make);
    bool isLocked() const;

    // Starts the journal of this run with the folder and the files' identities, after what an
    // earlier run left and the user put off (`keepEarlier`), or replacing any; every failure
    // returns the reason in words.
    std::optional<QString> start(const QString& folder, const std::vector<FileIdentity>& files);
    // Replaces the journal with `bytes` at once (written beside, synced, renamed into place);
    // the journal counts as started.
    std::optional<QString> replace(const QByteArray& bytes);
    // The entries of an earlier run that the user put off: they stay when this run's are done.
    void keepEarlier(const QByteArray& bytes) { earlier_ = bytes; }
    std::optional<QString> appendUpdate(const JournalUpdate& update);
    // A file the editor itself changed (an appended line): its identity from now on.
    std::optional<QString> appendIdentity(const FileIdentity& identity);
    // Nothing of this run is left to recover (saved, or discarded): the journal goes, or goes
    // back to the earlier run's entries that were put off.
    void remove();
    // Moves the journal out of the way under a name that says why, keeping it for the user;
    // returns the new path (empty when the move failed).
    QString setAside(const QString& why);
    // The name setAside would give now.
    QString asideName(const QString& why) const;
    // Set-aside journals are kept this long; the start removes older ones.
    static constexpr int kKeepAsideDays = 30;
    // Takes away what earlier runs left beside the journals, once this run holds the lock: this
    // folder's replacement journal cut short before its rename, and journals (of any folder) set
    // aside more than kKeepAsideDays ago, as their names say. Only names the editor gives, and
    // only in a folder of the user's own; a symlink is removed, never followed.
    void removeLeftovers() const;

    // The bytes of one entry as appended (for tests that damage a journal).
    static QByteArray headerBytes(const QString& folder, const std::vector<FileIdentity>& files);
    static QByteArray updateBytes(const JournalUpdate& update);
    // An entry, length and check included, around any bytes (for the fuzz target).
    static QByteArray entryBytes(const QByteArray& payload);

private:
    std::optional<QString> append(const QByteArray& bytes);

    QString path_;
    bool started_ = false;
    QByteArray earlier_;
    std::shared_ptr<int> lock_;  // the locked descriptor, closed with the last copy
};

}  // namespace mdb
