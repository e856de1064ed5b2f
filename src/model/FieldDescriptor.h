#pragma once

#include <QString>

namespace mdb {

// What a field holds, as far as the editors, the checker and the grid treat it differently.
enum class FieldRole {
    Key,               // the monster the record belongs to (the status table's own Name)
    MonsterReference,  // another monster's key
    ItemReference,     // an item ID
    Rate,              // a chance per `limit`
    Count,             // how many related monsters come; settled by `CountRule`
    Number,            // any other number: stats, codes, the emotion
    Text,              // free text: the display name, an AI state name
};

// How a count box settles its text (see ValueRules.h).
enum class CountRule {
    None,
    AtLeastOne,  // metamorphosis: empty, non-numeric or zero becomes "1"
    UpToLimit,   // slaves, summons: empty or non-numeric "0", above the limit the limit
};

// One field of a monster table.
struct FieldDescriptor {
    QString name;     // the field's name in the file layout ("Hp", "Rate3")
    QString caption;  // what the forms show beside its box
    FieldRole role = FieldRole::Number;
    int limit = 0;  // the largest value a rate or a count takes; 0 for none
    CountRule countRule = CountRule::None;
    // The forms set it only by choosing from a list or by flags (a code, a state, the mode), or
    // never (the ID): no box takes it typed, so no table view offers it for typing either.
    bool picked = false;

    bool isNumeric() const {
        return role != FieldRole::Key && role != FieldRole::MonsterReference &&
               role != FieldRole::Text;
    }
};

}  // namespace mdb
