// What a user waits for, measured as a user meets it: every start and every item load in a
// process of its own (first-touch page faults and all), paired in each round with its floor in
// another fresh process, in alternating order; the median and the spread of the per-round
// ratios over the rounds.
//
//   fresh_bench --grow SOURCE TARGET FACTOR   grows a copy of a database (e.g. the real data)
//   fresh_bench [--rounds N] FOLDER...        the figures for each folder (default 9 rounds)
//
// Floors: start-up against a bare Qt Widgets program that shows a main window with the same
// four menus; the item load against reading and decoding the three item files with ICU; the
// first monster switch after the item load against later switches to random monsters of the
// same round, each switch painted before the next (also with its paint); peak memory beyond the
// empty window's against the decoded text of the files the run keeps.

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <tuple>
#include <vector>

#include "FreshProbes.h"
#include "GrowDatabase.h"
#include "LargeDatabase.h"
#include "app/MonsterPreload.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

namespace {

QString self;
// A state folder of the benchmark's own, emptied before every probe: a recovery journal or copy
// left by the user's own runs (or by an earlier probe) must neither be offered at a measured
// start nor be touched by one.
QString stateFolder;

const QStringList kMonsterFiles{
    u"mob_stat_db.txt"_s,  u"mob_drop_db.txt"_s,    u"mob_mvp_db.txt"_s,  u"mob_morph_db.txt"_s,
    u"mob_emote_db.txt"_s, u"summon_monster.txt"_s, u"summon_slave.txt"_s};
const QStringList kItemFiles{u"item_consume_db.txt"_s, u"item_drop_db.txt"_s,
                             u"item_equip_db.txt"_s};

// `seed`, where given, seeds the probe's random monster switches.
void startProbe(QProcess& p, const QString& mode, const QString& folder, int seed = 0) {
    QDir(stateFolder).removeRecursively();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_STATE_HOME"_s, stateFolder);
    if (seed > 0) environment.insert(u"MDB_PROBE_SEED"_s, QString::number(seed));
    p.setProcessEnvironment(environment);
    p.start(self, {u"--probe"_s, mode, folder});
}

std::vector<double> probe(const QString& mode, const QString& folder, int seed = 0) {
    QProcess p;
    startProbe(p, mode, folder, seed);
    p.waitForFinished(-1);
    std::vector<double> out;
    for (const QByteArray& word : p.readAllStandardOutput().simplified().split(' ')) {
        if (!word.isEmpty()) out.push_back(word.toDouble());
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || out.empty()) {
        std::fprintf(stderr, "probe %s failed: %s\n", qPrintable(mode),
                     p.readAllStandardError().constData());
        std::exit(1);
    }
    return out;
}

struct Stats {
    double median, low, high;
};

Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

qint64 decodedBytes(const QString& folder, const QStringList& files) {
    qint64 bytes = 0;
    for (const QString& file : files) {
        QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
        const QString text = decoder(readOrDie(folder + u'/' + file));
        bytes += text.size() * qint64(sizeof(QChar));
    }
    return bytes;
}

void line(const char* what, const Stats& ratio, const Stats& a, const Stats& b, double target) {
    char verdict[48] = "";
    if (target > 0) {
        std::snprintf(verdict, sizeof verdict, "target <= %.1f %s", target,
                      ratio.median <= target ? "met" : "MISSED");
    }
    std::printf("  %-34s %7.2f  (%5.2f..%5.2f)  %8.2f ms / %8.2f ms   %s\n", what, ratio.median,
                ratio.low, ratio.high, a.median, b.median, verdict);
}

// `a` and `b` in turns, the order swapped every round; the per-round ratio of their first
// figures.
void paired(const char* what, int rounds, const QString& modeA, const QString& modeB,
            const QString& folder, double target) {
    std::vector<double> a, b, r;
    for (int i = 0; i < rounds; ++i) {
        double x, y;
        if (i % 2 == 0) {
            x = probe(modeA, folder)[0];
            y = probe(modeB, folder)[0];
        } else {
            y = probe(modeB, folder)[0];
            x = probe(modeA, folder)[0];
        }
        a.push_back(x);
        b.push_back(y);
        r.push_back(x / y);
    }
    line(what, stats(r), stats(a), stats(b), target);
}

void itemRounds(int rounds, const QString& folder) {
    std::vector<double> load, decode, ratio, first, later, switchRatio, firstPainted, laterPainted,
        paintedRatio;
    for (int i = 0; i < rounds; ++i) {
        // each round switches to monsters of its own, so that the first switch after the load
        // is drawn as the later ones are, not sent to one monster in every round
        const int seed = i + 1;
        std::vector<double> items, floor;
        if (i % 2 == 0) {
            items = probe(u"items"_s, folder, seed);
            floor = probe(u"decode-items"_s, folder);
        } else {
            floor = probe(u"decode-items"_s, folder);
            items = probe(u"items"_s, folder, seed);
        }
        if (items.size() < 5) {
            std::fprintf(stderr, "the items probe printed %zu figures, not 5\n", items.size());
            std::exit(1);
        }
        load.push_back(items[0]);
        decode.push_back(floor[0]);
        ratio.push_back(items[0] / floor[0]);
        first.push_back(items[1]);
        later.push_back(items[2]);
        switchRatio.push_back(items[1] / items[2]);
        firstPainted.push_back(items[3]);
        laterPainted.push_back(items[4]);
        paintedRatio.push_back(items[3] / items[4]);
    }
    line("item load / decode item files", stats(ratio), stats(load), stats(decode), 1.0);
    line("first switch after / later switch", stats(switchRatio), stats(first), stats(later), 2.0);
    // what the user waits for: the switch and the paint of what it changed
    line("  the same, each with its paint", stats(paintedRatio), stats(firstPainted),
         stats(laterPainted), 0);
}

void memoryRounds(int rounds, const QString& folder) {
    const double monsters = double(decodedBytes(folder, kMonsterFiles));
    const double all = monsters + double(decodedBytes(folder, kItemFiles));
    for (const auto& [mode, decoded, target] :
         {std::tuple{u"memory"_s, monsters, 2.0}, std::tuple{u"memory-items"_s, all, 1.5}}) {
        std::vector<double> ratio, beyond;
        for (int i = 0; i < rounds; ++i) {
            // the run saves, into a copy of its own (see runProbe)
            const std::vector<double> peaks = probe(mode, folder);
            beyond.push_back((peaks[1] - peaks[0]) / 1e6);
            ratio.push_back((peaks[1] - peaks[0]) / decoded);
        }
        const Stats r = stats(ratio), b = stats(beyond);
        std::printf("  %-34s %7.2f  (%5.2f..%5.2f)  %8.1f MB / %8.1f MB   target <= %.1f %s\n",
                    mode == u"memory"_s ? "peak beyond window / monster text"
                                        : "peak beyond window / all ten texts",
                    r.median, r.low, r.high, b.median, decoded / 1e6, target,
                    r.median <= target ? "met" : "MISSED");
    }
}

void steps(const QString& folder) {
    const QByteArray out = [&] {
        QProcess p;
        startProbe(p, u"steps"_s, folder);
        p.waitForFinished(-1);
        return p.readAllStandardOutput();
    }();
    std::printf("  interactive steps, one process (median / slowest, ms):\n");
    for (const QByteArray& row : out.split('\n')) {
        const QList<QByteArray> w = row.split(' ');
        if (w.size() == 3) {
            std::printf("    %-12s %8.2f %8.2f\n", w[0].constData(), w[1].toDouble(),
                        w[2].toDouble());
        }
    }
}

int drive(const QStringList& args) {
    int rounds = 9;
    QStringList folders;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--rounds"_s && i + 1 < args.size()) {
            rounds = std::max(1, args[++i].toInt());
        } else {
            folders << args[i];
        }
    }
    if (folders.isEmpty()) {
        std::fprintf(stderr,
                     "usage: fresh_bench [--rounds N] FOLDER...\n"
                     "       fresh_bench --grow SOURCE TARGET FACTOR\n");
        return 2;
    }
    QTemporaryDir scratch;
    stateFolder = scratch.path() + u"/state"_s;
    std::printf("each figure: median ratio (lowest..highest) over %d rounds, medians of both\n",
                rounds);
    for (const QString& folder : folders) {
        std::printf("%s\n", qPrintable(folder));
        paired("start-up to first paint / bare", rounds, u"startup"_s, u"bare"_s, folder, 0);
        itemRounds(rounds, folder);
        memoryRounds(std::min(rounds, 3), folder);
        steps(folder);
    }
    return 0;
}

}  // namespace

}  // namespace mdb::bench

int main(int argc, char** argv) {
    const qint64 start = mdb::bench::processStartNs();
    if (argc == 4 && qstrcmp(argv[1], "--probe") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString mode = QString::fromLocal8Bit(argv[2]);
        const QString folder = QString::fromLocal8Bit(argv[3]);
        // the start reads the named folder while Qt starts, as the program's own main() does
        std::optional<mdb::MonsterPreload> preload;
        if (mode == QStringLiteral("startup")) preload.emplace(QDir(folder));
        QApplication app(argc, argv);
        return mdb::bench::runProbe(mode, folder, start, preload ? &*preload : nullptr);
    }
    QCoreApplication app(argc, argv);
    mdb::bench::self = QCoreApplication::applicationFilePath();
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 4 && args[0] == QStringLiteral("--grow")) {
        mdb::bench::growDatabase(args[1], args[2], args[3].toInt());
        return 0;
    }
    return mdb::bench::drive(args);
}
