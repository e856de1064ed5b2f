// Every step of a save and of an append made to fail in turn, as a full disk or a failing
// device would: the files must always hold their whole old or whole new content, no temporary
// file may stay behind, and every failure must be reported.

#include <errno.h>
#include <gtest/gtest.h>
#include <string.h>
#include <sys/mount.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "storage/ChunkedOutput.h"
#include "storage/DatabaseFiles.h"
#include "storage/FileIdentity.h"
#include "storage/FileIo.h"
#include "storage/RecordWriter.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {

// Fails the n-th operation with a fault point, and with `fromThenOn` every later one too, as a
// disk that has filled up does.
struct Injection {
    int failAt = 0;
    int error = ENOSPC;
    bool fromThenOn = false;
    int calls = 0;
    int operator()(fileio::Op) {
        ++calls;
        return calls == failAt || (fromThenOn && calls > failAt) ? error : 0;
    }
};

class HookScope {
public:
    explicit HookScope(fileio::FaultHook hook) : previous_(fileio::setFaultHook(std::move(hook))) {}
    ~HookScope() { fileio::setFaultHook(std::move(previous_)); }

private:
    fileio::FaultHook previous_;
};

struct Mode {
    int error;
    bool fromThenOn;
};
const Mode kModes[] = {{ENOSPC, false}, {ENOSPC, true}, {EIO, false}, {EIO, true}};

struct Tally {
    int injections = 0;
    int filesChecked = 0;
    int violations = 0;
    void violated(const std::string& what) {
        ++violations;
        ADD_FAILURE() << what;
    }
};

// Runs a whole-database save with the n-th operation failing, for every n until a save goes
// through; `denyTemp` makes the folder refuse temporary files, as a folder without write
// permission does.
void injectIntoSaves(bool denyTemp, Tally& tally) {
    QTemporaryDir tmp(scratchTemplate(u"mdb-faults"_s));
    const QDir dir(tmp.path());
    writeSmallDatabaseOfSevenRecords(dir);
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    const std::vector<QByteArray> oldFiles = allFiles(dir, db);
    // a change in every table, so that old and new content differ in every file
    for (Table* t : db.loadOrder()) {
        ASSERT_TRUE(t->setField(1, t->fieldCount(), u"77"_s)) << t->name().toStdString();
    }
    QTemporaryDir reference(scratchTemplate(u"mdb-faults"_s));
    ASSERT_FALSE(saveMonsterDatabase(QDir(reference.path()), db));
    const std::vector<QByteArray> newFiles = allFiles(QDir(reference.path()), db);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    const auto order = db.saveOrder();

    for (const Mode& mode : kModes) {
        for (int n = 1;; ++n) {
            putFiles(dir, db, oldFiles);
            Injection injection{n, mode.error, mode.fromThenOn};
            std::optional<StorageError> error;
            {
                HookScope scope([&](fileio::Op op) {
                    if (denyTemp && op == fileio::Op::OpenTemp) return EACCES;
                    return injection(op);
                });
                error = saveMonsterDatabase(dir, db);
            }
            const bool injected = injection.calls >= n;
            const std::string where = "n=" + std::to_string(n) +
                                      " error=" + std::to_string(mode.error) +
                                      (mode.fromThenOn ? " from then on" : " once");
            if (!injected) {
                if (error) tally.violated("no fault, yet the save failed at " + where);
                if (allFiles(dir, db) != newFiles) tally.violated("save incomplete at " + where);
                break;
            }
            ++tally.injections;
            if (!error) {
                // a step that failed only once may leave a way round it (the rewrite in place)
                if (allFiles(dir, db) != newFiles) {
                    tally.violated("a failed save reported success at " + where);
                }
                continue;
            }
            if (error->kind != ErrorKind::WriteFailed || error->detail.isEmpty() ||
                error->damaged) {
                tally.violated("unclear or damaging failure at " + where);
            }
            // before the failing file every file is new, after it every one is old
            bool reached = false;
            for (size_t i = 0; i < order.size(); ++i) {
                ++tally.filesChecked;
                const bool failing = order[i]->name() == error->fileName;
                reached = reached || failing;
                const QByteArray& want =
                    !reached || (failing && error->replaced) ? newFiles[i] : oldFiles[i];
                if (readBytes(dir.filePath(order[i]->name())) != want) {
                    tally.violated(order[i]->name().toStdString() + " neither whole at " + where);
                }
            }
            if (!reached) tally.violated("the failure names no database file at " + where);
            if (dir.entryList(QDir::Files | QDir::Hidden) != names) {
                tally.violated("a temporary file stayed at " + where);
            }
        }
    }
}

}  // namespace

TEST(StorageFaults, EveryFailingStepOfASaveKeepsEachFileWholeAndIsReported) {
    Tally tally;
    injectIntoSaves(false, tally);
    const int replacing = tally.injections;
    injectIntoSaves(true, tally);
    std::printf(
        "save: %d injections (%d through a temporary file, %d in place), %d files "
        "checked, %d violations\n",
        tally.injections, replacing, tally.injections - replacing, tally.filesChecked,
        tally.violations);
    // every kind of step was among them: 7 files of 7 steps each, 4 ways of failing
    EXPECT_GE(replacing, 4 * 7 * 7);
    EXPECT_EQ(tally.violations, 0);
}

TEST(StorageFaults, EveryFailingStepOfAnAppendLeavesTheFileAsItWas) {
    QTemporaryDir tmp(scratchTemplate(u"mdb-faults"_s));
    const QDir dir(tmp.path());
    const QString path = dir.filePath(u"mob_emote_db.txt"_s);
    const QByteArray old = "PORING,IDLE_ST,2\r\nFABRE,DEAD_ST,5";
    const QByteArray whole = old + "\r\nLUNATIC,IDLE_ST,9\r\n";
    Tally tally;
    for (const Mode& mode : kModes) {
        for (int n = 1;; ++n) {
            writeBytes(path, old);
            Injection injection{n, mode.error, mode.fromThenOn};
            std::optional<StorageError> error;
            {
                HookScope scope(std::ref(injection));
                error = appendRecordLine(dir, u"mob_emote_db.txt"_s,
                                         {u"LUNATIC"_s, u"IDLE_ST"_s, u"9"_s});
            }
            ++tally.filesChecked;
            const QByteArray now = readBytes(path);
            if (injection.calls < n) {
                if (error || now != whole) tally.violated("append without a fault failed");
                break;
            }
            ++tally.injections;
            if (!error || error->detail.isEmpty() || error->damaged) {
                tally.violated("append fault " + std::to_string(n) + " not reported");
            }
            if (now != old) tally.violated("append fault " + std::to_string(n) + " left bytes");
            if (dir.entryList(QDir::Files | QDir::Hidden).size() != 1) tally.violated("litter");
        }
    }
    std::printf("append: %d injections, %d files checked, %d violations\n", tally.injections,
                tally.filesChecked, tally.violations);
    EXPECT_GE(tally.injections, 4 * 4);  // open, read, write, sync, close
    EXPECT_EQ(tally.violations, 0);
}

// The same on a real file system that fills up: a small tmpfs, when this run may mount one.
TEST(StorageFaults, FullSmallFileSystemKeepsTheOldFilesAndSaysWhy) {
    QTemporaryDir mountPoint;
    const QByteArray where = QFile::encodeName(mountPoint.path());
    if (::mount("tmpfs", where.constData(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here: " << ::strerror(errno);
    }
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{where};
    const QDir dir(mountPoint.path());
    writeSmallDatabase(dir);
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    const auto before = allFiles(dir, db);
    // a status file of several pages, so that the disk fills in the middle of writing it
    ASSERT_TRUE(db.StatusTable.setField(2, StatusField::DisplayName, QString(12000, u'x')));

    // Fills the disk up to its last `pages` pages.
    auto fillDisk = [&](int pages) {
        QFile filler(dir.filePath(u"filler"_s));
        ASSERT_TRUE(filler.open(QIODevice::Append));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        ASSERT_TRUE(filler.resize(filler.size() / 4096 * 4096 - 4096 * pages));
    };
    fillDisk(1);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    const auto error = saveMonsterDatabase(dir, db);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fileName, u"mob_stat_db.txt"_s);
    EXPECT_EQ(error->systemError, ENOSPC);
    EXPECT_EQ(allFiles(dir, db), before);
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), names);

    // An append that needs a page more than is left gets none of its line in.
    const QString emote = dir.filePath(u"mob_emote_db.txt"_s);
    writeBytes(emote, "A,B," + QByteArray(4086, 'a') + "\r\n");
    fillDisk(0);
    const QByteArray full = readBytes(emote);
    const auto appended =
        appendRecordLine(dir, u"mob_emote_db.txt"_s, {u"PORING"_s, u"IDLE_ST"_s, u"2"_s});
    ASSERT_TRUE(appended);
    EXPECT_EQ(appended->systemError, ENOSPC);
    EXPECT_EQ(readBytes(emote), full);
}

// A save writes each file a piece at a time as it makes the bytes: a write that fails after
// the first pieces of a file have gone into its temporary file leaves the old file whole, stops
// the save there and says why; the identities the save hands back are those of what it wrote.
TEST(StorageFaults, AWriteFailingInTheMiddleOfAFileKeepsTheOldFile) {
    QTemporaryDir tmp(scratchTemplate(u"mdb-faults"_s));
    const QDir dir(tmp.path());
    writeSmallDatabase(dir);
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    const std::vector<QByteArray> oldFiles = allFiles(dir, db);
    // a status file of several pieces, and a change in the drop file after it
    const QString longName = QString(3 * ChunkedOutput::kChunk, u'x') + u"①"_s;
    ASSERT_TRUE(db.StatusTable.setField(2, StatusField::DisplayName, longName));
    ASSERT_TRUE(db.DropTable.setField(1, 2, u"910"_s));
    QByteArray wholeStatus;
    ASSERT_FALSE(encodeTableFaithfully(db.StatusTable, Tables::status(), wholeStatus));
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);

    for (const int error : {EIO, ENOSPC}) {
        int writes = 0;
        std::optional<StorageError> failed;
        std::vector<FileIdentity> written;
        {
            HookScope scope([&](fileio::Op op) {
                return op == fileio::Op::Write && ++writes == 2 ? error : 0;
            });
            failed = saveMonsterDatabase(dir, db, nullptr, &written);
        }
        ASSERT_TRUE(failed) << "a failed write went unnoticed";
        EXPECT_EQ(failed->kind, ErrorKind::WriteFailed);
        EXPECT_EQ(failed->fileName, u"mob_stat_db.txt"_s);
        EXPECT_EQ(failed->systemError, error);
        EXPECT_FALSE(failed->replaced);
        EXPECT_EQ(writes, 2);  // the first piece went in, the save stopped at the second
        EXPECT_TRUE(written.empty());
        EXPECT_EQ(allFiles(dir, db), oldFiles);
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), names);
    }

    // Without the fault the pieces make the file the whole encoding makes, and each identity
    // handed back is that of the file on disk.
    int writes = 0;
    std::vector<FileIdentity> written;
    {
        HookScope scope([&](fileio::Op op) { return op == fileio::Op::Write ? (++writes, 0) : 0; });
        ASSERT_FALSE(saveMonsterDatabase(dir, db, nullptr, &written));
    }
    EXPECT_GE(writes, 4 + 5);  // the status file in pieces, one write for each other file not empty
    EXPECT_EQ(readBytes(dir.filePath(u"mob_stat_db.txt"_s)), wholeStatus);
    ASSERT_EQ(written.size(), db.saveOrder().size());
    for (size_t i = 0; i < written.size(); ++i) {
        const FileIdentity onDisk = identityOnDisk(dir, db.saveOrder()[i]->name());
        EXPECT_EQ(written[i].fileName, onDisk.fileName);
        EXPECT_TRUE(written[i].sameContent(onDisk)) << onDisk.fileName.toStdString();
    }
}
