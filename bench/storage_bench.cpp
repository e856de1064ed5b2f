// Load and save times of a large database, each measured beside the bare cost of the same
// work: decoding the same bytes, or encoding the same text and writing it out. The ratio says
// how much the record layer adds on top of what any reader or writer of the files must pay.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "storage/DatabaseFiles.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

constexpr int MonsterCount = 30000;
constexpr int ItemCount = 100000;
constexpr const char* CodecName = "windows-31j";

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

QString targets(int monster, int count) {
    QStringList names;
    for (int k = 0; k < 5; ++k) {
        names << (k < count ? key((monster * 7 + k * 131) % MonsterCount + 1) : QString());
    }
    return names.join(u',');
}

struct Dataset {
    QTemporaryDir source;
    QTemporaryDir target;
    // The monster files in save order, with their text as the save writes it.
    std::vector<QString> monsterFiles;
    std::vector<QString> monsterTexts;
    std::vector<QString> itemFiles;
    std::map<QString, qint32> records;
    qint64 monsterBytes = 0;
    qint64 itemBytes = 0;

    QString sourcePath(const QString& file) const { return QDir(source.path()).filePath(file); }
    QString targetPath(const QString& file) const { return QDir(target.path()).filePath(file); }
};

std::map<QString, QString> generateMonsterTexts() {
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
    for (int i = 1; i <= MonsterCount; ++i) {
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
            morph += u"%1,%2,%3\r\n"_s.arg(key(i), targets(i, n)).arg(n);
        }
        if (has(i, SampleEmote, 19)) {
            emote += u"%1,%2,%3\r\n"_s.arg(key(i), states[i % states.size()]).arg(i % 48);
        }
        if (has(i, SampleSummon, 23)) {
            const int n = 1 + i % 5;
            summon += u"%1,%2,%3\r\n"_s.arg(key(i), targets(i, n)).arg(n);
        }
        if (has(i, SampleSlave, 31)) {
            const int n = 1 + (i / 3) % 5;
            slave += u"%1,%2,%3\r\n"_s.arg(key(i), targets(i, n)).arg(1 + i % 6);
        }
    }
    return files;
}

std::map<QString, QString> generateItemTexts() {
    const int sampleItems = SampleConsume + SampleDropItems + SampleEquip;
    const int consume = ItemCount * SampleConsume / sampleItems;
    const int drops = ItemCount * SampleDropItems / sampleItems;
    const int equip = ItemCount - consume - drops;
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

qint32 lineCount(const QString& text) {
    return qint32(text.count(u"\r\n"_s));
}

Dataset* makeDataset() {
    auto* d = new Dataset;
    if (!d->source.isValid() || !d->target.isValid()) {
        std::fprintf(stderr, "cannot create temporary folders\n");
        std::exit(1);
    }
    const auto monsters = generateMonsterTexts();
    MonsterDatabase layout;
    for (const Table* table : layout.saveOrder()) {
        const QString& text = monsters.at(table->name());
        const QByteArray bytes = encodeOrDie(text);
        writeOrDie(d->sourcePath(table->name()), bytes);
        d->monsterFiles.push_back(table->name());
        d->monsterTexts.push_back(text);
        d->records[table->name()] = lineCount(text);
        d->monsterBytes += bytes.size();
    }
    for (const auto& [file, text] : generateItemTexts()) {
        const QByteArray bytes = encodeOrDie(text);
        writeOrDie(d->sourcePath(file), bytes);
        d->itemFiles.push_back(file);
        d->records[file] = lineCount(text);
        d->itemBytes += bytes.size();
    }
    return d;
}

const Dataset& dataset() {
    static const Dataset* d = makeDataset();
    return *d;
}

// A benchmark of code that reads the wrong number of records or writes different bytes would
// time the wrong work, so the storage layer has to reproduce the generated files first.
bool checkRoundTrip() {
    const Dataset& d = dataset();
    bool ok = true;
    MonsterDatabase db;
    if (auto error = loadMonsterDatabase(QDir(d.source.path()), db)) {
        std::fprintf(stderr, "loading the monster files failed: %s error %d\n",
                     qPrintable(error->fileName), error->number());
        return false;
    }
    for (const Table* table : db.saveOrder()) {
        if (table->Count() != d.records.at(table->name())) {
            std::fprintf(stderr, "%s: %d records read, %d written\n", qPrintable(table->name()),
                         table->Count(), d.records.at(table->name()));
            ok = false;
        }
    }
    ItemDatabase items;
    if (auto error = loadItemDatabase(QDir(d.source.path()), items)) {
        std::fprintf(stderr, "loading the item files failed: %s error %d\n",
                     qPrintable(error->fileName), error->number());
        return false;
    }
    for (const ItemTable* table : items.loadOrder()) {
        if (table->Count() != d.records.at(table->fileName())) {
            std::fprintf(stderr, "%s: %d items read, %d written\n", qPrintable(table->fileName()),
                         table->Count(), d.records.at(table->fileName()));
            ok = false;
        }
    }
    if (auto error = saveMonsterDatabase(QDir(d.target.path()), db)) {
        std::fprintf(stderr, "saving failed: %s error %d\n", qPrintable(error->fileName),
                     error->number());
        return false;
    }
    for (const QString& file : d.monsterFiles) {
        if (readOrDie(d.sourcePath(file)) != readOrDie(d.targetPath(file))) {
            std::fprintf(stderr, "%s: saved bytes differ from the loaded file\n", qPrintable(file));
            ok = false;
        }
    }
    std::printf("data: %d monsters in %.1f MB, %d items in %.1f MB; round trip identical: %s\n",
                MonsterCount, double(d.monsterBytes) / 1e6, ItemCount, double(d.itemBytes) / 1e6,
                ok ? "yes" : "NO");
    return ok;
}

qint64 decodeFiles(const Dataset& d, const std::vector<QString>& files, benchmark::State& state) {
    qint64 chars = 0;
    for (const QString& file : files) {
        const QByteArray bytes = readOrDie(d.sourcePath(file));
        QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
        const QString text = decoder(bytes);
        if (decoder.hasError()) state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(text.constData());
        chars += text.size();
    }
    return chars;
}

void BM_LoadMonsterFiles(benchmark::State& state) {
    const Dataset& d = dataset();
    MonsterDatabase db;
    for (auto _ : state) {
        // Freeing the previous load is not part of reading.
        state.PauseTiming();
        db.clear();
        state.ResumeTiming();
        if (loadMonsterDatabase(QDir(d.source.path()), db)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(db.StatusTable.Count());
    }
    state.SetBytesProcessed(state.iterations() * d.monsterBytes);
}

void BM_DecodeMonsterFiles(benchmark::State& state) {
    const Dataset& d = dataset();
    for (auto _ : state) benchmark::DoNotOptimize(decodeFiles(d, d.monsterFiles, state));
    state.SetBytesProcessed(state.iterations() * d.monsterBytes);
}

void BM_LoadItemFiles(benchmark::State& state) {
    const Dataset& d = dataset();
    ItemDatabase items;
    for (auto _ : state) {
        state.PauseTiming();
        for (ItemTable* table : items.loadOrder()) table->clear();
        state.ResumeTiming();
        if (loadItemDatabase(QDir(d.source.path()), items)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(items.totalCount());
    }
    state.SetBytesProcessed(state.iterations() * d.itemBytes);
}

void BM_DecodeItemFiles(benchmark::State& state) {
    const Dataset& d = dataset();
    for (auto _ : state) benchmark::DoNotOptimize(decodeFiles(d, d.itemFiles, state));
    state.SetBytesProcessed(state.iterations() * d.itemBytes);
}

void BM_SaveMonsterFiles(benchmark::State& state) {
    const Dataset& d = dataset();
    MonsterDatabase db;
    if (loadMonsterDatabase(QDir(d.source.path()), db)) {
        state.SkipWithError("load failed");
        return;
    }
    for (auto _ : state) {
        if (saveMonsterDatabase(QDir(d.target.path()), db)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * d.monsterBytes);
}

// Encodes the text each file holds and writes it over the old file; with `sync`, also flushes
// the file and its folder to disk, as a save that must survive a power cut has to.
void encodeAndWrite(benchmark::State& state, bool sync) {
    const Dataset& d = dataset();
    for (auto _ : state) {
        for (size_t i = 0; i < d.monsterFiles.size(); ++i) {
            QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
            const QByteArray bytes = encoder(d.monsterTexts[i]);
            QFile file(d.targetPath(d.monsterFiles[i]));
            if (encoder.hasError() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(bytes) != bytes.size() || !file.flush()) {
                state.SkipWithError("encode or write failed");
                return;
            }
            if (sync) {
                ::fsync(file.handle());
                const int folder =
                    ::open(QFile::encodeName(d.target.path()).constData(), O_RDONLY | O_DIRECTORY);
                if (folder >= 0) {
                    ::fsync(folder);
                    ::close(folder);
                }
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * d.monsterBytes);
}

void BM_EncodeWriteMonsterFiles(benchmark::State& state) {
    encodeAndWrite(state, false);
}
void BM_EncodeWriteSyncMonsterFiles(benchmark::State& state) {
    encodeAndWrite(state, true);
}

BENCHMARK(BM_LoadMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadItemFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeItemFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeWriteMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeWriteSyncMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Shows the usual table and keeps the best real and CPU time of each benchmark for the ratios.
// Both are given: real time includes waiting for the disk, CPU time is steadier on a busy
// machine.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            keepBest(real_, run.run_name.function_name, run.GetAdjustedRealTime() * toMs);
            keepBest(cpu_, run.run_name.function_name, run.GetAdjustedCPUTime() * toMs);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Returns false when a ratio that has a target misses it in real time.
    bool printRatios() const {
        bool met = true;
        std::printf("\nratio of best times                       real    cpu  target (real)\n");
        auto line = [&](const char* label, const char* num, const char* den, bool target) {
            const double real = ratio(real_, num, den), cpu = ratio(cpu_, num, den);
            if (real < 0) return;
            const bool ok = !target || real <= 2.0;
            met = met && ok;
            std::printf("%-40s %6.2f %6.2f  %s\n", label, real, cpu,
                        target ? (ok ? "<= 2 met" : "<= 2 MISSED") : "-");
        };
        line("load monsters / decode monster files", "BM_LoadMonsterFiles", "BM_DecodeMonsterFiles",
             true);
        line("load items / decode item files", "BM_LoadItemFiles", "BM_DecodeItemFiles", true);
        line("save monsters / encode and write", "BM_SaveMonsterFiles",
             "BM_EncodeWriteMonsterFiles", true);
        line("save monsters / encode, write and sync", "BM_SaveMonsterFiles",
             "BM_EncodeWriteSyncMonsterFiles", false);
        return met;
    }

private:
    using Times = std::map<std::string, double>;

    static void keepBest(Times& times, const std::string& name, double ms) {
        auto [it, added] = times.try_emplace(name, ms);
        if (!added && ms < it->second) it->second = ms;
    }
    // -1 when either benchmark did not run (filtered out or failed).
    static double ratio(const Times& times, const char* num, const char* den) {
        const auto a = times.find(num), b = times.find(den);
        if (a == times.end() || b == times.end() || b->second <= 0) return -1;
        return a->second / b->second;
    }

    Times real_;
    Times cpu_;
};

}  // namespace mdb::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!mdb::bench::checkRoundTrip()) return 1;
    mdb::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = reporter.printRatios();
    benchmark::Shutdown();
    return met ? 0 : 2;
}
