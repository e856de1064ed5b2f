// A journal left by a run that was not saved: offered at the next start, restored as undoable
// updates, judged field by field against the files as they are now.
#include <QDirIterator>

#include "UnsavedWorkFixture.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST_F(UnsavedWorkTest, AJournalLeftBehindIsOfferedRestoredAsUndoableUpdatesAndSaved) {
    startSample();
    const auto original = files();
    makeTwoUpdates();
    trigger(u"MunFileSave"_s);
    const auto expected = files();
    for (const auto& [name, bytes] : original) writeBytes(name, bytes);
    window.reset();  // the journal went with the save; make the updates again, unsaved
    ASSERT_FALSE(QFile::exists(journalPath()));
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    makeTwoUpdates();
    ASSERT_TRUE(QFile::exists(journalPath()));
    window.reset();  // ended without saving, as a kill would

    // 破棄 drops the journal and applies nothing
    const QByteArray journal = readBytesFrom(journalPath());
    messages.choices = {1, 0};  // 破棄, and 破棄 again when asked to be sure
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(question(), u"前回保存されなかった更新が 2 件あります。復元しますか？"_s);
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"500"_s);
    EXPECT_FALSE(QFile::exists(journalPath()));
    window.reset();

    writeBytesTo(journalPath(), journal);
    messages.messages.clear();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);  // 復元 is the default
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"1234"_s);
    EXPECT_EQ(files(), original);  // nothing written until the user saves
    EXPECT_TRUE(control<QAction>(u"MunFileSave"_s)->isEnabled());
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"500"_s);
    trigger(u"mnuRedo"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(files(), expected);
    EXPECT_FALSE(QFile::exists(journalPath()));

    // a save cut off after the monster file: its update is done, only the drop one is offered
    window.reset();
    for (const auto& [name, bytes] : original) writeBytes(name, bytes);
    writeBytes(u"mob_stat_db.txt"_s, expected.at(u"mob_stat_db.txt"_s));
    writeBytesTo(journalPath(), journal);
    messages.messages.clear();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(question(), u"前回保存されなかった更新が 1 件あります。復元しますか？"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(files(), expected);
}

TEST_F(UnsavedWorkTest, AJournalIsJudgedFieldByFieldAgainstTheFilesAsTheyAreNow) {
    startSample();
    const auto original = files();
    makeTwoUpdates();
    window.reset();
    const QByteArray journal = readBytesFrom(journalPath());
    const auto asideCount = [this] {
        return QDir(QFileInfo(journalPath()).path()).entryList({u"*.journal.*"_s}).size();
    };
    const auto restart = [&](const QByteArray& drops, const QByteArray& journalBytes) {
        window.reset();
        writeBytes(u"mob_drop_db.txt"_s, drops);
        writeBytesTo(journalPath(), journalBytes);
        messages.messages.clear();
        return start();
    };
    // another program changed KAPPA's line: both updates still apply, its change stays
    QByteArray other = original.at(u"mob_drop_db.txt"_s);
    other.replace("KAPPA,901,3000", "KAPPA,901,3333");
    ASSERT_EQ(restart(other, journal), MainWindow::StartResult::Started);
    EXPECT_EQ(question(), u"前回保存されなかった更新が 2 件あります。復元しますか？"_s);
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), u"4321"_s);
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"1234"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA,901,3333,"));
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA_KING,901,9000,1103,1234,"));
    EXPECT_FALSE(QFile::exists(journalPath()));

    // another program changed KAPPA_KING's very rate: named, with both texts; the HP applies
    const qsizetype asideBefore = asideCount();
    other = original.at(u"mob_drop_db.txt"_s);
    other.replace("KAPPA_KING,901,9000,1103,500,", "KAPPA_KING,901,9000,1103,777,");
    writeBytes(u"mob_stat_db.txt"_s, original.at(u"mob_stat_db.txt"_s));
    ASSERT_EQ(restart(other, journal), MainWindow::StartResult::Started);
    const QString asked = question();
    EXPECT_TRUE(asked.startsWith(u"前回保存されなかった更新が 1 件あります。復元しますか？"_s))
        << asked.toStdString();
    EXPECT_TRUE(asked.contains(u"mob_drop_db.txt 2 件目（KAPPA_KING）5 番目の項目"_s))
        << asked.toStdString();
    EXPECT_TRUE(asked.contains(u"記録「1234」、ファイル「777」"_s)) << asked.toStdString();
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), u"4321"_s);
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"777"_s);
    EXPECT_EQ(asideCount(), asideBefore + 1);  // the whole record kept for the user
    // the journal now holds what was restored, and a restart offers that alone
    ASSERT_EQ(restart(other, readBytesFrom(journalPath())), MainWindow::StartResult::Started);
    EXPECT_EQ(question(), u"前回保存されなかった更新が 1 件あります。復元しますか？"_s);

    // a torn second update: the first is offered, the tear told; a torn header applies nothing
    const QByteArray drops = original.at(u"mob_drop_db.txt"_s);
    ASSERT_EQ(restart(drops, journal.first(journal.size() - 3)), MainWindow::StartResult::Started);
    EXPECT_TRUE(
        question().startsWith(u"前回保存されなかった更新が 1 件あります。復元しますか？"_s));
    EXPECT_TRUE(question().contains(u"途切れている"_s)) << question().toStdString();
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), u"4321"_s);
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"500"_s);
    for (const qsizetype cut : {qsizetype(5), qsizetype(60)}) {
        ASSERT_EQ(restart(drops, journal.first(cut)), MainWindow::StartResult::Started);
        ASSERT_EQ(messages.messages.size(), 1u) << cut;
        EXPECT_TRUE(messages.messages[0].isWarning);
        EXPECT_TRUE(messages.messages[0].text.contains(u"壊れている"_s));
        EXPECT_FALSE(control<QAction>(u"mnuUndo"_s)->isEnabled());
    }

    // a whole journal of the earliest format, whose file identities this build cannot check:
    // told apart from a damaged one, set aside under its own name, nothing applied
    ASSERT_TRUE(journal.startsWith("MDB-JOURNAL 3\n"));
    ASSERT_EQ(restart(drops, "MDB-JOURNAL 1\n" + journal.sliced(14)),
              MainWindow::StartResult::Started);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].isWarning);
    EXPECT_TRUE(messages.messages[0].text.contains(u"以前の版"_s));
    EXPECT_FALSE(control<QAction>(u"mnuUndo"_s)->isEnabled());
    EXPECT_FALSE(QFile::exists(journalPath()));
    EXPECT_EQ(QDir(QFileInfo(journalPath()).path())
                  .entryList({QFileInfo(journalPath()).fileName() + u".older-version-*"_s})
                  .size(),
              1);
    window.reset();
    EXPECT_EQ(files(), original);
}

}  // namespace mdb::test
