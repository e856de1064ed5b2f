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
#include <memory>
#include <string>
#include <vector>

#include "BestTimes.h"
#include "LargeDatabase.h"
#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "storage/DatabaseFiles.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

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
    for (auto _ : state) {
        // A fresh database each round, as the program loads: tables that kept the capacity of
        // an earlier round would hide the cost of growing them.
        auto db = std::make_unique<MonsterDatabase>();
        if (loadMonsterDatabase(QDir(d.source.path()), *db)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(db->StatusTable.Count());
        // Freeing it is not part of reading.
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
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
    for (auto _ : state) {
        auto items = std::make_unique<ItemDatabase>();
        if (loadItemDatabase(QDir(d.source.path()), *items)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(items->totalCount());
        state.PauseTiming();
        items.reset();
        state.ResumeTiming();
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

// The same after every field of every record was stored again with its own value, as an update
// of each record would: the save then compares every field with what was read.
void BM_SaveRewrittenMonsterFiles(benchmark::State& state) {
    const Dataset& d = dataset();
    MonsterDatabase db;
    if (loadMonsterDatabase(QDir(d.source.path()), db)) {
        state.SkipWithError("load failed");
        return;
    }
    for (Table* t : db.loadOrder()) {
        for (qint32 r = 1; r <= t->Count(); ++r) {
            for (int f = 1; f <= t->fieldCount(); ++f) t->setField(r, f, t->field(r, f));
        }
    }
    for (auto _ : state) {
        if (saveMonsterDatabase(QDir(d.target.path()), db)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    for (const QString& file : d.monsterFiles) {
        if (readOrDie(d.sourcePath(file)) != readOrDie(d.targetPath(file))) {
            state.SkipWithError("rewritten fields changed the saved bytes");
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
BENCHMARK(BM_SaveRewrittenMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeWriteMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeWriteSyncMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ratios of the best times: the load against the bare decode, the save against encoding and
// writing the same bytes. Returns false when a ratio with a target misses it in real time.
bool printRatios(const BestTimes& t) {
    bool met = true;
    auto line = [&](const char* label, const char* num, const char* den, double limit) {
        const double real = t.real(num) < 0 || t.real(den) <= 0 ? -1 : t.real(num) / t.real(den);
        const double cpu = t.cpu(num) < 0 || t.cpu(den) <= 0 ? -1 : t.cpu(num) / t.cpu(den);
        met = BestTimes::printRatio(label, real, cpu, limit) && met;
    };
    BestTimes::printRatioHeading();
    line("load monsters / decode monster files", "BM_LoadMonsterFiles", "BM_DecodeMonsterFiles",
         2.0);
    line("load items / decode item files", "BM_LoadItemFiles", "BM_DecodeItemFiles", 2.0);
    // A save syncs every file and its folder, so that a full or failing disk is known before
    // the old file is replaced; its real time is held against a write that syncs too, its CPU
    // time against the write alone.
    line("save monsters / encode and write", "BM_SaveMonsterFiles", "BM_EncodeWriteMonsterFiles",
         0);
    line("save monsters / encode, write and sync", "BM_SaveMonsterFiles",
         "BM_EncodeWriteSyncMonsterFiles", 2.0);
    line("save all rewritten / encode, write, sync", "BM_SaveRewrittenMonsterFiles",
         "BM_EncodeWriteSyncMonsterFiles", 0);
    return met;
}

}  // namespace mdb::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!mdb::bench::checkRoundTrip()) return 1;
    mdb::bench::BestTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = mdb::bench::printRatios(reporter);
    benchmark::Shutdown();
    return met ? 0 : 2;
}
