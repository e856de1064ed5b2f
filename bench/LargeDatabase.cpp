#include "LargeDatabase.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

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

QString targets(int monster, int count, int monsters) {
    QStringList names;
    for (int k = 0; k < 5; ++k) {
        names << (k < count ? key((monster * 7 + k * 131) % monsters + 1) : QString());
    }
    return names.join(u',');
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

    status +=
        u"0,DUMMY,\"DUMMY\",1,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,10,12,0,0,20,0,200,1000,500,"
        u"500\r\n"_s;
    for (int i = 1; i <= monsters; ++i) {
        const int level = i % 99 + 1;
        QStringList f{QString::number(1000 + i), key(i), u"\""_s + displayName(i) + u"\""_s};
        for (int v : {level,
                      level * level * 9 + 40,
                      level / 3 + 1,
                      level * level * 2,
                      level * level * 3 / 2,
                      1 + i % 9,
                      level * 4,
                      level * 6 + 3,
                      level / 3,
                      level / 4,
                      level / 2,
                      level / 2 + 1,
                      level / 3,
                      level / 3 + 2,
                      level / 2,
                      level / 4,
                      10,
                      12,
                      i % 4,
                      i % 10,
                      ((i % 4) + 1) * 20 + i % 10,
                      modes[i % 8],
                      150 + i % 6 * 50,
                      1000 + i % 900,
                      500 + i % 400,
                      300 + i % 300}) {
            f << QString::number(v);
        }
        status += f.join(u',') + u"\r\n"_s;

        if (has(i, SampleDrop, 0)) {
            drop += key(i);
            for (int k = 0; k < 8; ++k) {
                drop += k < 1 + i % 8
                            ? u",%1,%2"_s.arg(501 + (i + k) % 600).arg(1 + (i * k) % 10000)
                            : u",0,0"_s;
            }
            drop += u"\r\n"_s;
        }
        if (has(i, SampleMvp, 7)) {
            mvp += u"%1,0,0,%2,0,%3,%4,%5,%6,0,0\r\n"_s.arg(key(i))
                       .arg(i * 13)
                       .arg(501 + i % 600)
                       .arg(1 + i % 10000)
                       .arg(601 + i % 600)
                       .arg(1 + (i * 3) % 10000);
        }
        if (has(i, SampleMorph, 13)) {
            const int n = 1 + i % 5;
            morph += u"%1,%2,%3\r\n"_s.arg(key(i), targets(i, n, monsters)).arg(n);
        }
        if (has(i, SampleEmote, 19)) {
            emote += u"%1,%2,%3\r\n"_s.arg(key(i), states[i % states.size()]).arg(i % 48);
        }
        if (has(i, SampleSummon, 23)) {
            const int n = 1 + i % 5;
            summon += u"%1,%2,%3\r\n"_s.arg(key(i), targets(i, n, monsters)).arg(n);
        }
        if (has(i, SampleSlave, 31)) {
            const int n = 1 + (i / 3) % 5;
            slave += u"%1,%2,%3\r\n"_s.arg(key(i), targets(i, n, monsters)).arg(1 + i % 6);
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
