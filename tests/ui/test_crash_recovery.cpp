// A start after a crash in the middle of a rewrite in place puts the file's old bytes back
// before reading it, and says which file and why; a start that cannot do so stops.
#include <QFile>
#include <QLineEdit>
#include <cstring>

#include "../unit/RunUnprivileged.h"
#include "WindowFixture.h"
#include "storage/DatabaseFiles.h"
#include "storage/RecoveryCopy.h"
#include "storage/StateFolder.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class CrashRecovery : public WindowFixture {
protected:
    // What a save cut short leaves: the recovery copy in place and the file half rewritten.
    QString halfRewrite(const QString& fileName) {
        const QByteArray old = readBytes(fileName);
        QByteArray next = old;
        next.replace(",", ",1");
        const KeptCopy kept =
            keepRecoveryCopy(QDir(dir.path()), QFile::encodeName(path(fileName)), old, next);
        EXPECT_EQ(kept.error, 0);
        writeBytes(fileName, next.left(next.size() / 2) + old.mid(next.size() / 2));
        return QFile::decodeName(kept.path);
    }
};

TEST_F(CrashRecovery, AHalfRewrittenFileGetsItsOldBytesBackAndTheUserIsTold) {
    copySample();
    const QByteArray old = readBytes(u"mob_drop_db.txt"_s);
    const QString copy = halfRewrite(u"mob_drop_db.txt"_s);
    const QByteArray half = readBytes(u"mob_drop_db.txt"_s);
    ASSERT_NE(half, old);
    const QDir aside(stateFolderPath(u"aside"_s));
    const QStringList asideBefore = aside.entryList(QDir::Files);

    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(readBytes(u"mob_drop_db.txt"_s), old);
    EXPECT_FALSE(QFile::exists(copy));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"ファイルの復旧"_s);
    const QString said = messages.messages[0].text;
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(path(u"mob_drop_db.txt"_s))))
        << said.toStdString();
    // what the file held instead, neither old nor new, is kept first, and named
    QStringList kept = aside.entryList(QDir::Files);
    for (const QString& name : asideBefore) kept.removeAll(name);
    ASSERT_EQ(kept.size(), 1) << said.toStdString();
    QFile keptFile(aside.filePath(kept[0]));
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), half);
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(aside.filePath(kept[0]))))
        << said.toStdString();

    // a second start finds nothing left to put back
    messages.messages.clear();
    window.reset();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_TRUE(messages.messages.empty());
}

// The files read ahead while the window was built are those a crash left half rewritten: the
// window must show what the restore put back, not what was read before it.
TEST_F(CrashRecovery, FilesReadAheadOfTheRestoreAreReadAgainOnceItPutsOneBack) {
    copySample();
    MonsterDatabase old;
    ASSERT_FALSE(loadMonsterDatabase(QDir(dir.path()), old));
    halfRewrite(u"mob_stat_db.txt"_s);
    {
        MonsterDatabase half;
        const auto error = loadMonsterDatabase(QDir(dir.path()), half);
        ASSERT_TRUE(error || half.StatusTable.field(2, StatusField::Hp) !=
                                 old.StatusTable.field(2, StatusField::Hp));
    }

    ASSERT_EQ(startPreloaded(), MainWindow::StartResult::Started);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"ファイルの復旧"_s);
    const Table& stat = window->database().StatusTable;
    ASSERT_EQ(stat.Count(), old.StatusTable.Count());
    for (qint32 r = 1; r <= stat.Count(); ++r) {
        ASSERT_EQ(stat.field(r, StatusField::Hp), old.StatusTable.field(r, StatusField::Hp)) << r;
    }
    EXPECT_EQ(stat.sourceHash(), old.StatusTable.sourceHash());
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), old.StatusTable.field(2, StatusField::Hp));
}

TEST_F(CrashRecovery, ACopyThatIsNotWholeStopsTheStartAndIsNamed) {
    copySample();
    const QByteArray half = [&] {
        const QString copy = halfRewrite(u"mob_mvp_db.txt"_s);
        QFile file(copy);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.resize(file.size() - 3));
        return readBytes(u"mob_mvp_db.txt"_s);
    }();
    ASSERT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"ファイルの復旧"_s);
    EXPECT_TRUE(messages.messages[0].text.contains(u"壊れています"_s));
    EXPECT_EQ(readBytes(u"mob_mvp_db.txt"_s), half);  // nothing written from a broken copy
}

// The crafted unreadable file of the bad-input tests, as the unprivileged account nobody, so
// that it also runs where the tests run as the superuser.
TEST_F(WindowFixture, AnUnreadableFileStopsTheStartAsAnUnprivilegedUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "the bad-input test covers this user already";
    copySample();
    ASSERT_TRUE(testing::giveToNobody(dir.path()));
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) {
        ASSERT_TRUE(testing::giveToNobody(path(name)));
    }
    ASSERT_TRUE(QFile::setPermissions(path(u"mob_mvp_db.txt"_s), {}));
    const QString expected =
        u"不明なエラーが発生しました\r\nエラー番号 75\r\n"
        u"ファイル: mob_mvp_db.txt — 読み取りが許可されていません（%1）"_s.arg(
            QString::fromLocal8Bit(std::strerror(EACCES)));
    const testing::ChildResult child = testing::runAsNobody([&]() -> std::string {
        if (start() != MainWindow::StartResult::Failed) return "the start went on";
        if (messages.messages.size() != 1) return "not one message";
        if (messages.messages[0].text != expected) return messages.messages[0].text.toStdString();
        return {};
    });
    ASSERT_TRUE(child.ran) << child.failure;
    EXPECT_EQ(child.failure, "");
}

}  // namespace mdb::test
