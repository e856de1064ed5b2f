#pragma once

#include <QString>

namespace mdb {

class HiddenLabel;
class ListCore;

// The look-up of one dependent table for a monster key: selects the first record holding the
// key in the table's key list (whose Click shows that record, or no record), then writes the
// key as the table spells it, or the empty text, into the key label (whose Change enables or
// disables the editor). The key columns are indexed: no row-by-row scan.
void lookUpKey(ListCore& keys, HiddenLabel& label, const QString& key);

}  // namespace mdb
