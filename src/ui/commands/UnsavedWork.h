#pragma once

#include <QDir>
#include <QObject>
#include <QUndoStack>
#include <vector>

#include "model/ChangeList.h"
#include "model/MonsterDatabase.h"
#include "storage/FileIdentity.h"
#include "storage/Journal.h"

namespace mdb {

class MessageSink;

// Everything that keeps unsaved work from being lost or from overwriting another program's:
// the undo history of the updates, the pending changes against the files, the recovery journal
// and the identities of the files as the editor last read or wrote them. The tables stay the
// one truth; every change applied to them passes through here once.
class UnsavedWork : public QObject {
    Q_OBJECT
public:
    UnsavedWork(const QDir& dir, MonsterDatabase& db, MessageSink& messages,
                QObject* parent = nullptr);

    QUndoStack& undoStack() { return stack_; }

    // The database has been read: the files' identities are taken from the bytes read.
    void noteLoaded();
    // Takes the folder's journal lock (see Journal::lock); Busy when another editor has it.
    Journal::Lock lockJournal(bool make) { return journal_.lock(make); }
    // With the lock taken: what crashed runs left beside the journals (Journal::removeLeftovers).
    void removeJournalLeftovers() const { journal_.removeLeftovers(); }
    // At start, after the load: a journal left by an earlier run is judged against the files,
    // and what still applies is offered: restore, discard (asked twice), or later (the default
    // for closing the question), which applies and deletes nothing and asks at the next start.
    // Changes whose fields another program changed are named; a damaged journal is set aside.
    void offerRecovery();
    // The user quits without saving, or with nothing left unsaved: nothing of this run is to be
    // recovered.
    void discardJournal() { journal_.remove(); }

    // An update changed these fields (already in the tables): one undoable step, journaled.
    void recordUpdate(const ChangeSet& changes);
    // Gives a pending change's field back the text the file holds, as one more step.
    void revert(const FieldChange& change);
    // Undo and redo apply a step's changes through here.
    void applyStep(const ChangeSet& changes);

    // Before a save writes anything: whether it may go on. Files changed on disk since the
    // editor read or wrote them are named in a question, and cancelling (the default) stops.
    // `seen`, when given, receives every file as it was found (for the save to check again).
    bool confirmOverwrite(std::vector<FileIdentity>* seen = nullptr);
    // After a save that wrote files (wholly or in part): the identities of the files it wrote,
    // taken from the bytes as written, replace those known (the file it stopped at keeps its
    // own: what it holds now is no more the editor's than before); a save that succeeded also
    // leaves nothing pending and removes the journal.
    void noteSaveAttempt(bool succeeded, const std::vector<FileIdentity>& written = {});
    // The editor itself appended a line to a file, which held `before` right before: the line is
    // no other program's change. The file counts as the editor's own again only when it was
    // exactly as the editor knew it; a change another program made before the append still
    // stops the next save.
    void noteAppended(const QString& fileName, const FileIdentity& before,
                      const FileIdentity& after);

    // The fields that differ from the files, in save order.
    ChangeSet pendingChanges() const;
    bool hasUnsavedChanges() const { return !pending_.isEmpty(); }
    // How many updates (undo steps) lie between the tables and the last save.
    int unsavedUpdates() const;
    // The status record an update concerns: its own for the status table, otherwise the
    // monster its key names; 0 when none.
    qint32 monsterOf(const ChangeSet& changes) const;
    const Journal& journal() const { return journal_; }
    // Keeps the journal elsewhere from now on, or nowhere (an empty path).
    void setJournal(Journal journal) { journal_ = std::move(journal); }

signals:
    // Show this status record afresh in every editor (after undo, redo, revert).
    void showMonster(qint32 statusRecord);
    // These changes were applied to the tables (an update, undo, redo, revert); pendingChanged
    // follows.
    void changesApplied(const mdb::ChangeSet& changes);
    // The tables changed, or were saved: what is pending may differ.
    void pendingChanged();
    // The tables hold what the last save wrote (true) or not (false).
    void cleanChanged(bool clean);

private:
    void applied(const ChangeSet& changes);
    void notePending();
    void journal(const ChangeSet& changes);
    void pushStep(const ChangeSet& changes, const QString& text);
    FileIdentity* known(const QString& fileName);
    Table* tableNamed(const QString& fileName);
    JournalUpdate journalUpdateOf(const ChangeSet& changes) const;
    // Restoring (JournalRecovery.cpp).
    bool restore(const std::vector<ChangeSet>& sets);
    QString describeConflict(const FieldChange& change, const QString& now) const;

    QDir dir_;
    QString folderPath_;  // the folder as the journal names it: resolved, when it can be
    MonsterDatabase& db_;
    MessageSink& messages_;
    QUndoStack stack_;
    PendingChanges pending_;
    Journal journal_;
    std::vector<FileIdentity> known_;
    bool journalWarned_ = false;
    bool clean_ = true;
};

}  // namespace mdb
