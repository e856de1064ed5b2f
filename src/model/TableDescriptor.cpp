#include "model/TableDescriptor.h"

namespace mdb::Tables {

using namespace Qt::StringLiterals;

namespace {

QStringList dropFields() {
    QStringList names{u"Name"_s};
    for (int i = 1; i <= DropField::Slots; ++i) {
        names << u"Item"_s + QString::number(i) << u"Rate"_s + QString::number(i);
    }
    return names;
}

TableDescriptor monsterTable(const QString& fileName, QStringList fields, int quoted = 0,
                             int slotCount = 0) {
    const int width = int(fields.size());
    return {fileName, width, std::move(fields), quoted, slotCount};
}

// The key, then `stem`1..`stem`5, then `stem`Count.
TableDescriptor relationTable(const QString& fileName, const QString& stem) {
    QStringList names{u"Name"_s};
    for (int i = 1; i <= RelationField::Slots; ++i) names << stem + QString::number(i);
    names << stem + u"Count"_s;
    return monsterTable(fileName, names, 0, RelationField::Slots);
}

}  // namespace

const TableDescriptor& status() {
    static const TableDescriptor d = monsterTable(
        u"mob_stat_db.txt"_s,
        {u"Id"_s,         u"Name"_s,        u"DisplayName"_s,  u"Level"_s,       u"Hp"_s,
         u"Sp"_s,         u"Exp"_s,         u"JobExp"_s,       u"Range"_s,       u"AtkMin"_s,
         u"AtkMax"_s,     u"Def"_s,         u"Mdef"_s,         u"Str"_s,         u"Agi"_s,
         u"Vit"_s,        u"Int"_s,         u"Dex"_s,          u"Luk"_s,         u"SearchRange"_s,
         u"ChaseRange"_s, u"Size"_s,        u"Race"_s,         u"Element"_s,     u"Mode"_s,
         u"MoveSpeed"_s,  u"AttackDelay"_s, u"AttackMotion"_s, u"DamageMotion"_s},
        StatusField::DisplayName);
    return d;
}

const TableDescriptor& drop() {
    static const TableDescriptor d =
        monsterTable(u"mob_drop_db.txt"_s, dropFields(), 0, DropField::Slots);
    return d;
}

const TableDescriptor& mvp() {
    static const TableDescriptor d =
        monsterTable(u"mob_mvp_db.txt"_s,
                     {u"Name"_s, u"MvpItem1"_s, u"MvpItem2"_s, u"MvpExp"_s, u"MvpExpRate"_s,
                      u"MvpSpecialItem1"_s, u"MvpSpecialRate1"_s, u"MvpSpecialItem2"_s,
                      u"MvpSpecialRate2"_s, u"MvpSpecialItem3"_s, u"MvpSpecialRate3"_s},
                     0, MvpField::Specials);
    return d;
}

const TableDescriptor& morph() {
    static const TableDescriptor d = relationTable(u"mob_morph_db.txt"_s, u"Morph"_s);
    return d;
}

const TableDescriptor& emote() {
    static const TableDescriptor d =
        monsterTable(u"mob_emote_db.txt"_s, {u"Name"_s, u"State"_s, u"Emotion"_s});
    return d;
}

const TableDescriptor& summon() {
    static const TableDescriptor d = relationTable(u"summon_monster.txt"_s, u"Summon"_s);
    return d;
}

const TableDescriptor& slave() {
    static const TableDescriptor d = relationTable(u"summon_slave.txt"_s, u"Slave"_s);
    return d;
}

const TableDescriptor& consumeItems() {
    static const TableDescriptor d{u"item_consume_db.txt"_s, 12, {}};
    return d;
}

const TableDescriptor& dropItems() {
    static const TableDescriptor d{u"item_drop_db.txt"_s, 7, {}};
    return d;
}

const TableDescriptor& equipItems() {
    static const TableDescriptor d{u"item_equip_db.txt"_s, 21, {}};
    return d;
}

std::array<const TableDescriptor*, 7> monsterTables() {
    return {&status(), &drop(), &mvp(), &morph(), &emote(), &summon(), &slave()};
}

std::array<const TableDescriptor*, 3> itemTables() {
    return {&consumeItems(), &dropItems(), &equipItems()};
}

const TableDescriptor* byFileName(const QString& fileName) {
    for (const TableDescriptor* d : monsterTables()) {
        if (d->fileName == fileName) return d;
    }
    for (const TableDescriptor* d : itemTables()) {
        if (d->fileName == fileName) return d;
    }
    return nullptr;
}

}  // namespace mdb::Tables
