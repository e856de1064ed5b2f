#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "storage/Cp932.h"
#include "storage/DatabaseFiles.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {

const char* const StatusFixture = "stat_quoted_names_blanks_and_text_after_quote.txt";

// A small database of all seven files, the status file taken from a fixture with the quirks
// that a save must normalise.
void writeSmallDatabase(const QDir& dir) {
    QFile::copy(fixturePath(StatusFixture), dir.filePath(u"mob_stat_db.txt"_s));
    writeBytes(dir.filePath(u"mob_drop_db.txt"_s),
               "PORING,909,7000,1202,100,938,400,512,1000,713,1500,741,5,0,0,0,0\r\n");
    writeBytes(dir.filePath(u"mob_mvp_db.txt"_s), "LUNATIC,0,0,1000,10000,603,100,0,0,0,0\r\n");
    writeBytes(dir.filePath(u"mob_morph_db.txt"_s), "FABRE,PORING,,,,,1\r\n");
    writeBytes(dir.filePath(u"mob_emote_db.txt"_s), "PORING,IDLE_ST,2\r\nFABRE,DEAD_ST,5");
    writeBytes(dir.filePath(u"summon_monster.txt"_s), "");
    writeBytes(dir.filePath(u"summon_slave.txt"_s), "LUNATIC,PORING,FABRE,,,,2\r\n");
}

std::vector<QByteArray> allFiles(const QDir& dir, const MonsterDatabase& db) {
    std::vector<QByteArray> out;
    for (const Table* t : db.saveOrder()) out.push_back(readBytes(dir.filePath(t->name())));
    return out;
}

}  // namespace

TEST(StorageFiles, LoadAndSaveGivesTheNormalFormWithRecordsInPlace) {
    QTemporaryDir in, out;
    writeSmallDatabase(QDir(in.path()));
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(QDir(in.path()), db));
    EXPECT_EQ(db.StatusTable.Count(), 4);
    EXPECT_EQ(db.StatusTable.field(2, StatusField::DisplayName), u"ポリン, 表ソ"_s);
    EXPECT_EQ(db.StatusTable.field(3, StatusField::Level), u"2"_s);
    EXPECT_EQ(db.StatusTable.field(4, StatusField::DisplayName), u"ルナティック～①ⅰｱ"_s);
    EXPECT_EQ(db.EmoteTable.Count(), 2);
    EXPECT_EQ(db.SummonTable.Count(), 0);
    EXPECT_EQ(db.MorphTable.field(1, u"Morph2"), QString());

    ASSERT_FALSE(saveMonsterDatabase(QDir(out.path()), db));
    const QByteArray stat = readBytes(QDir(out.path()).filePath(u"mob_stat_db.txt"_s));
    const QList<QByteArray> lines = stat.split('\n');
    ASSERT_EQ(lines.size(), 5);  // four lines and the empty rest after the last CR LF
    EXPECT_TRUE(lines[1].startsWith("1002,PORING,\""));  // the blank before the quote is gone
    EXPECT_TRUE(lines[2].startsWith("1007,FABRE,\"Fabre\",2,"));  // quoted now, blanks gone
    EXPECT_FALSE(stat.contains("\"x"));  // text after the closing quote is dropped
    EXPECT_EQ(readBytes(QDir(out.path()).filePath(u"mob_emote_db.txt"_s)),
              QByteArray("PORING,IDLE_ST,2\r\nFABRE,DEAD_ST,5\r\n"));
    EXPECT_EQ(readBytes(QDir(out.path()).filePath(u"summon_monster.txt"_s)), QByteArray());

    // The normal form is a fixed point: reading it back and saving again changes nothing.
    MonsterDatabase again;
    ASSERT_FALSE(loadMonsterDatabase(QDir(out.path()), again));
    QTemporaryDir third;
    ASSERT_FALSE(saveMonsterDatabase(QDir(third.path()), again));
    EXPECT_EQ(allFiles(QDir(third.path()), db), allFiles(QDir(out.path()), db));
}

TEST(StorageFiles, LoadStopsAtTheFirstFailingFileInLoadOrder) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeSmallDatabase(dir);
    QFile::remove(dir.filePath(u"summon_slave.txt"_s));
    QFile::remove(dir.filePath(u"mob_mvp_db.txt"_s));
    MonsterDatabase db;
    auto error = loadMonsterDatabase(dir, db);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 53);
    EXPECT_EQ(error->fileName, u"mob_mvp_db.txt"_s);
    EXPECT_EQ(db.DropTable.Count(), 1);
    EXPECT_EQ(db.EmoteTable.Count(), 0);  // comes later in the order, never read

    writeSmallDatabase(dir);
    QFile::copy(fixturePath("emote_blank_line_at_end.txt"), dir.filePath(u"x"_s));
    QFile::remove(dir.filePath(u"mob_emote_db.txt"_s));
    QFile::rename(dir.filePath(u"x"_s), dir.filePath(u"mob_emote_db.txt"_s));
    error = loadMonsterDatabase(dir, db);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 62);
    EXPECT_EQ(error->fileName, u"mob_emote_db.txt"_s);
    EXPECT_EQ(db.StatusTable.Count(), 4);  // reloading cleared the old records first
}

TEST(StorageFiles, SaveRefusalWritesNothingAndAFailingFileStopsTheOrder) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeSmallDatabase(dir);
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    const auto before = allFiles(dir, db);

    // A bad value in the last table saved still keeps every file untouched.
    ASSERT_TRUE(db.SlaveTable.setField(1, u"Slave3"_s, u"A,B"_s));
    ASSERT_TRUE(db.StatusTable.setField(2, StatusField::Hp, u"999"_s));
    auto refused = saveMonsterDatabase(dir, db);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind, ErrorKind::UnwritableField);
    EXPECT_EQ(refused->fileName, u"summon_slave.txt"_s);
    EXPECT_EQ(refused->fieldName, u"Slave3"_s);
    EXPECT_EQ(allFiles(dir, db), before);

    // The MVP file cannot be replaced: status and drop are written, the rest keep their bytes.
    ASSERT_TRUE(db.SlaveTable.setField(1, u"Slave3"_s, QString()));
    ASSERT_TRUE(QFile::remove(dir.filePath(u"mob_mvp_db.txt"_s)));
    ASSERT_TRUE(dir.mkdir(u"mob_mvp_db.txt"_s));
    auto failed = saveMonsterDatabase(dir, db);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->kind, ErrorKind::WriteFailed);
    EXPECT_EQ(failed->fileName, u"mob_mvp_db.txt"_s);
    const auto after = allFiles(dir, db);
    EXPECT_TRUE(after[0].contains(",999,"));
    EXPECT_NE(after[0], before[0]);
    for (size_t i = 3; i < after.size(); ++i) EXPECT_EQ(after[i], before[i]) << i;
}

TEST(StorageFiles, ItemTablesKeepIdAndNameAndWhatWasReadBeforeAFailure) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeBytes(dir.filePath(u"item_consume_db.txt"_s),
               *cp932::encode(u"501,Red_Potion,\"赤ポーション, 小\",0,50,,70,,,,,{ heal 45; }\r\n"
                              u"502,Orange_Potion,橙ポーション,0,200,,100,,,,,{}\r\n"_s));
    ItemDatabase items;
    items.EquipItemTable.append(u"stale"_s, u"stale"_s);
    auto error = loadItemDatabase(dir, items);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 53);
    EXPECT_EQ(error->fileName, u"item_drop_db.txt"_s);
    ASSERT_EQ(items.ConsumeItemTable.Count(), 2);
    EXPECT_EQ(items.ConsumeItemTable.ItemId(2), u"502"_s);
    EXPECT_EQ(items.ConsumeItemTable.ItemName(1), u"赤ポーション, 小"_s);
    EXPECT_EQ(items.ConsumeItemTable.ItemName(2), u"橙ポーション"_s);
    EXPECT_EQ(items.EquipItemTable.Count(), 0);
}
