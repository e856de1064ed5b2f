#include "model/MonsterDatabase.h"

#include <cstdlib>
#include <utility>

namespace mdb {

MonsterDatabase::MonsterDatabase()
    : StatusTable(Tables::of(TableId::Status)),
      DropTable(Tables::of(TableId::Drop)),
      MvpTable(Tables::of(TableId::Mvp)),
      MorphTable(Tables::of(TableId::Morph)),
      EmoteTable(Tables::of(TableId::Emote)),
      SummonTable(Tables::of(TableId::Summon)),
      SlaveTable(Tables::of(TableId::Slave)) {}

Table& MonsterDatabase::table(TableId id) {
    return const_cast<Table&>(std::as_const(*this).table(id));
}

const Table& MonsterDatabase::table(TableId id) const {
    switch (id) {
        case TableId::Status:
            return StatusTable;
        case TableId::Drop:
            return DropTable;
        case TableId::Mvp:
            return MvpTable;
        case TableId::Morph:
            return MorphTable;
        case TableId::Emote:
            return EmoteTable;
        case TableId::Summon:
            return SummonTable;
        case TableId::Slave:
            return SlaveTable;
    }
    std::abort();  // no id outside the enum is ever made
}

std::array<Table*, kTableCount> MonsterDatabase::loadOrder() {
    std::array<Table*, kTableCount> tables{};
    for (size_t i = 0; i < kTableCount; ++i) tables[i] = &table(kTableIds[i]);
    return tables;
}

std::array<const Table*, kTableCount> MonsterDatabase::saveOrder() const {
    std::array<const Table*, kTableCount> tables{};
    for (size_t i = 0; i < kTableCount; ++i) tables[i] = &table(kSaveOrder[i]);
    return tables;
}

void MonsterDatabase::keepAppendedLine(const Table& table, const QByteArray& line) {
    appended_[table.name()] += line;
}

void MonsterDatabase::clear() {
    for (Table* t : loadOrder()) t->clear();
    forgetAppendedLines();
}

void MonsterDatabase::takeLoaded(MonsterDatabase& loaded) {
    const auto mine = loadOrder();
    const auto theirs = loaded.loadOrder();
    for (size_t i = 0; i < mine.size(); ++i) *mine[i] = std::move(*theirs[i]);
    appended_ = std::move(loaded.appended_);
    loaded.clear();
}

}  // namespace mdb
