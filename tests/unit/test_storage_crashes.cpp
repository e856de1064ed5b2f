// A save killed before or after any one of its steps, as a crash or a power cut would stop it:
// every file holds its whole old or whole new content once the next start has put back the
// files that were being rewritten in place, the database loads, and the next save removes the
// temporary files the crash left.

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

#include "storage/DatabaseFiles.h"
#include "storage/FileIo.h"
#include "storage/RecoveryCopy.h"
#include "storage/SafeWrite.h"
#include "storage/StateFolder.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {

void setAll(MonsterDatabase& db, const QString& value) {
    for (Table* t : db.loadOrder()) ASSERT_TRUE(t->setField(1, t->fieldCount(), value));
}

// Runs a save in a child process that is killed at its `point`-th step boundary (before or
// after one step). True when the child was killed, false when the save ran to its end first.
bool saveKilledAt(const QDir& dir, const MonsterDatabase& db, int point, bool inPlace) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int seen = 0;
        fileio::setStepHook([&](fileio::Op, bool) {
            if (++seen == point) ::raise(SIGKILL);
        });
        // a folder that takes no temporary file: the files are rewritten in place
        if (inPlace) {
            fileio::setFaultHook(
                [](fileio::Op op) { return op == fileio::Op::OpenTemp ? EACCES : 0; });
        }
        const bool failed = bool(saveMonsterDatabase(dir, db));
        ::_exit(failed ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the save failed without a crash";
        return false;
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Makes the temporary files a crash left look older than this process, as they are to the
// next run of the editor.
void ageStrays(const QDir& dir) {
    for (const QString& name : dir.entryList({u".*.tmp"_s}, QDir::Files | QDir::Hidden)) {
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, 0);
    }
}

struct Count {
    int kills = 0;
    int restored = 0;
    int strays = 0;
    int violations = 0;
};

void killEverywhere(bool inPlace, bool growing, Count& count) {
    QTemporaryDir tmp(scratchTemplate(u"mdb-crash"_s));
    const QDir dir(tmp.path());
    writeSmallDatabaseOfSevenRecords(dir);
    // long and short last fields; a shrink by the length of the last line's end is the case
    // where a file not cut to length reads as a record written twice
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    setAll(db, u"1234567890123456789012345678901234567890"_s);
    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    const std::vector<QByteArray> longFiles = allFiles(dir, db);
    setAll(db, u"7"_s);
    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    const std::vector<QByteArray> shortFiles = allFiles(dir, db);
    const std::vector<QByteArray>& oldFiles = growing ? shortFiles : longFiles;
    const std::vector<QByteArray>& newFiles = growing ? longFiles : shortFiles;

    putFiles(dir, db, oldFiles);
    MonsterDatabase toSave;
    ASSERT_FALSE(loadMonsterDatabase(dir, toSave));
    setAll(toSave, growing ? u"1234567890123456789012345678901234567890"_s : u"7"_s);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    const QRegularExpression stray(u"^\\.[a-z_]+\\.txt\\.[0-9a-f]{8}\\.tmp$"_s);
    const auto order = toSave.saveOrder();
    auto violated = [&](const std::string& what) {
        ++count.violations;
        ADD_FAILURE() << what;
    };

    for (int point = 1;; ++point) {
        putFiles(dir, toSave, oldFiles);
        const bool killed = saveKilledAt(dir, toSave, point, inPlace);
        const std::string where = (inPlace ? "in place" : "replacing") +
                                  std::string(growing ? ", growing" : ", shrinking") +
                                  ", kill point " + std::to_string(point);
        if (!killed) {
            if (allFiles(dir, toSave) != newFiles) violated("save incomplete, " + where);
            break;
        }
        ++count.kills;
        // the next start
        const RestoreReport report = restoreInterruptedRewrites(dir);
        if (report.failure) violated("restore failed, " + where);
        count.restored += int(report.restored.size());
        const std::vector<QByteArray> now = allFiles(dir, toSave);
        for (size_t i = 0; i < order.size(); ++i) {
            if (now[i] != oldFiles[i] && now[i] != newFiles[i]) {
                violated(order[i]->name().toStdString() + " is neither old nor new, " + where);
            }
        }
        MonsterDatabase next;
        if (loadMonsterDatabase(dir, next)) violated("the database does not load, " + where);
        const QString copies = existingStateFolder(u"recovery"_s);
        if (!copies.isEmpty() && !QDir(copies).entryList(QDir::Files | QDir::Hidden).isEmpty()) {
            violated("a recovery copy stayed, " + where);
        }
        // what the crash left beside the database is the save's own, and the next save takes it
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
            if (names.contains(name)) continue;
            ++count.strays;
            if (!stray.match(name).hasMatch()) violated("a strange file " + name.toStdString());
        }
        ageStrays(dir);
        if (saveMonsterDatabase(dir, toSave)) violated("the next save failed, " + where);
        if (dir.entryList(QDir::Files | QDir::Hidden) != names) {
            violated("a temporary file outlived the next save, " + where);
        }
    }
}

}  // namespace

TEST(StorageCrashes, AKillBeforeOrAfterAnyStepOfASaveLeavesEveryFileOldOrNew) {
    // the recovery copies in memory too, so that hundreds of kills need not wait for the disk
    QTemporaryDir state(scratchTemplate(u"mdb-crash"_s));
    const QByteArray previous = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    Count replacing, inPlace;
    for (const bool growing : {true, false}) {
        killEverywhere(false, growing, replacing);
        killEverywhere(true, growing, inPlace);
    }
    qputenv("XDG_STATE_HOME", previous);
    std::printf("replacing: %d kills, %d temporary files left and removed by the next save\n",
                replacing.kills, replacing.strays);
    std::printf("in place: %d kills, %d files put back from their recovery copies\n", inPlace.kills,
                inPlace.restored);
    EXPECT_EQ(replacing.violations + inPlace.violations, 0);
    // every step of seven files, before and after it, both ways
    EXPECT_GE(replacing.kills, 2 * 2 * 7 * 5);
    EXPECT_GE(inPlace.kills, 2 * 2 * 7 * 10);
    EXPECT_GT(replacing.strays, 0);
    EXPECT_GT(inPlace.restored, 0);
}

// A rewrite in place that finds the copy an earlier, damaged rewrite of the same file left keeps
// it: it holds the file's last whole content, which a failure puts back, not the damage.
TEST(StorageCrashes, ARewriteAfterADamagedOneKeepsTheEarlierCopyOfTheWholeFile) {
    QTemporaryDir tmp(scratchTemplate(u"mdb-crash"_s));
    const QDir dir(tmp.path());
    const QString file = dir.filePath(u"e.txt"_s);
    const QByteArray whole = "PORING,IDLE_ST,2\r\nFABRE,DEAD_ST,5\r\n";
    const KeptCopy earlier =
        keepRecoveryCopy(dir, QFile::encodeName(file), whole, "PORING,IDLE_ST,3\r\n");
    ASSERT_EQ(earlier.error, 0);
    writeBytes(file, "PORING,IDLE_ST,3\r\nFABRE,DEAD_ST,5\r\n");  // the damage

    // the write of the file itself fails: the first after its space is reserved
    const QByteArray longer = "LUNATIC,IDLE_ST,9\r\n" + whole;
    bool reserved = false;
    fileio::setFaultHook([&](fileio::Op op) {
        if (op == fileio::Op::OpenTemp) return EACCES;
        if (op == fileio::Op::Allocate) reserved = true;
        return op == fileio::Op::Write && reserved ? EIO : 0;
    });
    const auto failed = writeWholeFile(dir, u"e.txt"_s, longer);
    fileio::setFaultHook({});
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->inPlace);
    EXPECT_FALSE(failed->damaged);
    EXPECT_EQ(readBytes(file), whole);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(earlier.path)));

    // with nothing left over, the next rewrite goes through and leaves no copy
    ASSERT_FALSE(writeWholeFile(dir, u"e.txt"_s, longer));
    EXPECT_EQ(readBytes(file), longer);
}
