#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "model/ChangeList.h"
#include "storage/FileIdentity.h"
#include "storage/Journal.h"

namespace mdb {

class Table;

// What a journal left by an earlier run still means for the tables as the files hold them now,
// judged field by field: a change applies while its field holds the text it started from; it is
// already done when the field holds what it wrote (a save cut off after that file); and only a
// field that holds neither, because another program changed it (or moved its record), is set
// aside and named.
struct JournalVerdict {
    struct Conflict {
        FieldChange change;  // the field and the journal's texts (`after`: what it would write)
        QString now;         // what the field holds
    };
    std::vector<ChangeSet> sets;  // one per journal update: its changes still to apply
    std::vector<Conflict> conflicts;
    // Whether applying the sets changes anything: nothing is offered that the files hold.
    bool changesTables = false;
    int updatesToApply() const;
};

// `tableNamed` finds the table of a file; `known` are the files' identities as read, used for
// journals of the earlier format, which cannot tell a moved record by its key.
JournalVerdict judgeJournal(const JournalContents& contents,
                            const std::function<Table*(const QString&)>& tableNamed,
                            const std::vector<FileIdentity>& known);

}  // namespace mdb
