#pragma once

#include <QString>

namespace mdb {
class MonsterPreload;
}

namespace mdb::bench {

// The steady clock now, in nanoseconds: taken first thing in main(), before the application
// object, so that a probe counts everything a start pays.
qint64 processStartNs();

// Runs one probe in this fresh process and prints its figures (milliseconds) on one line:
//   bare                 the empty main window with the same four menus, to its first paint
//   startup FOLDER       the editor from the application object to its first paint; also the
//                        window's construction and the load step on their own; the files are
//                        read ahead by `preload`, started before the application object
//   decode-items FOLDER  reading and decoding the three item files
//   items FOLDER         the item load, the first random switch after it, a later one's
//                        median, then the same two switches each with its paint; the window is
//                        shown, and MDB_PROBE_SEED (default 42) seeds the switches
//   steps FOLDER         each interactive step's median and slowest, one line each
//   memory FOLDER        peak memory of the empty window, then of a run with an update that
//   memory-items FOLDER  changes a field and a save (without / with the item load); the folder
//                        is overwritten
int runProbe(const QString& mode, const QString& folder, qint64 processStartNs,
             MonsterPreload* preload = nullptr);

}  // namespace mdb::bench
