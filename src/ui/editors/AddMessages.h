#pragma once

#include <QString>

namespace mdb {

// What an add command tells the user, one set per dependent editor, kept beside the editor's
// other names so that an editor cannot exist without them.
struct AddMessages {
    QString exists;   // the monster has a record already
    QString minimum;  // what the line lacks; empty when the command checks no values
    QString added;    // the first two lines of the confirmation
    QString then;
};

}  // namespace mdb
