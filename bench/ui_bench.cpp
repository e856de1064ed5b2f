// The main window, offscreen, on a database of 300 and one of 30,000 monsters (and on the
// folder named by MDB_BENCH_DATA, when set), all in one run: start-up until the window is
// ready, showing another monster (the whole chain), the item load, an update and a save, each
// beside what any program must pay for the same files (decoding them, encoding and writing
// them), and the peak memory beside the decoded size of the files. The run ends with the
// ratios and whether each meets its target, judged on CPU time: the machines this runs on are
// shared, and waiting for the disk or for another process is no cost of the program's own.
//
// Instructions instead of times (steady on a busy machine), e.g. for showing a monster, with
// valgrind --tool=callgrind --collect-atstart=no
// --toggle-collect='mdb::bench::(anonymous namespace)::showAnotherMonster*'
// ./ui_bench --benchmark_filter=ShowAnotherMonster/30000, and the same with startWindow,
// windowOnly, decodeFiles or loadItems.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BestTimes.h"
#include "LargeDatabase.h"
#include "PeakMemory.h"
#include "app/MainWindow.h"
#include "storage/Journal.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/controls/MessageSink.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

namespace {

const QStringList kMonsterFiles{
    u"mob_stat_db.txt"_s,  u"mob_drop_db.txt"_s,    u"mob_mvp_db.txt"_s,  u"mob_morph_db.txt"_s,
    u"mob_emote_db.txt"_s, u"summon_monster.txt"_s, u"summon_slave.txt"_s};
const QStringList kItemFiles{u"item_consume_db.txt"_s, u"item_drop_db.txt"_s,
                             u"item_equip_db.txt"_s};

// One database folder and what the benchmarks need to know of it.
struct Dataset {
    std::string label;  // "300", "30000" or "data"
    QString folder;
    QString saveFolder;  // a copy the save benchmark writes into
    int monsters = 0;
    qint64 decodedBytes = 0;  // all ten files, decoded, two bytes a character
};

std::vector<Dataset>& datasets() {
    static std::vector<Dataset> sets;
    return sets;
}

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

qint64 decodedSize(const QString& folder) {
    qint64 bytes = 0;
    for (const QString& file : kMonsterFiles + kItemFiles) {
        QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
        const QString text = decoder(readOrDie(folder + u'/' + file));
        bytes += text.size() * qint64(sizeof(QChar));
    }
    return bytes;
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& file : kMonsterFiles + kItemFiles) {
        writeOrDie(to + u'/' + file, readOrDie(from + u'/' + file));
    }
}

void addDataset(const std::string& label, const QString& folder) {
    Dataset d;
    d.label = label;
    d.folder = folder;
    d.saveFolder = scratch().path() + u"/save-"_s + QString::fromStdString(label);
    copyFolder(folder, d.saveFolder);
    d.decodedBytes = decodedSize(folder);
    datasets().push_back(d);
}

void makeDatasets() {
    for (const auto& [monsters, items] : {std::pair{300, 1000}, std::pair{30000, 100000}}) {
        const QString folder = scratch().path() + u"/db-"_s + QString::number(monsters);
        QDir().mkpath(folder);
        writeLargeDatabase(folder, monsters, items);
        addDataset(std::to_string(monsters), folder);
        datasets().back().monsters = monsters;
    }
    const QString extra = qEnvironmentVariable("MDB_BENCH_DATA");
    if (!extra.isEmpty()) addDataset("data", extra);
}

RecordingMessageSink& sink() {
    static RecordingMessageSink messages;
    return messages;
}

// The named steps below are kept out of line so that callgrind can count each on its own.

[[gnu::noinline]] std::unique_ptr<MainWindow> windowOnly(const QString& folder) {
    return std::make_unique<MainWindow>(QDir(folder), sink());
}

[[gnu::noinline]] std::unique_ptr<MainWindow> startWindow(const QString& folder) {
    auto window = std::make_unique<MainWindow>(QDir(folder), sink());
    if (window->startUp() != MainWindow::StartResult::Started) {
        std::fprintf(stderr, "the window did not start on %s\n", qPrintable(folder));
        std::exit(1);
    }
    return window;
}

[[gnu::noinline]] qint64 decodeFiles(const QString& folder, const QStringList& files) {
    qint64 chars = 0;
    for (const QString& file : files) {
        const QByteArray bytes = readOrDie(folder + u'/' + file);
        QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
        const QString text = decoder(bytes);
        benchmark::DoNotOptimize(text.constData());
        chars += decoder.hasError() ? -1 : text.size();
    }
    return chars;
}

// A jump to a monster picked at random, as a user choosing from the list does: stepping to the
// next one would find its records next to the last one's in the caches.
[[gnu::noinline]] void showAnotherMonster(QLineEdit& positionBox, const QString& position) {
    positionBox.setText(position);
}

// A control of the window by its object name, looked up outside the timed commands.
template <class T>
T& named(MainWindow& window, const QString& objectName) {
    T* found = window.findChild<T*>(objectName);
    if (!found) {
        std::fprintf(stderr, "no control %s\n", qPrintable(objectName));
        std::exit(1);
    }
    return *found;
}
QPushButton& itemLoadButton(MainWindow& window) {
    return named<QPushButton>(window, u"Command2"_s);
}
QPushButton& updateButton(MainWindow& window) {
    return named<QPushButton>(window, u"Command1"_s);
}
QAction& saveEntry(MainWindow& window) {
    return named<QAction>(window, u"MunFileSave"_s);
}
UnsavedWork& unsavedWork(MainWindow& window) {
    return *window.findChild<UnsavedWork*>();
}

[[gnu::noinline]] void loadItems(QPushButton& itemLoad) {
    itemLoad.click();
}

[[gnu::noinline]] void update(QPushButton& update) {
    update.click();
}

[[gnu::noinline]] void save(QAction& save) {
    save.trigger();
}

// What any program must pay for the same files: decoding them.
void decodeMonsters(benchmark::State& state, const Dataset* d) {
    for (auto _ : state) benchmark::DoNotOptimize(decodeFiles(d->folder, kMonsterFiles));
}
void decodeItems(benchmark::State& state, const Dataset* d) {
    for (auto _ : state) benchmark::DoNotOptimize(decodeFiles(d->folder, kItemFiles));
}

// Building the window with no database: the fixed part of every start.
void buildWindow(benchmark::State& state, const Dataset* d) {
    for (auto _ : state) {
        auto window = windowOnly(d->folder);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// The whole start-up sequence: the window, the files, the shared lists, the first monster.
void startUp(benchmark::State& state, const Dataset* d) {
    for (auto _ : state) {
        auto window = startWindow(d->folder);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// Stepping to the next monster: the form, the lists, the six dependent look-ups and every
// editor they fill.
void showMonsters(benchmark::State& state, const Dataset* d) {
    auto window = startWindow(d->folder);
    QLineEdit& positionBox = *window->findChild<QLineEdit*>(u"Text0"_s);
    const int last = int(window->database().StatusTable.Count()) - 1;
    QRandomGenerator random(1);
    QStringList positions;
    for (int i = 0; i < 4096; ++i) positions << QString::number(1 + random.bounded(last));
    qsizetype next = 0;
    for (auto _ : state) {
        showAnotherMonster(positionBox, positions[next]);
        next = (next + 1) % positions.size();
    }
}

// The item load into a window that has none yet.
void itemLoad(benchmark::State& state, const Dataset* d) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = startWindow(d->folder);
        QPushButton& itemLoad = itemLoadButton(*window);
        sink().messages.clear();
        state.ResumeTiming();
        loadItems(itemLoad);
        state.PauseTiming();
        if (!sink().messages.empty()) state.SkipWithError("the item load reported a failure");
        window.reset();
        state.ResumeTiming();
    }
}

// The update command on the shown monster after a field was changed, with the items loaded:
// an update with nothing changed writes nothing and says little.
void updates(benchmark::State& state, const Dataset* d) {
    auto window = startWindow(d->folder);
    loadItems(itemLoadButton(*window));
    QLineEdit* hp = window->findChild<QLineEdit*>(u"Text1(2)"_s);
    QPushButton& updater = updateButton(*window);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        hp->setText(QString::number(1000 + round++ % 2));
        state.ResumeTiming();
        update(updater);
    }
}

// An update that changes the HP of the shown monster, journaled (synced before it returns) or,
// for comparison, with no journal kept.
void changingUpdates(benchmark::State& state, const Dataset* d, bool journaled) {
    auto window = startWindow(d->folder);
    UnsavedWork& work = unsavedWork(*window);
    if (!journaled) work.setJournal(Journal());
    auto* hp = window->findChild<QLineEdit*>(u"Text1(2)"_s);
    QPushButton& updater = updateButton(*window);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        hp->setText(QString::number(++n % 2 ? 4321 : 1234));
        state.ResumeTiming();
        update(updater);
    }
    sink().messages.clear();
    work.setJournal(Journal(Journal::pathFor(d->folder)));
    work.noteSaveAttempt(true);  // removes the journal of this run
}
void journaledUpdates(benchmark::State& state, const Dataset* d) {
    changingUpdates(state, d, true);
}
void unjournaledUpdates(benchmark::State& state, const Dataset* d) {
    changingUpdates(state, d, false);
}

// The save command after an update, into a copy of the folder.
void saves(benchmark::State& state, const Dataset* d) {
    auto window = startWindow(d->saveFolder);
    update(updateButton(*window));
    QAction& saver = saveEntry(*window);
    sink().messages.clear();
    for (auto _ : state) save(saver);
    for (const auto& m : sink().messages) {
        if (m.isWarning) state.SkipWithError("the save reported a failure");
    }
}

// Encoding the decoded text of the monster files and writing it out, with or without syncing
// each file: the floor of any save.
void encodeWrite(benchmark::State& state, const Dataset* d, bool sync) {
    std::vector<QString> texts;
    for (const QString& file : kMonsterFiles) {
        QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
        texts.push_back(decoder(readOrDie(d->folder + u'/' + file)));
    }
    const QString out = scratch().path() + u"/encoded-"_s + QString::fromStdString(d->label);
    QDir().mkpath(out);
    for (auto _ : state) {
        for (qsizetype i = 0; i < kMonsterFiles.size(); ++i) {
            QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
            const QByteArray bytes = encoder(texts[size_t(i)]);
            QFile file(out + u'/' + kMonsterFiles[i]);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(bytes) != bytes.size() || !file.flush()) {
                state.SkipWithError("encode or write failed");
                return;
            }
            if (sync) ::fdatasync(file.handle());
        }
    }
}
void encodeWriteOnly(benchmark::State& state, const Dataset* d) {
    encodeWrite(state, d, false);
}
void encodeWriteSync(benchmark::State& state, const Dataset* d) {
    encodeWrite(state, d, true);
}

void registerBenchmarks() {
    using Fn = void (*)(benchmark::State&, const Dataset*);
    const std::pair<const char*, Fn> steps[] = {
        {"DecodeMonsterFiles", decodeMonsters},
        {"WindowOnly", buildWindow},
        {"StartUp", startUp},
        {"ShowAnotherMonster", showMonsters},
        {"DecodeItemFiles", decodeItems},
        {"ItemLoad", itemLoad},
        {"Update", updates},
        {"UpdateChangingNoJournal", unjournaledUpdates},
        {"UpdateChangingJournaled", journaledUpdates},
        {"Save", saves},
        {"EncodeWrite", encodeWriteOnly},
        {"EncodeWriteSync", encodeWriteSync},
    };
    for (const Dataset& d : datasets()) {
        for (const auto& [name, fn] : steps) {
            auto* b =
                benchmark::RegisterBenchmark((std::string(name) + "/" + d.label).c_str(), fn, &d);
            b->UseRealTime();
            const bool fine = fn == showMonsters || fn == updates || fn == journaledUpdates ||
                              fn == unjournaledUpdates;
            b->Unit(fine ? benchmark::kMicrosecond : benchmark::kMillisecond);
            if (fn == itemLoad || fn == startUp) b->MinTime(0.5);
        }
    }
}

// Run in a process of its own, since a peak never goes down again: the empty window, then the
// start on `folder`, the item load, an update and a save. Prints both peaks.
int memoryProbe(const QString& folder) {
    auto empty = windowOnly(folder);
    const qint64 before = peakResident();
    empty.reset();
    auto window = startWindow(folder);
    loadItems(itemLoadButton(*window));
    update(updateButton(*window));
    save(saveEntry(*window));
    std::printf("%lld %lld\n", static_cast<long long>(before),
                static_cast<long long>(peakResident()));
    return 0;
}

bool reportMemory(const char* self) {
    bool met = true;
    std::printf("\n%-20s %12s %12s %12s %7s  %s\n", "peak memory", "decoded MB", "window MB",
                "beyond MB", "ratio", "target");
    for (const Dataset& d : datasets()) {
        // the probe saves: give it a copy of its own
        const QString copy = scratch().path() + u"/memory-"_s + QString::fromStdString(d.label);
        copyFolder(d.folder, copy);
        QProcess probe;
        probe.start(QString::fromLocal8Bit(self), {u"--memory-probe"_s, copy});
        probe.waitForFinished(-1);
        const QList<QByteArray> out = probe.readAllStandardOutput().trimmed().split(' ');
        if (probe.exitCode() != 0 || out.size() != 2) {
            std::printf("%-20s probe failed\n", d.label.c_str());
            met = false;
            continue;
        }
        const double window = out[0].toDouble(), peak = out[1].toDouble();
        const double ratio = (peak - window) / double(d.decodedBytes);
        const bool ok = ratio <= 2.5;
        met = met && (d.label != "30000" || ok);
        std::printf("%-20s %12.1f %12.1f %12.1f %7.2f  <= 2.5 %s\n", d.label.c_str(),
                    double(d.decodedBytes) / 1e6, window / 1e6, (peak - window) / 1e6, ratio,
                    ok ? "met" : "MISSED");
    }
    return met;
}

bool printRatios(const BestTimes& t) {
    bool met = true;
    auto name = [](const char* step, const Dataset& d) {
        return std::string(step) + "/" + d.label;
    };
    auto both = [&](const char* label, double realNum, double realDen, double cpuNum, double cpuDen,
                    double limit, bool byCpu, bool judged) {
        const bool missing = realNum < 0 || realDen <= 0 || cpuNum < 0 || cpuDen <= 0;
        const bool ok = BestTimes::printRatio(label, missing ? -1 : realNum / realDen,
                                              missing ? -1 : cpuNum / cpuDen, limit, byCpu);
        if (judged) met = met && ok;
    };
    BestTimes::printRatioHeading();
    const Dataset* small = nullptr;
    for (const Dataset& d : datasets()) {
        if (d.label == "300") small = &d;
    }
    for (const Dataset& d : datasets()) {
        const bool judged = d.label == "30000";
        const std::string at = " (" + d.label + ")";
        auto r = [&](const char* s) { return t.real(name(s, d)); };
        auto c = [&](const char* s) { return t.cpu(name(s, d)); };
        if (r("StartUp") >= 0 && r("WindowOnly") >= 0 &&
            (r("StartUp") <= r("WindowOnly") || c("StartUp") <= c("WindowOnly"))) {
            // a start-up whose work beyond the window is lost in the window's own variation
            std::printf("%-52s  below the variation of building the window\n",
                        ("start-up beyond the window / decode" + at).c_str());
        } else {
            both(("start-up beyond the window / decode" + at).c_str(),
                 r("StartUp") - r("WindowOnly"), r("DecodeMonsterFiles"),
                 c("StartUp") - c("WindowOnly"), c("DecodeMonsterFiles"), 2.0, true, judged);
        }
        both(("item load / decode item files" + at).c_str(), r("ItemLoad"), r("DecodeItemFiles"),
             c("ItemLoad"), c("DecodeItemFiles"), 2.0, true, judged);
        both(("save / encode and write, sync excluded" + at).c_str(), r("Save"), r("EncodeWrite"),
             c("Save"), c("EncodeWrite"), 2.0, true, judged);
        both(("save / encode, write and sync" + at).c_str(), r("Save"), r("EncodeWriteSync"),
             c("Save"), c("EncodeWriteSync"), 0, false, false);
        if (small && &d != small) {
            both(("showing a monster, " + d.label + " / 300").c_str(), r("ShowAnotherMonster"),
                 t.real(name("ShowAnotherMonster", *small)), c("ShowAnotherMonster"),
                 t.cpu(name("ShowAnotherMonster", *small)), 1.5, true, judged);
        }
    }
    return met;
}

}  // namespace

}  // namespace mdb::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--memory-probe") == 0) {
        return mdb::bench::memoryProbe(QString::fromLocal8Bit(argv[2]));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    mdb::bench::makeDatasets();
    mdb::bench::registerBenchmarks();
    mdb::bench::BestTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bool met = mdb::bench::printRatios(reporter);
    met = mdb::bench::reportMemory(argv[0]) && met;
    benchmark::Shutdown();
    return met ? 0 : 2;
}
