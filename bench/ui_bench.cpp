// The main window on a large database (30,000 monsters, 100,000 items), offscreen: how long
// the start takes beside reading the files alone, what one step to the next monster costs, and
// how long the item load takes.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "LargeDatabase.h"
#include "app/MainWindow.h"
#include "storage/DatabaseFiles.h"
#include "ui/controls/MessageSink.h"
#include "ui/status/StatusEditor.h"

namespace mdb::bench {

namespace {

const QDir& folder() {
    static QTemporaryDir* dir = [] {
        auto* d = new QTemporaryDir;
        writeLargeDatabase(d->path());
        return d;
    }();
    return *new QDir(dir->path());
}

std::unique_ptr<MainWindow> startedWindow(RecordingMessageSink& messages) {
    auto window = std::make_unique<MainWindow>(folder(), messages);
    if (window->startUp() != MainWindow::StartResult::Started) {
        std::fprintf(stderr, "the window did not start on the large database\n");
        std::exit(1);
    }
    return window;
}

}  // namespace

// What any start must pay: reading and decoding the seven monster files.
void BM_ReadMonsterFiles(benchmark::State& state) {
    for (auto _ : state) {
        MonsterDatabase db;
        if (loadMonsterDatabase(folder(), db)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(db.StatusTable.Count());
    }
}

// The whole start-up sequence: the files, the shared lists, the code lists, the first monster.
void BM_StartUp(benchmark::State& state) {
    RecordingMessageSink messages;
    for (auto _ : state) {
        auto window = startedWindow(messages);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// One step to the next monster: the form, the lists and the six dependent lookups.
void BM_StepToNextMonster(benchmark::State& state) {
    RecordingMessageSink messages;
    auto window = startedWindow(messages);
    StatusEditor& status = *window->status;
    for (auto _ : state) {
        status.stepNext();
        if (status.Text0->text() == QString::number(MonsterCount)) {
            state.PauseTiming();
            status.Text0->setText(QStringLiteral("1"));
            state.ResumeTiming();
        }
    }
}

// A search that finds nothing: every row of the largest lists is compared.
void BM_IdSearchWithoutMatch(benchmark::State& state) {
    RecordingMessageSink messages;
    auto window = startedWindow(messages);
    int i = 0;
    for (auto _ : state) {
        window->status->Text9->setText(QStringLiteral("x%1").arg(++i));
    }
}

// The item load into the 13 ID lists and 13 name drop-downs.
void BM_LoadItems(benchmark::State& state) {
    RecordingMessageSink messages;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = startedWindow(messages);
        state.ResumeTiming();
        window->Command2->click();
        state.PauseTiming();
        if (!messages.messages.empty()) state.SkipWithError("the item load reported a failure");
        window.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ReadMonsterFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StepToNextMonster)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_IdSearchWithoutMatch)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_LoadItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace mdb::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
