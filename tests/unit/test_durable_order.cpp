// What must be on the disk before the next step may run. A killed process keeps the page cache,
// so the crash tests cannot see a missing sync: the order of the steps is checked instead.
#include <errno.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "storage/FileIo.h"
#include "storage/Journal.h"
#include "storage/SafeWrite.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace Qt::StringLiterals;
using Op = fileio::Op;

namespace {

using Steps = std::vector<std::pair<Op, bool>>;

// Records every step the file layer takes while `run` runs.
Steps stepsOf(const std::function<void()>& run) {
    Steps steps;
    const auto previous =
        fileio::setStepHook([&](Op op, bool done) { steps.emplace_back(op, done); });
    run();
    fileio::setStepHook(previous);
    return steps;
}

// The index of the last step `op` (finished when `done`) before `end`; -1 when none.
int lastBefore(const Steps& steps, Op op, bool done, size_t end) {
    for (size_t i = std::min(end, steps.size()); i-- > 0;) {
        if (steps[i] == std::pair(op, done)) return int(i);
    }
    return -1;
}

}  // namespace

TEST(DurableOrder, AJournalEntryIsSyncedBeforeTheUpdateReturnsAndAFailedOneIsCutOff) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Journal journal(dir.filePath(u"db.journal"_s));
    ASSERT_FALSE(journal.start(u"/db"_s, {}));
    const JournalUpdate update{{u"mob_stat_db.txt"_s, 2, 5, u"321"_s, u"4321"_s, u"1001"_s, true}};

    const Steps steps = stepsOf([&] { ASSERT_FALSE(journal.appendUpdate(update)); });
    const int write = lastBefore(steps, Op::WriteJournal, true, steps.size());
    ASSERT_GE(write, 0);
    EXPECT_GT(lastBefore(steps, Op::SyncJournal, true, steps.size()), write)
        << "the entry is not synced before the append returns";

    // an entry whose sync fails is no entry: the update is told it was not kept, and the
    // journal holds the entries before it, whole
    fileio::setFaultHook([](Op op) { return op == Op::SyncJournal ? EIO : 0; });
    EXPECT_TRUE(journal.appendUpdate(update));
    fileio::setFaultHook({});
    const JournalContents read = readJournal(mdb::testing::readBytes(journal.path()));
    EXPECT_FALSE(read.torn);
    EXPECT_EQ(read.updates.size(), 1u);
}

TEST(DurableOrder, ARecoveryCopyIsOnTheDiskBeforeTheFileChangesAndGoesOnlyOnceItIsSynced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    mdb::testing::writeBytes(dir.filePath(u"e.txt"_s), "PORING,IDLE_ST,2\r\n");
    // a folder that takes no temporary file: the file is rewritten in place
    fileio::setFaultHook([](Op op) { return op == Op::OpenTemp ? EACCES : 0; });
    const Steps steps = stepsOf([&] {
        ASSERT_FALSE(writeWholeFile(QDir(dir.path()), u"e.txt"_s, "LUNATIC,IDLE_ST,9\r\n"));
    });
    fileio::setFaultHook({});
    ASSERT_EQ(mdb::testing::readBytes(dir.filePath(u"e.txt"_s)), "LUNATIC,IDLE_ST,9\r\n");

    // the copy: written, synced and put in place (its folder synced) before the file's first
    // byte is overwritten
    const auto at = [&](Op op, bool done) {
        const auto found = std::find(steps.begin(), steps.end(), std::pair(op, done));
        return found == steps.end() ? -1 : int(found - steps.begin());
    };
    const int copied = at(Op::OpenCopy, true);
    const int resized = at(Op::Resize, false);
    ASSERT_GE(copied, 0);
    ASSERT_GE(resized, 0);
    const int fileWrite = lastBefore(steps, Op::Write, false, size_t(resized));
    EXPECT_GT(lastBefore(steps, Op::SyncFolder, true, size_t(fileWrite)), copied);
    EXPECT_GT(lastBefore(steps, Op::Sync, true, size_t(fileWrite)), copied);

    // and removed only after the file's new content is synced
    const int removed = at(Op::Remove, false);
    ASSERT_GE(removed, 0);
    EXPECT_GT(lastBefore(steps, Op::Sync, true, size_t(removed)), resized)
        << "the recovery copy goes before the new content is on the disk";
}
