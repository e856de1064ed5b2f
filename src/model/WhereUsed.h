#pragma once

#include <QStringView>
#include <vector>

namespace mdb {

class MonsterDatabase;
class Table;

// One slot of a dependent record that names the item or monster asked for.
struct SlotUse {
    const Table* table;
    qint32 record;
    int field;      // the slot's item or monster field
    int rateField;  // the field of its rate, 0 for a slot without one
};

// Every drop slot and MVP item slot holding `itemId`, in file order, drops before MVP. IDs
// compare as numbers where both are numbers ("0909" is item 909), otherwise as text. Item 0
// is the empty slot and is never found.
std::vector<SlotUse> itemUses(const MonsterDatabase& db, QStringView itemId);

// Every metamorphosis, summon and slave slot naming the monster `key` (ignoring letter case,
// as every look-up of a key does), in file order, table by table.
std::vector<SlotUse> monsterUses(const MonsterDatabase& db, QStringView key);

}  // namespace mdb
