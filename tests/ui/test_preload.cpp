// The monster files read on a thread of their own while the window is built: the window then
// holds what a load of its own would have given it, and says what it would have said.
#include <QLineEdit>

#include "WindowFixture.h"
#include "storage/DatabaseFiles.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

// Every table alike, down to the texts the fields were loaded with and the bytes kept for the
// save.
void expectSameTables(const MonsterDatabase& got, const MonsterDatabase& want) {
    const auto mine = got.saveOrder();
    const auto theirs = want.saveOrder();
    for (size_t t = 0; t < mine.size(); ++t) {
        const Table& a = *mine[t];
        const Table& b = *theirs[t];
        const std::string name = b.name().toStdString();
        ASSERT_EQ(a.name(), b.name());
        ASSERT_EQ(a.Count(), b.Count()) << name;
        ASSERT_EQ(a.fieldCount(), b.fieldCount()) << name;
        EXPECT_EQ(a.sourceText(), b.sourceText()) << name;
        EXPECT_EQ(a.sourceBytes(), b.sourceBytes()) << name;
        EXPECT_EQ(a.sourceSize(), b.sourceSize()) << name;
        EXPECT_EQ(a.sourceHash(), b.sourceHash()) << name;
        EXPECT_TRUE(a.hasSource()) << name;
        EXPECT_TRUE(a.untouchedSinceLoad()) << name;
        int differing = 0;
        for (qint32 r = 0; r <= b.Count(); ++r) {
            for (int f = 1; f <= b.fieldCount(); ++f) {
                if (a.fieldView(r, f) != b.fieldView(r, f) ||
                    a.loadedView(r, f) != b.loadedView(r, f) ||
                    a.fieldFromSource(r, f) != b.fieldFromSource(r, f)) {
                    ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << name;
    }
}

}  // namespace

class Preload : public WindowFixture {};

TEST_F(Preload, TheWindowHoldsWhatALoadOfItsOwnGivesAndSavesTheSameBytes) {
    copySample();
    MonsterDatabase onTheSpot;
    ASSERT_FALSE(loadMonsterDatabase(QDir(dir.path()), onTheSpot));

    ASSERT_EQ(startPreloaded(), MainWindow::StartResult::Started);
    EXPECT_TRUE(messages.messages.empty());
    // the reader and its database are gone: the window's tables must not lean on them
    expectSameTables(window->database(), onTheSpot);
    const Table& stat = window->database().StatusTable;
    EXPECT_EQ(control<QLineEdit>(u"Text2A"_s)->text(), stat.field(2, StatusField::Name));
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), stat.field(2, StatusField::Hp));

    // a save of what was handed over writes every file back byte for byte
    QHash<QString, QByteArray> before;
    for (const Table* table : onTheSpot.saveOrder())
        before[table->name()] = readBytes(table->name());
    ASSERT_FALSE(saveMonsterDatabase(QDir(dir.path()), window->database()));
    for (const Table* table : onTheSpot.saveOrder()) {
        EXPECT_EQ(readBytes(table->name()), before[table->name()]) << table->name().toStdString();
    }
}

TEST_F(Preload, OneReadOfAnotherFolderOrHandedOverBeforeIsLeftAlone) {
    copySample();
    // another folder: the same files with another first monster's HP
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    const QDir sample(QStringLiteral(MDB_SAMPLE_DIR));
    for (const QString& name : sample.entryList({u"*.txt"_s}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(path(name), other.filePath(name)));
    }
    {
        MonsterDatabase db;
        ASSERT_FALSE(loadMonsterDatabase(QDir(other.path()), db));
        ASSERT_TRUE(db.StatusTable.setField(2, StatusField::Hp, u"987654"_s));
        ASSERT_FALSE(saveMonsterDatabase(QDir(other.path()), db));
    }
    const QString hp = [&] {
        MonsterDatabase db;
        EXPECT_FALSE(loadMonsterDatabase(QDir(dir.path()), db));
        return db.StatusTable.field(2, StatusField::Hp);
    }();
    ASSERT_NE(hp, u"987654"_s);

    MonsterPreload elsewhere{QDir(other.path())};
    EXPECT_FALSE(elsewhere.holds(QDir(dir.path())));
    window = std::make_unique<MainWindow>(QDir(dir.path()), messages);
    ASSERT_EQ(window->startUp(&elsewhere), MainWindow::StartResult::Started);
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), hp);
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), hp);

    // a preload taken once gives nothing a second time
    MonsterPreload here{QDir(dir.path())};
    EXPECT_TRUE(here.holds(QDir(dir.path())));
    MonsterDatabase first;
    EXPECT_FALSE(here.moveInto(first));
    EXPECT_EQ(first.StatusTable.field(2, StatusField::Hp), hp);
    EXPECT_FALSE(here.holds(QDir(dir.path())));
    window = std::make_unique<MainWindow>(QDir(dir.path()), messages);
    ASSERT_EQ(window->startUp(&here), MainWindow::StartResult::Started);
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), hp);
    EXPECT_TRUE(messages.messages.empty());
}

// Another instance may save after the files were read ahead and end before this start's
// single-instance check: its save must show, not the bytes read before it.
TEST_F(Preload, AFileSavedAfterTheReadingIsReadAgain) {
    copySample();
    MonsterPreload preload{QDir(dir.path())};
    preload.wait();
    MonsterDatabase saved;
    ASSERT_FALSE(loadMonsterDatabase(QDir(dir.path()), saved));
    const QString hp = saved.StatusTable.field(2, StatusField::Hp);
    // as many characters as before: the file keeps its size
    QString other = hp;
    other[0] = other[0] == u'9' ? u'8' : u'9';
    ASSERT_TRUE(saved.StatusTable.setField(2, StatusField::Hp, other));
    ASSERT_FALSE(saveMonsterDatabase(QDir(dir.path()), saved));

    window = std::make_unique<MainWindow>(QDir(dir.path()), messages);
    ASSERT_EQ(window->startUp(&preload), MainWindow::StartResult::Started);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), other);
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), other);
    MonsterDatabase now;
    ASSERT_FALSE(loadMonsterDatabase(QDir(dir.path()), now));
    expectSameTables(window->database(), now);
}

// Each way a load can fail, read ahead and read on the spot: the same result, the same one
// message, word for word.
TEST_F(Preload, AFailureFoundByTheReaderIsReportedAsALoadOfTheWindowReportsIt) {
    const std::vector<std::pair<const char*, std::function<void()>>> damages{
        {"a missing file", [&] { QFile::remove(path(u"summon_slave.txt"_s)); }},
        {"a blank line",
         [&] { writeBytes(u"mob_drop_db.txt"_s, readBytes(u"mob_drop_db.txt"_s) + "\r\n"); }},
        {"bytes that are not code page 932",
         [&] { writeBytes(u"mob_emote_db.txt"_s, QByteArray("KAPPA,IDLE_ST,1\r\n\x82\r\n", 20)); }},
        {"no monster after the placeholder",
         [&] {
             const QByteArray stat = readBytes(u"mob_stat_db.txt"_s);
             writeBytes(u"mob_stat_db.txt"_s, stat.left(stat.indexOf('\n') + 1));
         }},
        {"no metamorphosis record", [&] { writeBytes(u"mob_morph_db.txt"_s, {}); }},
        {"a folder by a file's name",
         [&] {
             QFile::remove(path(u"mob_mvp_db.txt"_s));
             QDir(dir.path()).mkdir(u"mob_mvp_db.txt"_s);
         }},
    };
    for (const auto& [what, damage] : damages) {
        QDir(path(u"mob_mvp_db.txt"_s)).removeRecursively();
        copySample();
        damage();
        messages.messages.clear();
        ASSERT_EQ(start(), MainWindow::StartResult::Failed) << what;
        ASSERT_EQ(messages.messages.size(), 1u) << what;
        const RecordingMessageSink::Message said = messages.messages[0];
        window.reset();
        messages.messages.clear();
        ASSERT_EQ(startPreloaded(), MainWindow::StartResult::Failed) << what;
        ASSERT_EQ(messages.messages.size(), 1u) << what;
        EXPECT_EQ(messages.messages[0].isWarning, said.isWarning) << what;
        EXPECT_EQ(messages.messages[0].title, said.title) << what;
        EXPECT_EQ(messages.messages[0].text, said.text) << what;
    }
}

}  // namespace mdb::test
