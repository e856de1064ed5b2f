#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "model/FieldDescriptor.h"
#include "model/TableId.h"

namespace mdb {

// What a database file is, written once: its bare file name, its fields in file order (their
// count is the record width), the one field written in double quotes (0 when none is) and how
// many slots its repeated group has (drop slots, MVP specials, related monsters; 0 for none).
// A monster table's fields also carry their role and caption, and the table its frame's title
// and the fewest records the editor starts with. Storage, the checker, the append, the editors
// and the grid all read shapes, captions and roles here. The item tables name only the two
// fields the editor uses.
struct TableDescriptor {
    QString fileName;
    int width = 0;
    QStringList fieldNames;  // all `width` fields of a monster table; empty for an item table
    int quotedField = 0;
    int slotCount = 0;
    std::vector<FieldDescriptor> fields;  // field n is fields[n - 1]; empty for an item table
    QString frameTitle;                   // the title of the editor's frame
    QString shortTitle;                   // its name where tables are listed side by side (tabs)
    qint32 minRecords = 0;                // fewer records and the editor will not start
    QString tooFewRecords;                // why it will not, in the user's words

    int fieldCount() const { return width; }
    // Field 1..fieldCount() of a monster table.
    const FieldDescriptor& field(int number) const { return fields.at(size_t(number - 1)); }
    const QString& caption(int number) const { return field(number).caption; }
    FieldRole role(int number) const { return field(number).role; }
    bool isNumeric(int number) const { return field(number).isNumeric(); }
    int limit(int number) const { return field(number).limit; }
    // The fields of a role, in file order.
    std::vector<int> fieldsOf(FieldRole role) const;
};

// Field numbers (1-based, in file order) of every table, in one style: a namespace per table
// with its fields as constants, functions for the fields of a repeated group, and Width.

namespace StatusField {
enum : int {
    Id = 1,
    Name,
    DisplayName,
    Level,
    Hp,
    Sp,
    Exp,
    JobExp,
    Range,
    AtkMin,
    AtkMax,
    Def,
    Mdef,
    Str,
    Agi,
    Vit,
    Int,
    Dex,
    Luk,
    SearchRange,
    ChaseRange,
    Size,
    Race,
    Element,
    Mode,
    MoveSpeed,
    AttackDelay,
    AttackMotion,
    DamageMotion,
    Width = DamageMotion
};
}  // namespace StatusField

namespace DropField {
enum : int { Name = 1, Slots = 8, Width = 1 + 2 * Slots };
// Item and rate of slot i (0..Slots-1): item before rate, slot after slot.
constexpr int Item(int i) {
    return 2 + 2 * i;
}
constexpr int Rate(int i) {
    return 3 + 2 * i;
}
}  // namespace DropField

namespace MvpField {
enum : int {
    Name = 1,
    MvpItem1,
    MvpItem2,
    MvpExp,
    MvpExpRate,
    MvpSpecialItem1,
    MvpSpecialRate1,
    MvpSpecialItem2,
    MvpSpecialRate2,
    MvpSpecialItem3,
    MvpSpecialRate3,
    Width = MvpSpecialRate3,
    Specials = 3
};
// Special item and its rate, i = 0..Specials-1.
constexpr int SpecialItem(int i) {
    return MvpSpecialItem1 + 2 * i;
}
constexpr int SpecialRate(int i) {
    return MvpSpecialRate1 + 2 * i;
}
}  // namespace MvpField

namespace EmoteField {
enum : int { Name = 1, State, Emotion, Width = Emotion };
}

// The metamorphosis, summon and slave tables share one layout: the owner, five related
// monsters, the count.
namespace RelationField {
enum : int { Name = 1, Slots = 5, Count = 2 + Slots, Width = Count };
// Related monster i = 0..Slots-1 (Morph1, Summon1, Slave1 for i = 0).
constexpr int Related(int i) {
    return 2 + i;
}
// Row r of an editor that shows the owner in row 0 and the related monsters below it.
constexpr int Row(int r) {
    return 1 + r;
}
}  // namespace RelationField

// The item tables: only the ID and the name are used.
namespace ItemField {
enum : int { ItemId = 1, ItemName = 3 };
}

// The descriptors of the seven monster files and the three item files.
namespace Tables {
// The descriptor of a monster table.
const TableDescriptor& of(TableId id);
// The table a descriptor describes; none for an item table.
std::optional<TableId> idOf(const TableDescriptor& descriptor);

const TableDescriptor& status();
const TableDescriptor& drop();
const TableDescriptor& mvp();
const TableDescriptor& morph();
const TableDescriptor& emote();
const TableDescriptor& summon();
const TableDescriptor& slave();
const TableDescriptor& consumeItems();
const TableDescriptor& dropItems();
const TableDescriptor& equipItems();

// The seven monster tables in the order they are read at start, and the three item tables.
std::array<const TableDescriptor*, kTableCount> monsterTables();
std::array<const TableDescriptor*, 3> itemTables();
// The descriptor of a file name, null for none.
const TableDescriptor* byFileName(const QString& fileName);
}  // namespace Tables

}  // namespace mdb
