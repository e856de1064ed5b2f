#include "LargeDatabase.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "common/RecordMaker.h"
#include "model/ValueLimits.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

// Records per 40 monsters in the bundled sample (drop, MVP, morph, emotion, summon, slave) and
// its split of items over the consume, drop and equipment files, so that the large database
// has the same shape as the small one.
constexpr int SampleMonsters = 40;
constexpr int SampleDrop = 29, SampleMvp = 4, SampleMorph = 4, SampleEmote = 14, SampleSummon = 3,
              SampleSlave = 5;
constexpr int SampleConsume = 12, SampleDropItems = 12, SampleEquip = 13;

QByteArray encodeOrDie(const QString& text) {
    QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (encoder.hasError()) {
        std::fprintf(stderr, "generated text is not code page 932\n");
        std::exit(1);
    }
    return bytes;
}

QString decodeOrDie(const QByteArray& bytes) {
    QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        std::fprintf(stderr, "the bytes are not code page 932\n");
        std::exit(1);
    }
    return text;
}

void writeOrDie(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray readOrDie(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

QString key(int monster) {
    return u"MOB_"_s + QString::number(monster);
}

// Double-byte names with the awkward characters: 0x5C trail bytes (表, ソ, 能), ～ and ①,
// and now and then a comma, which only the quoted display name may hold.
QString displayName(int monster) {
    static const QStringList stems{u"河童"_s,   u"天狗"_s,   u"狐"_s,  u"表裏"_s, u"ソウゲン"_s,
                                   u"能面"_s,   u"提灯～"_s, u"霊①"_s, u"大将"_s, u"沼"_s,
                                   u"雪ん子"_s, u"鬼"_s,     u"狸"_s,  u"木霊"_s};
    const qsizetype n = stems.size();
    QString name = stems[monster % n] + stems[(monster / n) % n];
    if (monster % 97 == 0) name += u","_s;
    return name + QString::number(monster);
}

QString itemName(int item) {
    static const QStringList stems{u"傷薬"_s,         u"霊薬①"_s,      u"甘露"_s,
                                   u"ソーダ水"_s,     u"古びた表札"_s, u"能面の欠片"_s,
                                   u"団子～三色～"_s, u"鬼の角"_s,     u"狐の面"_s,
                                   u"草鞋"_s,         u"蓑"_s};
    return stems[item % stems.size()] + QString::number(item);
}

// Whether monster i has a record in a table holding `perForty` records per 40 monsters. The
// offset spreads the tables over different monsters.
bool has(int monster, int perForty, int offset) {
    return (monster + offset) % SampleMonsters < perForty;
}

// The related monsters of a record, `count` of them in the first slots.
std::map<int, QString> related(int monster, int count, int monsters, int shownCount) {
    std::map<int, QString> fields{{RelationField::Count, QString::number(shownCount)}};
    for (int k = 0; k < count && k < RelationField::Slots; ++k) {
        fields[RelationField::Related(k)] = key((monster * 7 + k * 131) % monsters + 1);
    }
    return fields;
}

std::map<QString, QString> generateMonsterTexts(int monsters) {
    std::map<QString, QString> files;
    QString& status = files[u"mob_stat_db.txt"_s];
    QString& drop = files[u"mob_drop_db.txt"_s];
    QString& mvp = files[u"mob_mvp_db.txt"_s];
    QString& morph = files[u"mob_morph_db.txt"_s];
    QString& emote = files[u"mob_emote_db.txt"_s];
    QString& summon = files[u"summon_monster.txt"_s];
    QString& slave = files[u"summon_slave.txt"_s];
    static const QStringList states = {u"IDLE_ST"_s,     u"BERSERK_ST"_s, u"RUSH_ST"_s,
                                       u"MOVEITEM_ST"_s, u"DEAD_ST"_s,    u"RMOVE_ST"_s,
                                       u"FOLLOW_ST"_s,   u"ANGRY_ST"_s,   u"SEARCH_ST"_s};
    static const int modes[] = {0, 1, 6, 13, 53, 129, 2163077, 33566865};

    // Every record is made from its table's descriptor: the fields named here get these
    // values, any other field a value of its role.
    const auto numbers = [](std::initializer_list<std::pair<int, qint64>> values) {
        std::map<int, QString> fields;
        for (const auto& [field, value] : values) fields[field] = QString::number(value);
        return fields;
    };
    using namespace StatusField;
    status += fixture::line(TableId::Status, fixture::record(TableId::Status, u"DUMMY"_s,
                                                             numbers({{Id, 0},
                                                                      {Level, 1},
                                                                      {Hp, 1},
                                                                      {Range, 1},
                                                                      {SearchRange, 10},
                                                                      {ChaseRange, 12},
                                                                      {Element, 20},
                                                                      {MoveSpeed, 200},
                                                                      {AttackDelay, 1000},
                                                                      {AttackMotion, 500},
                                                                      {DamageMotion, 500}})));
    for (int i = 1; i <= monsters; ++i) {
        const int level = i % 99 + 1;
        std::map<int, QString> stats = numbers({{Id, 1000 + i},
                                                {Level, level},
                                                {Hp, level * level * 9 + 40},
                                                {Sp, level / 3 + 1},
                                                {Exp, level * level * 2},
                                                {JobExp, level * level * 3 / 2},
                                                {Range, 1 + i % 9},
                                                {AtkMin, level * 4},
                                                {AtkMax, level * 6 + 3},
                                                {Def, level / 3},
                                                {Mdef, level / 4},
                                                {Str, level / 2},
                                                {Agi, level / 2 + 1},
                                                {Vit, level / 3},
                                                {Int, level / 3 + 2},
                                                {Dex, level / 2},
                                                {Luk, level / 4},
                                                {SearchRange, 10},
                                                {ChaseRange, 12},
                                                {Size, i % 4},
                                                {Race, i % 10},
                                                {Element, ((i % 4) + 1) * 20 + i % 10},
                                                {Mode, modes[i % 8]},
                                                {MoveSpeed, 150 + i % 6 * 50},
                                                {AttackDelay, 1000 + i % 900},
                                                {AttackMotion, 500 + i % 400},
                                                {DamageMotion, 300 + i % 300}});
        stats[DisplayName] = displayName(i);
        status += fixture::line(TableId::Status, fixture::record(TableId::Status, key(i), stats));

        if (has(i, SampleDrop, 0)) {
            std::map<int, QString> drops;
            for (int k = 0; k < DropField::Slots && k < 1 + i % 8; ++k) {
                drops[DropField::Item(k)] = QString::number(501 + (i + k) % 600);
                drops[DropField::Rate(k)] = QString::number(1 + (i * k) % kRateLimit);
            }
            drop += fixture::line(TableId::Drop, fixture::record(TableId::Drop, key(i), drops));
        }
        if (has(i, SampleMvp, 7)) {
            mvp += fixture::line(
                TableId::Mvp,
                fixture::record(TableId::Mvp, key(i),
                                numbers({{MvpField::MvpExp, i * 13},
                                         {MvpField::SpecialItem(0), 501 + i % 600},
                                         {MvpField::SpecialRate(0), 1 + i % kRateLimit},
                                         {MvpField::SpecialItem(1), 601 + i % 600},
                                         {MvpField::SpecialRate(1), 1 + (i * 3) % kRateLimit}})));
        }
        if (has(i, SampleMorph, 13)) {
            const int n = 1 + i % 5;
            morph += fixture::line(TableId::Morph, fixture::record(TableId::Morph, key(i),
                                                                   related(i, n, monsters, n)));
        }
        if (has(i, SampleEmote, 19)) {
            emote += fixture::line(
                TableId::Emote,
                fixture::record(TableId::Emote, key(i),
                                {{EmoteField::State, states[i % states.size()]},
                                 {EmoteField::Emotion, QString::number(i % (kLastEmotion + 1))}}));
        }
        if (has(i, SampleSummon, 23)) {
            const int n = 1 + i % 5;
            summon += fixture::line(TableId::Summon, fixture::record(TableId::Summon, key(i),
                                                                     related(i, n, monsters, n)));
        }
        if (has(i, SampleSlave, 31)) {
            const int n = 1 + (i / 3) % 5;
            slave += fixture::line(
                TableId::Slave,
                fixture::record(TableId::Slave, key(i), related(i, n, monsters, 1 + i % 6)));
        }
    }
    return files;
}

std::map<QString, QString> generateItemTexts(int items) {
    const int sampleItems = SampleConsume + SampleDropItems + SampleEquip;
    const int consume = items * SampleConsume / sampleItems;
    const int drops = items * SampleDropItems / sampleItems;
    const int equip = items - consume - drops;
    std::map<QString, QString> files;
    QString& c = files[u"item_consume_db.txt"_s];
    QString& d = files[u"item_drop_db.txt"_s];
    QString& e = files[u"item_equip_db.txt"_s];
    int id = 500;
    for (int i = 0; i < consume; ++i, ++id) {
        c += u"%1,ITEM_%1,%2,0,%3,%4,70,0xFFFFFFFF,63,2,0,\"itemheal rand(%5,%6),0;\"\r\n"_s.arg(id)
                 .arg(itemName(i))
                 .arg(50 + i % 5000)
                 .arg(25 + i % 2500)
                 .arg(i % 100)
                 .arg(100 + i % 100);
    }
    for (int i = 0; i < drops; ++i, ++id) {
        d += u"%1,ITEM_%1,%2,3,%3,%4,%5\r\n"_s.arg(id)
                 .arg(itemName(i + 3))
                 .arg(10 + i % 9000)
                 .arg(5 + i % 4500)
                 .arg(i % 100);
    }
    for (int i = 0; i < equip; ++i, ++id) {
        e += u"%1,ITEM_%1,%2,5,%3,%4,500,%5,0,0,1,%6,0xFFFFFFFF,63,2,2,1,%7,1,0,"
             u"\"bonus bStr,%8; bonus bAgi,1;\"\r\n"_s.arg(id)
                 .arg(itemName(i + 7))
                 .arg(100 + i % 9000)
                 .arg(50 + i % 4500)
                 .arg(i % 200)
                 .arg(i % 5)
                 .arg(1 + i % 99)
                 .arg(1 + i % 5);
    }
    return files;
}

void writeLargeDatabase(const QString& folder, int monsters, int items) {
    for (const auto& texts : {generateMonsterTexts(monsters), generateItemTexts(items)}) {
        for (const auto& [file, text] : texts) writeOrDie(folder + u'/' + file, encodeOrDie(text));
    }
}

}  // namespace mdb::bench
