#pragma once

#include <QDir>
#include <QString>
#include <future>
#include <memory>
#include <optional>

#include "model/MonsterDatabase.h"
#include "storage/StorageError.h"

namespace mdb {

// The seven monster files read on a thread of their own while the window is built (and, where
// the folder is known that early, while Qt itself starts up): a start then waits for the slower
// of the two instead of both one after the other. The thread only reads, into a database of its
// own, and touches no QObject; the window's load step decides whether what it read may be used
// (MainWindow::startUp).
class MonsterPreload {
public:
    // Starts reading the files of `dir` at once. Made on the main thread.
    explicit MonsterPreload(const QDir& dir);
    // Waits for the reading to end: the thread never outlives what it reads into.
    ~MonsterPreload();
    MonsterPreload(const MonsterPreload&) = delete;
    MonsterPreload& operator=(const MonsterPreload&) = delete;

    // Whether this reads the folder `dir` names and has not been handed over yet.
    bool holds(const QDir& dir) const;
    // Waits until the thread has read everything it will (at once when it has).
    void wait();
    // Waits, then tells whether every file was read without a failure and still holds the bytes
    // read. The reading may begin before the single-instance check: an instance that saved
    // while it read and ended before the check must not have its save undone by stale tables.
    bool readAsTheFilesAreNow();
    // Waits, then gives `db` the tables read (MonsterDatabase::takeLoaded) and returns what the
    // load returned, exactly as loadMonsterDatabase on `db` would have. Once only.
    std::optional<StorageError> moveInto(MonsterDatabase& db);
    // Waits, then lets go of what was read and not taken: the window read the files itself,
    // and the preload lives on beside it for the whole run.
    void discard();

private:
    QString absolutePath_;
    std::unique_ptr<MonsterDatabase> db_;
    std::future<std::optional<StorageError>> reading_;
    std::optional<StorageError> error_;
    bool finished_ = false;
    bool taken_ = false;
};

}  // namespace mdb
