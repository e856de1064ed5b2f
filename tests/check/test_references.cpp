#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "check/CheckCommand.h"

using namespace Qt::StringLiterals;

namespace {

// A status line: the monster's ID and key, the rest plausible numbers.
QString status(const QString& id, const QString& name, const QString& shown = {}) {
    return id + u',' + name + u",\""_s + (shown.isEmpty() ? name.toLower() : shown) +
           u"\",1,50,0,10,5,1,5,9,0,0,1,1,1,1,6,5,10,12,1,3,21,131,400,1872,672,480"_s;
}

QString fields(int count, const QString& value) {
    QStringList all;
    for (int i = 0; i < count; ++i) all << value;
    return all.join(u',');
}

class CrossReferences : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void write(const QString& name, const QStringList& lines) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray bytes = (lines.join(u"\r\n"_s) + u"\r\n"_s).toLatin1();
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // One of each broken reference and a duplicate of each kind, among sound records.
    void writeDatabase() {
        write(u"mob_stat_db.txt"_s,
              {status(u"0"_s, u"DUMMY"_s), status(u"1001"_s, u"PORING"_s),
               // a quoted name that runs over two lines: later records begin a line further down
               status(u"1002"_s, u"FABRE"_s, u"fab\r\nre"_s), status(u"1003"_s, u"PUPA"_s),
               status(u"1004"_s, u"poring"_s), status(u"1002"_s, u"HORNET"_s)});
        write(u"mob_drop_db.txt"_s,
              {u"PORING,501,7000,9999,100,"_s + fields(12, u"0"_s),
               u"FABRE,502,100,503,5,"_s + fields(12, u"0"_s),
               u"Poring,501,10,"_s + fields(14, u"0"_s), u"GHOST,501,10,"_s + fields(14, u"0"_s)});
        write(u"mob_mvp_db.txt"_s,
              {u"PUPA,0,0,100,0,503,100,0,0,8888,5"_s, u"HORNET,501,,100,0,0,0,0,0,0,0"_s,
               u"dummy,0,0,0,0,0,0,0,0,0,0"_s});
        write(u"mob_morph_db.txt"_s, {u"FABRE,PUPA,,,,,1"_s, u"PUPA,HORNET,GHOST_MORPH,,,,2"_s});
        write(u"mob_emote_db.txt"_s, {u"PORING,IDLE_ST,1"_s, u"NOBODY,IDLE_ST,2"_s,
                                      u"PORING,ANGRY_ST,3"_s, u"poring,IDLE_ST,4"_s});
        write(u"summon_monster.txt"_s, {u"PUPA,FABRE,DUMMY,,,,2"_s});
        write(u"summon_slave.txt"_s, {u"HORNET,pupa,FABRE,,,,2"_s, u"FABRE,NO_SLAVE,,,,,1"_s});
        writeItems();
    }
    void writeItems() {
        write(u"item_consume_db.txt"_s, {u"501,Red_Potion,Red Potion,"_s + fields(9, u"0"_s)});
        write(u"item_drop_db.txt"_s, {u"502,Jellopy,Jellopy,"_s + fields(4, u"0"_s)});
        write(u"item_equip_db.txt"_s, {u"503,Sword,Sword,"_s + fields(18, u"0"_s)});
    }

    // The report's warnings, each as it is printed.
    QStringList warnings(const QStringList& options, int* status = nullptr) {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int s = mdb::check::runChecker(
            QStringList{u"monster-db-check"_s} + options + QStringList{dir.path()}, o, e);
        o.flush();
        if (status) *status = s;
        report = out;
        QStringList found;
        for (const QString& line : out.split(u'\n')) {
            if (line.contains(u": 警告: "_s)) found << line.trimmed();
        }
        return found;
    }

    QTemporaryDir dir;
    QString report;
};

TEST_F(CrossReferences, EachBrokenReferenceAndDuplicateIsNamedAtItsLineAndNothingElse) {
    writeDatabase();
    int status = -1;
    const QStringList found = warnings({}, &status);
    // file:line: and what each must name: the key or ID, the field, and where it was looked for
    // (the first two are the status file's own warnings, not references)
    const QList<QStringList> expected{
        {u"mob_stat_db.txt:3: 警告: "_s, u"この行の「\"」で始まる項目が 4 行目まで続いています"_s},
        {u"mob_stat_db.txt:3:"_s, u"（DisplayName）の改行はエディタが書き戻せません"_s},
        {u"mob_stat_db.txt:6: 警告: "_s, u"「poring」"_s, u"2 行目と同じ"_s},
        {u"mob_stat_db.txt:7: 警告: "_s, u"（Id）「1002」"_s, u"3 行目と同じ"_s},
        {u"mob_drop_db.txt:1: 警告: "_s, u"「PORING」の 4 項目目（Item2）"_s, u"「9999」"_s,
         u"item_equip_db.txt"_s},
        {u"mob_drop_db.txt:3: 警告: "_s, u"「Poring」のレコードは 1 行目にもあります"_s},
        {u"mob_drop_db.txt:4: 警告: "_s, u"「GHOST」"_s, u"mob_stat_db.txt のモンスター名"_s},
        {u"mob_mvp_db.txt:1: 警告: "_s, u"「PUPA」の 10 項目目（MvpSpecialItem3）"_s,
         u"「8888」"_s},
        {u"mob_mvp_db.txt:3: 警告: "_s, u"「dummy」"_s, u"1 行目（ダミー行）"_s},
        {u"mob_morph_db.txt:2: 警告: "_s, u"「PUPA」の 3 項目目（Morph2）"_s, u"「GHOST_MORPH」"_s,
         u"mob_stat_db.txt のモンスター名"_s},
        {u"mob_emote_db.txt:2: 警告: "_s, u"「NOBODY」"_s},
        // another state of the same monster is sound (a note, below); the same state twice is not
        {u"mob_emote_db.txt:4: 警告: "_s, u"「poring」の状況（State）「IDLE_ST」"_s,
         u"1 行目にもあります"_s},
        {u"summon_monster.txt:1: 警告: "_s, u"（Summon2）"_s, u"「DUMMY」"_s, u"ダミー行"_s},
        {u"summon_slave.txt:2: 警告: "_s, u"「FABRE」の 2 項目目（Slave1）"_s, u"「NO_SLAVE」"_s},
    };
    ASSERT_EQ(found.size(), expected.size()) << report.toStdString();
    for (qsizetype i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(found[i].startsWith(expected[i][0])) << found[i].toStdString();
        for (const QString& part : expected[i].sliced(1)) {
            EXPECT_TRUE(found[i].contains(part))
                << "expected " << part.toStdString() << " in " << found[i].toStdString();
        }
    }
    EXPECT_EQ(status, 0) << "warnings alone keep the status";
    EXPECT_TRUE(report.contains(
        u"参照: 見つからない参照や重複が 12 件あります（ほかに注記が 1 件あります）"_s))
        << report.toStdString();
    EXPECT_TRUE(report.contains(u"  注記 1 件（--notes で表示します）"_s));
    EXPECT_FALSE(report.contains(u": 注記: "_s));
    warnings({u"--notes"_s});
    EXPECT_TRUE(report.contains(
        u"  mob_emote_db.txt:3: 注記: モンスター名（Name）「PORING」のレコードは 1 行目にもあります。状況（State）が違う"_s))
        << report.toStdString();
    int strict = -1;
    warnings({u"--strict"_s}, &strict);
    EXPECT_EQ(strict, 1);

    // switched off, and on again by the later option
    EXPECT_EQ(warnings({u"--no-refs"_s}).size(), 2) << report.toStdString();
    EXPECT_FALSE(report.contains(u"参照: "_s));
    EXPECT_EQ(warnings({u"--no-refs"_s, u"--refs"_s}).size(), expected.size());

    // without the item files the IDs are not judged, and the report says so
    for (const QString& name :
         {u"item_consume_db.txt"_s, u"item_drop_db.txt"_s, u"item_equip_db.txt"_s}) {
        ASSERT_TRUE(QFile::remove(dir.filePath(name)));
    }
    const QStringList withoutItems = warnings({});
    EXPECT_EQ(withoutItems.size(), expected.size() - 2) << report.toStdString();
    EXPECT_FALSE(report.contains(u"「9999」"_s));
    EXPECT_TRUE(report.contains(u"アイテム ID は確かめていません"_s));
}

TEST_F(CrossReferences, ARefusedMonsterFileLeavesTheReferencesUnchecked) {
    writeDatabase();
    write(u"mob_emote_db.txt"_s, {u"PORING,IDLE_ST"_s});
    int status = -1;
    EXPECT_EQ(warnings({}, &status).size(), 2) << report.toStdString();
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(report.contains(u"参照は確かめていません"_s));
}

// The sample's one monster with two emotion states is sound data: strict passes it, and the
// record out of the editor's reach is told only as a note.
TEST(CrossReferencesOnTheSample, TheEmotionKeyUsedTwiceOnPurposeIsOnlyANote) {
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"--strict"_s, QStringLiteral(MDB_SAMPLE_DIR)}, o, e),
              0);
    o.flush();
    EXPECT_EQ(out.count(u"警告"_s), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(u"  注記 1 件（--notes で表示します）\n"_s)) << out.toStdString();
    out.clear();
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"--notes"_s, QStringLiteral(MDB_SAMPLE_DIR)}, o, e),
              0);
    o.flush();
    EXPECT_TRUE(out.contains(
        u"  mob_emote_db.txt:2: 注記: モンスター名（Name）「KAPPA」のレコードは 1 行目にもあります"_s))
        << out.toStdString();
}

}  // namespace
