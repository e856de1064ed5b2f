#pragma once

#include <QString>
#include <vector>

#include "model/TableId.h"

class QAction;
class QWidget;

namespace mdb {

class DependentEditor;
class MonsterDatabase;

// The six dependent editors, each once, with what the window's commands need to know of it.
// The look-up chain, the update, the edit check, the unlock command, the view modes and the
// add commands all walk this list; no other place lists the editors or their controls.
class EditorRegistry {
public:
    struct Entry {
        DependentEditor* editor;
        QAction* addEntry;  // its entry of the DB項目追加 menu
        bool fullViewOnly;  // a frame of the bottom row, usable in the full view only
        int commitOrder;    // its place in the update
        int unlockOrder;    // its place in the unlock command
    };

    // Entries are added in the order the shown monster's key is looked up.
    void add(const Entry& entry) { entries_.push_back(entry); }
    const std::vector<Entry>& entries() const { return entries_; }
    // The editor of `table`; null for the status table, which has no dependent editor.
    DependentEditor* editorOf(TableId table) const;
    std::vector<const Entry*> inCommitOrder() const;
    std::vector<const Entry*> inUnlockOrder() const;

    // The shown monster's key changed: every editor looks it up, in the look-up order.
    void keyLookup(const QString& key) const;
    // The update's second half: every editor into the record it shows, in the commit order.
    void commitInto(MonsterDatabase& db) const;
    // Whether any editor holds edits not yet committed into the record it shows.
    bool hasUncommittedEdits() const;
    // The controls the unlock command enables, in its order: every editor's pickers and boxes,
    // then every editor's closing number.
    std::vector<QWidget*> unlockControls() const;

private:
    std::vector<const Entry*> sortedBy(int Entry::*order) const;

    std::vector<Entry> entries_;
};

}  // namespace mdb
