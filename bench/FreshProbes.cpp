#include "FreshProbes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "LargeDatabase.h"
#include "PeakMemory.h"
#include "ProbeSteps.h"
#include "app/MainWindow.h"
#include "ui/controls/MessageSink.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

namespace {

RecordingMessageSink& sink() {
    static RecordingMessageSink messages;
    return messages;
}

std::unique_ptr<MainWindow> startedWindow(const QString& folder) {
    auto window = std::make_unique<MainWindow>(QDir(folder), sink());
    if (window->startUp() != MainWindow::StartResult::Started) {
        std::fprintf(stderr, "the window did not start on %s\n", qPrintable(folder));
        std::exit(1);
    }
    return window;
}

// A control of the window by its object name, looked up before a step is timed.
template <class T>
T* named(MainWindow& window, const QString& objectName) {
    T* found = window.findChild<T*>(objectName);
    if (!found) {
        std::fprintf(stderr, "no control %s\n", qPrintable(objectName));
        std::exit(1);
    }
    return found;
}

void checkQuiet(const char* step) {
    for (const auto& m : sink().messages) {
        if (m.isWarning) {
            std::fprintf(stderr, "%s reported: %s\n", step, qPrintable(m.text));
            std::exit(1);
        }
    }
}

// One field changed, then the update: what a user's update costs.
double updateWithEdit(MainWindow& window, int round) {
    QLineEdit* hp = window.findChild<QLineEdit*>(u"Text1(2)"_s);
    // a value the box does not hold already, or the update would change nothing
    QString value = QString::number(1000 + round);
    if (hp->text() == value) value = QString::number(2000 + round);
    hp->setText(value);
    QPushButton* update = named<QPushButton>(window, u"Command1"_s);
    const qint64 t = nowNs();
    update->click();
    const double spent = ms(t, nowNs());
    const qint32 record = window.findChild<QLineEdit*>(u"Text0"_s)->text().toInt() + 1;
    if (window.database().StatusTable.field(record, StatusField::Hp) != value) {
        std::fprintf(stderr, "the update did not store the changed field\n");
        std::exit(1);
    }
    return spent;
}

// A copy of the database in `scratch`, for a probe that updates and saves: the folder measured
// (the real data, a user's folder) is never written. QFile::copy moves the bytes in small
// blocks, so the copy adds nothing to the probe's own peak memory.
QString copyOf(const QString& folder, const QTemporaryDir& scratch) {
    QDir source(folder);
    for (const QString& file : source.entryList(QDir::Files)) {
        // the copy may be saved even where the source is read-only
        if (!QFile::copy(source.filePath(file), scratch.filePath(file)) ||
            !QFile::setPermissions(scratch.filePath(file),
                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(source.filePath(file)));
            std::exit(1);
        }
    }
    return scratch.path();
}

// The seed of the random switches: the driver gives each round its own.
quint32 probeSeed() {
    bool given = false;
    const uint seed = qEnvironmentVariableIntValue("MDB_PROBE_SEED", &given);
    return given ? seed : 42;
}

}  // namespace

int runProbe(const QString& mode, const QString& given, qint64 processStartNs,
             MonsterPreload* preload) {
    const bool saves = mode == u"steps"_s || mode == u"memory"_s || mode == u"memory-items"_s;
    std::optional<QTemporaryDir> scratch;  // made only where needed: start-up counts every step
    if (saves) scratch.emplace();
    const QString folder = saves ? copyOf(given, *scratch) : given;
    if (mode == u"bare"_s) {
        // what every Qt Widgets program with this menu bar pays until its first paint
        QMainWindow window;
        for (const QString& title :
             {u"ファイル"_s, u"機能"_s, u"for Professional"_s, u"その他"_s}) {
            window.menuBar()->addMenu(title)->addAction(title);
        }
        window.resize(640, 480);
        FirstPaint paint(&window);
        window.show();
        paint.wait();
        std::printf("%.3f\n", ms(processStartNs, nowNs()));
        return 0;
    }
    if (mode == u"startup"_s) {
        auto window = std::make_unique<MainWindow>(QDir(folder), sink());
        const qint64 built = nowNs();
        if (window->startUp(preload) != MainWindow::StartResult::Started) return 1;
        const qint64 loaded = nowNs();
        FirstPaint paint(window.get());
        window->show();
        paint.wait();
        // whole start, of which the window's construction, of which the load step
        std::printf("%.3f %.3f %.3f\n", ms(processStartNs, nowNs()), ms(processStartNs, built),
                    ms(built, loaded));
        return 0;
    }
    if (mode == u"decode-items"_s) {
        // a fresh ICU decode of the three item files, read from the disk cache
        const qint64 t = nowNs();
        qint64 chars = 0;
        for (const QString& file :
             {u"item_consume_db.txt"_s, u"item_drop_db.txt"_s, u"item_equip_db.txt"_s}) {
            QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
            const QString text = decoder(readOrDie(folder + u'/' + file));
            chars += decoder.hasError() ? -1 : text.size();
        }
        std::printf("%.3f %lld\n", ms(t, nowNs()), static_cast<long long>(chars));
        return 0;
    }
    if (mode == u"items"_s) {
        // The item load and the monster switches after it, as a user meets them: the window is
        // shown and paints what each step changed before the next step, so that a later switch
        // finds the processor's caches as a user's does, after a paint, and not as a loop of
        // switches no user makes leaves them. The switch figures leave the paint out; the last
        // two add it. The driver seeds each round anew: with one seed, the first switch after
        // the load went to the same monster in every round.
        auto window = startedWindow(folder);
        FirstPaint painted(window.get());
        window->show();
        painted.wait();
        QRandomGenerator random(probeSeed());
        // a few switches first, so that the first one after the load does not also pay for
        // what any first switch pays (the fonts of the names it shows, the key indexes)
        for (int i = 0; i < 8; ++i) {
            randomSwitch(*window, random);
            paintPending();
        }
        QPushButton* itemLoad = named<QPushButton>(*window, u"Command2"_s);
        const qint64 t = nowNs();
        itemLoad->click();
        const double load = ms(t, nowNs());
        checkQuiet("the item load");
        paintPending();
        const double first = randomSwitch(*window, random);
        const double firstPainted = first + paintPending();
        std::vector<double> later, laterPainted;
        for (int i = 0; i < 15; ++i) {
            later.push_back(randomSwitch(*window, random));
            laterPainted.push_back(later.back() + paintPending());
        }
        std::printf("%.3f %.3f %.3f %.3f %.3f\n", load, first, median(later), firstPainted,
                    median(laterPainted));
        return 0;
    }
    if (mode == u"steps"_s) {
        // every interactive step, several times each: median and slowest
        auto window = startedWindow(folder);
        FirstPaint paint(window.get());
        window->show();
        paint.wait();
        QRandomGenerator random(7);
        auto report = [](const char* name, const std::vector<double>& v) {
            std::printf("%s %.3f %.3f\n", name, median(v),
                        v.empty() ? -1 : *std::max_element(v.begin(), v.end()));
        };
        std::vector<double> v;
        for (int i = 0; i < 20; ++i) v.push_back(randomSwitch(*window, random));
        report("switch", v);
        v.clear();
        QLineEdit* nameSearch = window->findChild<QLineEdit*>(u"Text10"_s);
        for (const QString& typed : {u"P"_s, u"PO"_s, u"POR"_s, u"PORI"_s, u"Z"_s, u"ZZ"_s,
                                     u"ZZQ"_s, u"河"_s, u"河童"_s, u"x"_s}) {
            nameSearch->clear();
            const qint64 t = nowNs();
            nameSearch->setText(typed);
            v.push_back(ms(t, nowNs()));
        }
        report("search-key", v);
        v.clear();
        for (int i = 0; i < 9; ++i) {
            randomSwitch(*window, random);
            v.push_back(updateWithEdit(*window, i));
        }
        report("update", v);
        v.clear();
        QAction* save = named<QAction>(*window, u"MunFileSave"_s);
        for (int i = 0; i < 3; ++i) {
            const qint64 t = nowNs();
            save->trigger();
            v.push_back(ms(t, nowNs()));
            updateWithEdit(*window, 100 + i);
        }
        checkQuiet("the save");
        report("save", v);
        v.clear();
        for (int i = 0; i < 4; ++i) {
            for (QAction* key : {named<QAction>(*window, u"mnuStatMenu"_s),
                                 named<QAction>(*window, u"mnuMenu2"_s)}) {
                const qint64 t = nowNs();
                key->trigger();
                QCoreApplication::processEvents();
                v.push_back(ms(t, nowNs()));
            }
        }
        report("F1/F2", v);
        v.clear();
        QPushButton* itemLoad = named<QPushButton>(*window, u"Command2"_s);
        const qint64 t = nowNs();
        itemLoad->click();
        v.push_back(ms(t, nowNs()));
        checkQuiet("the item load");
        report("item-load", v);
        return 0;
    }
    if (mode == u"memory"_s || mode == u"memory-items"_s) {
        // the empty window's peak, then a run's: start, (items,) an update that changes a
        // field, a save; the folder is a copy the save may overwrite
        auto empty = std::make_unique<MainWindow>(QDir(folder), sink());
        const qint64 before = peakResident();
        empty.reset();
        auto window = startedWindow(folder);
        if (mode == u"memory-items"_s) named<QPushButton>(*window, u"Command2"_s)->click();
        updateWithEdit(*window, 1);
        named<QAction>(*window, u"MunFileSave"_s)->trigger();
        checkQuiet("the run");
        std::printf("%lld %lld\n", static_cast<long long>(before),
                    static_cast<long long>(peakResident()));
        return 0;
    }
    std::fprintf(stderr, "unknown probe %s\n", qPrintable(mode));
    return 2;
}

qint64 processStartNs() {
    return nowNs();
}

}  // namespace mdb::bench
