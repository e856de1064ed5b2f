#include "model/MonsterDatabase.h"

namespace mdb {

namespace {

QStringList numbered(const QString& key, const QString& stem, int n, const QString& tail) {
    QStringList names{key};
    for (int i = 1; i <= n; ++i) names << stem + QString::number(i);
    names << tail;
    return names;
}

QStringList dropFields() {
    QStringList names{QStringLiteral("Name")};
    for (int i = 1; i <= 8; ++i) {
        names << QStringLiteral("Item%1").arg(i) << QStringLiteral("Rate%1").arg(i);
    }
    return names;
}

}  // namespace

MonsterDatabase::MonsterDatabase()
    : StatusTable(QStringLiteral("mob_stat_db.txt"),
                  {QStringLiteral("Id"),          QStringLiteral("Name"),
                   QStringLiteral("DisplayName"), QStringLiteral("Level"),
                   QStringLiteral("Hp"),          QStringLiteral("Sp"),
                   QStringLiteral("Exp"),         QStringLiteral("JobExp"),
                   QStringLiteral("Range"),       QStringLiteral("AtkMin"),
                   QStringLiteral("AtkMax"),      QStringLiteral("Def"),
                   QStringLiteral("Mdef"),        QStringLiteral("Str"),
                   QStringLiteral("Agi"),         QStringLiteral("Vit"),
                   QStringLiteral("Int"),         QStringLiteral("Dex"),
                   QStringLiteral("Luk"),         QStringLiteral("SearchRange"),
                   QStringLiteral("ChaseRange"),  QStringLiteral("Size"),
                   QStringLiteral("Race"),        QStringLiteral("Element"),
                   QStringLiteral("Mode"),        QStringLiteral("MoveSpeed"),
                   QStringLiteral("AttackDelay"), QStringLiteral("AttackMotion"),
                   QStringLiteral("DamageMotion")}),
      DropTable(QStringLiteral("mob_drop_db.txt"), dropFields()),
      MvpTable(QStringLiteral("mob_mvp_db.txt"),
               {QStringLiteral("Name"), QStringLiteral("MvpItem1"), QStringLiteral("MvpItem2"),
                QStringLiteral("MvpExp"), QStringLiteral("MvpExpRate"),
                QStringLiteral("MvpSpecialItem1"), QStringLiteral("MvpSpecialRate1"),
                QStringLiteral("MvpSpecialItem2"), QStringLiteral("MvpSpecialRate2"),
                QStringLiteral("MvpSpecialItem3"), QStringLiteral("MvpSpecialRate3")}),
      MorphTable(QStringLiteral("mob_morph_db.txt"),
                 numbered(QStringLiteral("Name"), QStringLiteral("Morph"), 5,
                          QStringLiteral("MorphCount"))),
      EmoteTable(QStringLiteral("mob_emote_db.txt"),
                 {QStringLiteral("Name"), QStringLiteral("State"), QStringLiteral("Emotion")}),
      SummonTable(QStringLiteral("summon_monster.txt"),
                  numbered(QStringLiteral("Name"), QStringLiteral("Summon"), 5,
                           QStringLiteral("SummonCount"))),
      SlaveTable(QStringLiteral("summon_slave.txt"),
                 numbered(QStringLiteral("Name"), QStringLiteral("Slave"), 5,
                          QStringLiteral("SlaveCount"))) {}

std::array<Table*, 7> MonsterDatabase::loadOrder() {
    return {&StatusTable, &DropTable,   &MvpTable,  &MorphTable,
            &EmoteTable,  &SummonTable, &SlaveTable};
}

std::array<const Table*, 7> MonsterDatabase::saveOrder() const {
    return {&StatusTable, &DropTable,   &MvpTable,  &EmoteTable,
            &MorphTable,  &SummonTable, &SlaveTable};
}

TableLayout MonsterDatabase::layoutOf(const Table& table) {
    const bool isStatus = table.name() == QLatin1String("mob_stat_db.txt");
    return TableLayout{table.name(), isStatus ? int(StatusField::DisplayName) : 0};
}

void MonsterDatabase::keepAppendedLine(const Table& table, const QByteArray& line) {
    appended_[table.name()] += line;
}

void MonsterDatabase::clear() {
    for (Table* t : loadOrder()) t->clear();
    forgetAppendedLines();
}

}  // namespace mdb
