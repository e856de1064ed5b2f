#include "GrowDatabase.h"

#include <QDir>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "LargeDatabase.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

namespace {

constexpr int IdStep = 100000;  // above every ID of the real data

// Double-byte stems with the awkward characters: 0x5C trail bytes (表, ソ, 能), ～ and ①.
QString japaneseStem(int n) {
    static const QStringList stems{u"河童"_s, u"天狗の"_s, u"表裏"_s,   u"ソウゲン"_s,
                                   u"能面"_s, u"提灯～"_s, u"霊①"_s,    u"古びた表札"_s,
                                   u"団子"_s, u"鬼の角"_s, u"狐の面"_s, u"草鞋"_s};
    return stems[n % stems.size()];
}

// A line's first `count` comma-separated fields and the rest of the line after them. Only the
// leading fields are split, which hold neither quotes nor commas in the database files, except
// the status table's quoted display name (third), which holds no comma.
struct Split {
    QStringList head;
    QString rest;  // from the comma that ends the last head field on
};

bool splitHead(const QString& line, int count, Split& out) {
    out.head.clear();
    qsizetype pos = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype comma = line.indexOf(u',', pos);
        if (comma < 0) return false;
        out.head << line.mid(pos, comma - pos);
        pos = comma + 1;
    }
    out.rest = line.mid(pos - 1);
    return true;
}

// Copy `copy` (1 and up) of one record line of `file`; odd copies get Japanese names.
QString renamed(const QString& file, const QString& line, int copy) {
    const QString suffix = u"_"_s + QString::number(copy);
    const bool japanese = copy % 2 == 1;
    Split s;
    if (file == u"mob_stat_db.txt"_s && splitHead(line, 3, s)) {
        s.head[0] = QString::number(s.head[0].toLongLong() + qint64(IdStep) * copy);
        s.head[1] += suffix;
        if (japanese && s.head[2].startsWith(u'"')) {
            s.head[2].insert(1, japaneseStem(copy + int(line.size())));
        }
        return s.head.join(u',') + s.rest;
    }
    if (file.startsWith(u"item_"_s) && splitHead(line, 3, s)) {
        s.head[0] = QString::number(s.head[0].toLongLong() + qint64(IdStep) * copy);
        s.head[1] += suffix;
        if (japanese && !s.head[2].startsWith(u'"')) {
            s.head[2].prepend(japaneseStem(copy + int(line.size())));
        }
        return s.head.join(u',') + s.rest;
    }
    // the dependent tables: the monster key comes first
    if (splitHead(line, 1, s)) return s.head[0] + suffix + s.rest;
    return line;
}

}  // namespace

void growDatabase(const QString& from, const QString& to, int factor) {
    QDir().mkpath(to);
    for (const QString& file : QDir(from).entryList({u"*.txt"_s}, QDir::Files)) {
        const QString text = decodeOrDie(readOrDie(from + u'/' + file));
        QStringList lines = text.split(u"\r\n"_s);
        const bool endsWithLineEnd = !lines.isEmpty() && lines.last().isEmpty();
        if (endsWithLineEnd) lines.removeLast();
        QString out = text;
        if (!endsWithLineEnd && !out.isEmpty()) out += u"\r\n"_s;
        out.reserve(text.size() * factor * 11 / 10);
        for (int copy = 1; copy < factor; ++copy) {
            // the placeholder record stays the one first record
            const qsizetype first = file == u"mob_stat_db.txt"_s ? 1 : 0;
            for (qsizetype i = first; i < lines.size(); ++i) {
                out += renamed(file, lines[i], copy);
                out += u"\r\n"_s;
            }
        }
        writeOrDie(to + u'/' + file, encodeOrDie(out));
    }
}

}  // namespace mdb::bench
