#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "storage/Cp932.h"
#include "storage/DatabaseFiles.h"
#include "test_storage_helpers.h"

// the reference: XXH3 from its header, in plain scalar code
#define XXH_INLINE_ALL
#define XXH_VECTOR XXH_SCALAR
#include <xxhash.h>

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {}  // namespace

TEST(StorageFiles, LoadAndSaveKeepsEveryFileByteForByteWhateverItsForm) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeSmallDatabase(dir);
    QFile::remove(dir.filePath(u"mob_stat_db.txt"_s));
    QFile::copy(fixturePath(OddStatusFixture), dir.filePath(u"mob_stat_db.txt"_s));
    writeBytes(dir.filePath(u"mob_morph_db.txt"_s), " FABRE ,\"PORING\",,,,,\t1\n");
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    EXPECT_EQ(db.StatusTable.Count(), 4);
    EXPECT_EQ(db.StatusTable.field(2, StatusField::Name), u"PO,RING"_s);
    EXPECT_EQ(db.StatusTable.field(2, StatusField::DisplayName), u"≒纊ポ"_s);
    EXPECT_EQ(db.StatusTable.field(2, StatusField::Hp), u"5 "_s);
    EXPECT_EQ(db.StatusTable.field(3, StatusField::Name), u"FA\"BRE"_s);
    EXPECT_EQ(db.StatusTable.field(4, StatusField::DamageMotion), u"29"_s);
    EXPECT_EQ(db.EmoteTable.Count(), 2);
    EXPECT_EQ(db.SummonTable.Count(), 0);
    const auto before = allFiles(dir, db);

    // Saving unchanged tables, and again after storing every value as it stands (as an update
    // of each record would), gives back the very bytes that were read.
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_FALSE(saveMonsterDatabase(dir, db)) << pass;
        EXPECT_EQ(allFiles(dir, db), before) << pass;
        for (Table* t : db.loadOrder()) {
            for (qint32 r = 1; r <= t->Count(); ++r) {
                for (int f = 1; f <= t->fieldCount(); ++f) t->setField(r, f, t->field(r, f));
            }
        }
    }

    // One edited field changes only that field's bytes, even beside fields the normal form
    // would refuse (the quoted comma in Name) or spell otherwise (the duplicate codes).
    ASSERT_TRUE(db.StatusTable.setField(2, StatusField::Hp, u"4321"_s));
    ASSERT_TRUE(db.StatusTable.setField(3, StatusField::DisplayName, u" 纊 "_s));
    ASSERT_TRUE(db.StatusTable.setField(4, StatusField::DamageMotion, u"30"_s));
    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    QByteArray expected = before[0];
    expected.replace(",2, 5 ,", ",2,4321,");
    expected.replace(",FA\"BRE,\xfa\x5c\x81\xe0\xee\xef,", ",FA\"BRE,\" \xfa\x5c \",");
    ASSERT_TRUE(expected.endsWith(",29"));
    expected.chop(2);
    expected += "30";
    const auto after = allFiles(dir, db);
    EXPECT_EQ(after[0], expected);
    for (size_t i = 1; i < after.size(); ++i) EXPECT_EQ(after[i], before[i]) << i;

    MonsterDatabase again;
    ASSERT_FALSE(loadMonsterDatabase(dir, again));
    EXPECT_EQ(again.StatusTable.field(3, StatusField::DisplayName), u" 纊 "_s);
    EXPECT_EQ(again.StatusTable.field(2, StatusField::Name), u"PO,RING"_s);

    // The last field of a file without a final line end, emptied: a line end closes the record,
    // or the file would end in a comma and read back one field short. The file still holds the
    // duplicate codes, so it is written from its bytes.
    ASSERT_TRUE(again.StatusTable.sourceBytes().has_value());
    ASSERT_TRUE(again.StatusTable.setField(4, StatusField::DamageMotion, QString()));
    ASSERT_FALSE(saveMonsterDatabase(dir, again));
    MonsterDatabase emptied;
    ASSERT_FALSE(loadMonsterDatabase(dir, emptied));
    EXPECT_EQ(emptied.StatusTable.Count(), 4);
    EXPECT_EQ(emptied.StatusTable.field(4, StatusField::DamageMotion), QString());
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

// A file of plain ASCII is kept as its text alone and its bytes are made again for the save; a
// file of single bytes that are not ASCII (half-width katakana, the control codes the code page
// moves) must keep its own bytes, which its text would spell otherwise.
TEST(StorageFiles, SingleByteFilesThatAreNotAsciiKeepTheirOwnBytesThroughASave) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeSmallDatabase(dir);
    writeBytes(dir.filePath(u"mob_emote_db.txt"_s), "\xB1\xB2,IDLE_ST,1\r\nX\x1C,RUSH_ST,2\r\n");
    writeBytes(dir.filePath(u"summon_slave.txt"_s), "PORING,FABRE,,,,,1\r\nPUPA,,,,,,2");
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    ASSERT_EQ(db.EmoteTable.field(1, 1), u"ｱｲ"_s);
    const auto before = allFiles(dir, db);

    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    EXPECT_EQ(allFiles(dir, db), before);

    ASSERT_TRUE(db.EmoteTable.setField(2, 3, u"7"_s));
    ASSERT_TRUE(db.SlaveTable.setField(2, 7, u"3"_s));
    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    EXPECT_EQ(readBytes(dir.filePath(u"mob_emote_db.txt"_s)),
              QByteArray("\xB1\xB2,IDLE_ST,1\r\nX\x1C,RUSH_ST,7\r\n"));
    EXPECT_EQ(readBytes(dir.filePath(u"summon_slave.txt"_s)),
              QByteArray("PORING,FABRE,,,,,1\r\nPUPA,,,,,,3"));
}

TEST(StorageFiles, EmptyingTheLastFieldOfAFileWithoutFinalLineEndWritesAFileThatLoads) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeSmallDatabase(dir);  // the emotion file ends "FABRE,DEAD_ST,5", no line end
    for (const QByteArray& last : {QByteArray("5"), QByteArray("  5"), QByteArray("\"5\"x")}) {
        writeBytes(dir.filePath(u"mob_emote_db.txt"_s),
                   "PORING,IDLE_ST,2\r\nFABRE,DEAD_ST," + last);
        MonsterDatabase db;
        ASSERT_FALSE(loadMonsterDatabase(dir, db));
        ASSERT_TRUE(db.EmoteTable.setField(2, 3, QString()));
        ASSERT_FALSE(saveMonsterDatabase(dir, db));
        EXPECT_EQ(readBytes(dir.filePath(u"mob_emote_db.txt"_s)),
                  QByteArray("PORING,IDLE_ST,2\r\nFABRE,DEAD_ST,\r\n"));
        MonsterDatabase again;
        ASSERT_FALSE(loadMonsterDatabase(dir, again)) << last.toStdString();
        EXPECT_EQ(again.EmoteTable.Count(), 2);
        EXPECT_EQ(again.EmoteTable.field(2, 3), QString());
        EXPECT_EQ(again.EmoteTable.field(2, 2), u"DEAD_ST"_s);
    }
}

// Names with ① or ⅰ (twice-held rows of the code page whose characters come back as the same
// bytes) leave a file held as its text alone; one character that comes back otherwise (≒ of the
// NEC row) keeps the file's bytes. Either way a save writes back exactly what was read.
TEST(StorageFiles, OnlyCharactersThatComeBackOtherwiseKeepAFilesBytes) {
    QTemporaryDir in;
    const QDir dir(in.path());
    writeSmallDatabase(dir);
    const QByteArray emote = "\x97\xEC\x87\x40PORING,IDLE_ST,1\r\n\xFA\x40\xFB\xFC,RUSH_ST,2\r\n";
    const QByteArray slave = "PORING,\x87\x90,,,,,1\r\nPUPA,\x87\x40,,,,,2\r\n";
    writeBytes(dir.filePath(u"mob_emote_db.txt"_s), emote);
    writeBytes(dir.filePath(u"summon_slave.txt"_s), slave);
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    ASSERT_EQ(db.EmoteTable.field(1, 1), u"霊①PORING"_s);
    ASSERT_EQ(db.SlaveTable.field(1, 2), u"≒"_s);
    EXPECT_FALSE(db.EmoteTable.sourceBytes().has_value());
    EXPECT_TRUE(db.SlaveTable.sourceBytes().has_value());

    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    EXPECT_EQ(readBytes(dir.filePath(u"mob_emote_db.txt"_s)), emote);
    EXPECT_EQ(readBytes(dir.filePath(u"summon_slave.txt"_s)), slave);
    ASSERT_TRUE(db.EmoteTable.setField(2, 3, u"7"_s));
    ASSERT_TRUE(db.SlaveTable.setField(2, 7, u"3"_s));
    ASSERT_FALSE(saveMonsterDatabase(dir, db));
    EXPECT_EQ(readBytes(dir.filePath(u"mob_emote_db.txt"_s)),
              QByteArray("\x97\xEC\x87\x40PORING,IDLE_ST,1\r\n\xFA\x40\xFB\xFC,RUSH_ST,7\r\n"));
    EXPECT_EQ(readBytes(dir.filePath(u"summon_slave.txt"_s)),
              QByteArray("PORING,\x87\x90,,,,,1\r\nPUPA,\x87\x40,,,,,3\r\n"));
}

// The identities of the files a journal records are hashes written to disk: however the hash
// is computed on this processor, whole or piece by piece, it must be XXH3's 128-bit hash,
// here as its plain reference code computes it.
TEST(StorageFiles, ContentHashIsXxh3OfTheBytesWholeOrInPieces) {
    QByteArray bytes;
    for (int i = 0; i < 100003; ++i) bytes += char((i * 131 + i / 7) & 0xFF);
    for (const qsizetype size : {0, 1, 16, 17, 128, 129, 240, 241, 1024, 1025, 65536, 100003}) {
        const QByteArrayView part = QByteArrayView(bytes).first(size);
        XXH128_canonical_t reference;
        XXH128_canonicalFromHash(&reference, XXH3_128bits(part.data(), size_t(size)));
        const QByteArray expected(reinterpret_cast<const char*>(reference.digest), 16);
        EXPECT_EQ(contentHash(part), expected) << size;
        ContentHasher pieces;
        for (qsizetype at = 0, step = 1; at < size; at += step, step = step * 3 + 1) {
            pieces.add(part.sliced(at, std::min(step, size - at)));
        }
        EXPECT_EQ(pieces.result(), expected) << size;
    }
}
