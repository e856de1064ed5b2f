#include "model/MonsterDatabase.h"

#include <utility>

namespace mdb {

MonsterDatabase::MonsterDatabase()
    : StatusTable(Tables::status()),
      DropTable(Tables::drop()),
      MvpTable(Tables::mvp()),
      MorphTable(Tables::morph()),
      EmoteTable(Tables::emote()),
      SummonTable(Tables::summon()),
      SlaveTable(Tables::slave()) {}

std::array<Table*, 7> MonsterDatabase::loadOrder() {
    return {&StatusTable, &DropTable,   &MvpTable,  &MorphTable,
            &EmoteTable,  &SummonTable, &SlaveTable};
}

std::array<const Table*, 7> MonsterDatabase::saveOrder() const {
    return {&StatusTable, &DropTable,   &MvpTable,  &EmoteTable,
            &MorphTable,  &SummonTable, &SlaveTable};
}

TableLayout MonsterDatabase::layoutOf(const Table& table) {
    const TableDescriptor* descriptor = Tables::byFileName(table.name());
    return TableLayout{table.name(), descriptor ? descriptor->quotedField : 0};
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
