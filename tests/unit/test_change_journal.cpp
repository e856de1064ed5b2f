// What an update changed, undone exactly; the recovery journal written, read and damaged.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "model/ChangeList.h"
#include "storage/DatabaseFiles.h"
#include "storage/Journal.h"
#include "storage/RecordWriter.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

QString sampleDir() {
    return QString::fromUtf8(MDB_SAMPLE_DIR);
}

}  // namespace

TEST(ChangeList, AnUpdateRecordedAndUndoneGivesBackTheBytesRead) {
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(QDir(sampleDir()), db));
    QByteArray original;
    ASSERT_FALSE(encodeTableFaithfully(db.StatusTable, Tables::status(), original));
    const QString hp = db.StatusTable.field(2, StatusField::Hp);

    ChangeSet changes;
    {
        ChangeRecording recording(db);
        db.StatusTable.setField(2, StatusField::Hp, u"4321"_s);
        db.StatusTable.setField(2, StatusField::Name, db.StatusTable.field(2, StatusField::Name));
        db.DropTable.setField(1, 2, u"999"_s);
        db.StatusTable.setField(2, StatusField::Hp, u"55"_s);  // the same field twice
        changes = recording.take();
    }
    // writing a field its own text is no change; the rest are kept in order
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].before, hp);
    EXPECT_EQ(changes[0].after, u"4321"_s);
    EXPECT_EQ(changes[1].table, &db.DropTable);
    EXPECT_EQ(changes[2].before, u"4321"_s);
    // no recording once the scope is gone
    db.MvpTable.setField(1, 2, u"1"_s);
    db.MvpTable.restoreField(1, 2, db.MvpTable.loadedView(1, 2).toString());

    ASSERT_TRUE(applyChanges(reversed(changes)));
    EXPECT_EQ(db.StatusTable.field(2, StatusField::Hp), hp);
    // a field given back its loaded text is read from the file again, as if never written
    EXPECT_TRUE(db.StatusTable.fieldFromSource(2, StatusField::Hp));
    EXPECT_TRUE(db.DropTable.fieldFromSource(1, 2));
    EXPECT_TRUE(db.MvpTable.fieldFromSource(1, 2));
    QByteArray undone;
    ASSERT_FALSE(encodeTableFaithfully(db.StatusTable, Tables::status(), undone));
    EXPECT_EQ(undone, original);

    // redo, then a set that does not start from what the fields hold changes nothing
    ASSERT_TRUE(applyChanges(changes));
    EXPECT_EQ(db.StatusTable.field(2, StatusField::Hp), u"55"_s);
    EXPECT_EQ(db.DropTable.field(1, 2), u"999"_s);
    ChangeSet stale = reversed(changes);
    stale.back().before = u"not what it holds"_s;
    EXPECT_FALSE(applyChanges(stale));
    EXPECT_EQ(db.StatusTable.field(2, StatusField::Hp), u"55"_s);
    EXPECT_EQ(db.DropTable.field(1, 2), u"999"_s);
    EXPECT_FALSE(applyChanges({{&db.DropTable, db.DropTable.Count() + 1, 2, {}, u"x"_s}}));
}

TEST(ChangeList, PendingChangesAreWhatDiffersFromTheLastSave) {
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(QDir(sampleDir()), db));
    PendingChanges pending;
    const QString hp = db.StatusTable.field(3, StatusField::Hp);
    const auto update = [&](Table& table, qint32 record, int field, const QString& text) {
        ChangeRecording recording(db);
        table.setField(record, field, text);
        pending.note(recording.take());
    };
    update(db.StatusTable, 3, StatusField::Hp, u"1"_s);
    update(db.StatusTable, 3, StatusField::Hp, u"2"_s);
    update(db.DropTable, 1, 3, u"7"_s);
    const auto order = db.saveOrder();
    const std::vector<const Table*> tables(order.begin(), order.end());
    ChangeSet list = pending.list(tables);
    ASSERT_EQ(list.size(), 2u);
    // the text on disk is the first change's before, not the last one's
    EXPECT_EQ(list[0].before, hp);
    EXPECT_EQ(list[0].after, u"2"_s);
    EXPECT_EQ(list[1].table, &db.DropTable);
    // a field changed back is no longer pending; a save leaves nothing
    update(db.StatusTable, 3, StatusField::Hp, hp);
    EXPECT_EQ(pending.list(tables).size(), 1u);
    EXPECT_FALSE(pending.isEmpty());
    pending.markSaved();
    EXPECT_TRUE(pending.isEmpty());
    update(db.DropTable, 1, 3, u"8"_s);
    list = pending.list(tables);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].before, u"7"_s);
}

namespace {

std::vector<FileIdentity> someIdentities() {
    return {{u"mob_stat_db.txt"_s, 120, 1700000000123, contentHash("stat")},
            {u"mob_drop_db.txt"_s, 0, 1700000000456, contentHash("")}};
}

JournalUpdate someUpdate(const QString& after) {
    return {{u"mob_stat_db.txt"_s, 2, 5, u"100"_s, after},
            {u"mob_drop_db.txt"_s, 1, 3, u"ポリン"_s, u"\r\n,\"x"_s}};
}

}  // namespace

TEST(Journal, WrittenOwnerOnlyReadBackAndRemoved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Journal journal(dir.filePath(u"db.journal"_s));
    EXPECT_FALSE(journal.exists());
    ASSERT_FALSE(journal.start(u"/some/folder"_s, someIdentities()));
    ASSERT_FALSE(journal.appendUpdate(someUpdate(u"200"_s)));
    FileIdentity appended{u"mob_drop_db.txt"_s, 40, 1700000001000, contentHash("appended")};
    ASSERT_FALSE(journal.appendIdentity(appended));
    ASSERT_FALSE(journal.appendUpdate(someUpdate(u"300"_s)));

    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(journal.path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const JournalContents read = readJournal(mdb::testing::readBytes(journal.path()));
    ASSERT_FALSE(read.damaged);
    EXPECT_EQ(read.folder, u"/some/folder"_s);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_TRUE(read.files[0].sameContent(someIdentities()[0]));
    EXPECT_EQ(read.files[0].modifiedMsecs, 1700000000123);
    EXPECT_TRUE(read.files[1].sameContent(appended));  // the latest identity counts
    ASSERT_EQ(read.updates.size(), 2u);
    EXPECT_EQ(read.updates[1][0].after, u"300"_s);
    EXPECT_EQ(read.updates[0][1].before, u"ポリン"_s);
    EXPECT_EQ(read.updates[0][1].after, u"\r\n,\"x"_s);
    EXPECT_EQ(read.updates[0][1].record, 1);
    EXPECT_EQ(read.updates[0][1].field, 3);

    // a new start replaces the journal
    ASSERT_FALSE(journal.start(u"/other"_s, {}));
    EXPECT_TRUE(readJournal(mdb::testing::readBytes(journal.path())).updates.empty());
    journal.remove();
    EXPECT_FALSE(QFile::exists(journal.path()));

    // a journal that cannot be written says why, and leaves nothing half-made behind
    QDir(dir.path()).mkdir(u"blocked.journal"_s);
    Journal blocked(dir.filePath(u"blocked.journal"_s));
    const auto error = blocked.start(u"/f"_s, someIdentities());
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(blocked.isStarted());
    EXPECT_FALSE(QFile::exists(dir.filePath(u"blocked.journal.new"_s)));
    EXPECT_TRUE(blocked.appendUpdate(someUpdate(u"1"_s)));
}

TEST(Journal, CutShortOrChangedAnywhereIsDamagedAndNeverPartlyRead) {
    const QByteArray header = Journal::headerBytes(u"/f"_s, someIdentities());
    const QByteArray first = Journal::updateBytes(someUpdate(u"200"_s));
    const QByteArray second = Journal::updateBytes(someUpdate(u"300"_s));
    const QByteArray whole = header + first + second;
    ASSERT_FALSE(readJournal(whole).damaged);

    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        const JournalContents read = readJournal(whole.first(cut));
        if (cut == header.size() || cut == header.size() + first.size()) {
            // a cut between entries is a shorter journal, whole entries only
            ASSERT_FALSE(read.damaged) << cut;
            EXPECT_EQ(read.updates.size(), cut == header.size() ? 0u : 1u);
        } else {
            ASSERT_TRUE(read.damaged) << "cut at " << cut;
        }
    }
    for (qsizetype at = 0; at < whole.size(); ++at) {
        QByteArray flipped = whole;
        flipped[at] = char(flipped[at] ^ 0x20);
        ASSERT_TRUE(readJournal(flipped).damaged) << "byte " << at;
    }
    // entries without the header before them, or a second header, are no journal
    EXPECT_TRUE(readJournal(header.first(14) + first).damaged);
    EXPECT_TRUE(readJournal(whole + header.sliced(14)).damaged);
    EXPECT_TRUE(readJournal(QByteArray()).damaged);
}
