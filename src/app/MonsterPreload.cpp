#include "app/MonsterPreload.h"

#include <QThread>
#include <system_error>

#include "storage/DatabaseFiles.h"
#include "storage/FileIdentity.h"

namespace mdb {

MonsterPreload::MonsterPreload(const QDir& dir)
    : absolutePath_(dir.absolutePath()), db_(std::make_unique<MonsterDatabase>()) {
    // Qt takes the first thread that asks for its thread data for the main thread, and the
    // application object refuses any other: this one asks before the reader could.
    QThread::currentThread();
    // The reader gets a folder of its own, made from a copy of the path: a QDir shares its
    // lazily filled parts between copies, and this one stays with the caller.
    auto read = [path = QString(absolutePath_), db = db_.get()] {
        return loadMonsterDatabase(QDir(path), *db);
    };
    try {
        reading_ = std::async(std::launch::async, read);
    } catch (const std::system_error&) {
        // no thread to be had: the files are read when the window asks for them
        reading_ = std::async(std::launch::deferred, read);
    }
}

MonsterPreload::~MonsterPreload() {
    if (reading_.valid()) reading_.wait();
}

bool MonsterPreload::holds(const QDir& dir) const {
    return !taken_ && dir.absolutePath() == absolutePath_;
}

void MonsterPreload::wait() {
    if (finished_) return;
    // a failure the reader could not turn into an error value (no memory) surfaces here, as it
    // would have from a load on this thread
    error_ = reading_.get();
    finished_ = true;
}

bool MonsterPreload::readAsTheFilesAreNow() {
    wait();
    if (error_) return false;
    const QDir dir(absolutePath_);
    for (const Table* table : db_->saveOrder()) {
        const FileIdentity read{table->name(), table->sourceSize(), 0, table->sourceHash()};
        if (!identityOnDisk(dir, table->name()).sameContent(read)) return false;
    }
    return true;
}

std::optional<StorageError> MonsterPreload::moveInto(MonsterDatabase& db) {
    wait();
    taken_ = true;
    db.takeLoaded(*db_);
    return error_;
}

void MonsterPreload::discard() {
    wait();
    taken_ = true;
    // a new, empty database: clearing the tables would keep their room
    db_ = std::make_unique<MonsterDatabase>();
}

}  // namespace mdb
