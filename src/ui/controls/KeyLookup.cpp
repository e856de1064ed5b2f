#include "ui/controls/KeyLookup.h"

#include "ui/controls/FindListEntry.h"
#include "ui/controls/HiddenList.h"

namespace mdb {

void lookUpKey(ListCore& keys, HiddenLabel& label, const QString& key) {
    const int row = FindListEntry(keys, key, MatchMode::WholeText);
    label.setCaption(row >= 0 ? keys.list(row) : QString());
}

}  // namespace mdb
