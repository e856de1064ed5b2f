// The journal of unsaved updates at its seams: it belongs to one folder, not to a name or a path;
// a second editor on the folder is turned away before it writes anything; closing the restore
// question puts it off; what crashed runs left is cleared at the next start, and a start that
// is refused writes nothing at all.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include "EditorFixture.h"
#include "StateFolderHelpers.h"
#include "storage/Journal.h"
#include "storage/StateFolder.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class JournalSeams : public EditorFixture {
protected:
    static void copySampleTo(const QString& folder) {
        ASSERT_TRUE(QDir().mkpath(folder));
        const QDir sample(QStringLiteral(MDB_SAMPLE_DIR));
        for (const QString& name : sample.entryList({u"*.txt"_s}, QDir::Files)) {
            ASSERT_TRUE(QFile::copy(sample.filePath(name), QDir(folder).filePath(name)));
        }
    }
    MainWindow::StartResult startOn(const QString& folder) {
        messages.messages.clear();
        window = std::make_unique<MainWindow>(QDir(folder), messages);
        return window->startUp();
    }
    void updateHp(const QString& hp) {
        typeInto(u"Text1(2)"_s, hp);
        control<QAction>(u"mnuRenw"_s)->trigger();
    }
    QString hp() const { return window->database().StatusTable.field(2, StatusField::Hp); }
    QString question() const {
        for (const auto& m : messages.messages) {
            if (m.isQuestion) return m.text;
        }
        return {};
    }
    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void put(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        f.write(bytes);
    }

    FreshStateHome state;
    const QString offer = u"前回保存されなかった更新が 1 件あります。復元しますか？"_s;
};

TEST_F(JournalSeams, AJournalBelongsToItsFolderNotToItsNameNorToItsPath) {
    const QString a = dir.filePath(u"a/db"_s);
    const QString b = dir.filePath(u"b/db"_s);
    copySampleTo(a);
    copySampleTo(b);
    ASSERT_EQ(startOn(a), MainWindow::StartResult::Started);
    updateHp(u"4321"_s);
    window.reset();
    const QString journal = Journal::pathFor(a);
    ASSERT_TRUE(QFile::exists(journal));

    // a folder of the same name elsewhere, holding the same files, is offered nothing
    ASSERT_EQ(startOn(b), MainWindow::StartResult::Started);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_NE(hp(), u"4321"_s);
    window.reset();
    EXPECT_TRUE(QFile::exists(journal));

    // another folder later put under a's path is not a: nothing applied, the journal kept aside
    // and the user told where such journals are and for how long
    ASSERT_TRUE(QDir().rename(a, a + u"-moved"_s));
    copySampleTo(a);
    ASSERT_EQ(startOn(a), MainWindow::StartResult::Started);
    EXPECT_NE(hp(), u"4321"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    const QString said = messages.messages[0].text;
    EXPECT_TRUE(said.contains(u"別のフォルダ"_s)) << said.toStdString();
    EXPECT_TRUE(
        said.contains(QDir::toNativeSeparators(QFileInfo(journal).path()) + u" にあり、30 日"_s))
        << said.toStdString();
    EXPECT_FALSE(QFile::exists(journal));
}

// Two editors of one user on one folder (from two machines sharing the home, say): the second
// says the folder is in use and ends, leaving the folder and the first one's journal as they
// were.
TEST_F(JournalSeams, ASecondEditorOnTheFolderSaysSoEndsAndWritesNothing) {
    copySample();
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    first.setProcessEnvironment(env);
    first.start(QString::fromLocal8Bit(MDB_UPDATE_DRIVER), {dir.path(), u"4321"_s});
    ASSERT_TRUE(first.waitForStarted(10000));
    QByteArray out;
    while (!out.contains("ready") && first.waitForReadyRead(30000)) out += first.readAll();
    ASSERT_TRUE(out.contains("ready")) << out.constData();
    const auto folder = treeOf(dir.path());
    const auto kept = treeOf(state.path());

    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"編集中のフォルダ"_s);
    EXPECT_TRUE(messages.messages[0].text.contains(QDir::toNativeSeparators(dir.path())));
    EXPECT_EQ(treeOf(dir.path()), folder);
    EXPECT_EQ(treeOf(state.path()), kept);
    window.reset();

    // the first one's work is whole: offered once it is gone
    ::kill(pid_t(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished(30000));
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(question(), offer);
    EXPECT_EQ(hp(), u"4321"_s);
}

// The restore question as the user meets it: Escape and the close button mean "later", which
// applies nothing, deletes nothing and asks again at the next start.
TEST_F(JournalSeams, EscapeOrTheCloseButtonOnTheRestoreQuestionPutItOff) {
    copySample();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    updateHp(u"4321"_s);
    window.reset();
    const QString journalPath = Journal::pathFor(dir.path());
    const QByteArray journal = bytesOf(journalPath);
    ASSERT_FALSE(journal.isEmpty());

    for (const bool escape : {true, false}) {
        DialogMessageSink dialogs(nullptr);
        QStringList shown;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(top);
                if (!box || !box->isVisible()) continue;
                shown << box->text();
                // a box that keeps coming back is ended, so that a fault fails, not hangs
                if (shown.size() > 3) {
                    box->buttons().first()->click();
                } else if (escape) {
                    QTest::keyClick(box, Qt::Key_Escape);
                } else {
                    box->close();
                }
                return;
            }
        });
        answer.start(20);
        window = std::make_unique<MainWindow>(QDir(dir.path()), dialogs);
        EXPECT_EQ(window->startUp(), MainWindow::StartResult::Started);
        answer.stop();
        EXPECT_EQ(shown.size(), 1) << shown.join(u"\n"_s).toStdString();
        EXPECT_TRUE(shown.value(0).startsWith(offer)) << shown.value(0).toStdString();
        EXPECT_NE(hp(), u"4321"_s) << (escape ? "Escape" : "close button");
        EXPECT_EQ(bytesOf(journalPath), journal);
        window.reset();
    }
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(question(), offer);
    EXPECT_EQ(hp(), u"4321"_s);  // restored, the default answer
}

TEST_F(JournalSeams, WhatCrashedRunsLeftGoesAtTheNextStartAndNothingElse) {
    copySample();
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"victim.txt"_s);
    put(target, "someone else's\n");
    // temporary files of saves cut short, and names that only look like them
    const QStringList strays{u".mob_stat_db.txt.0123abcd.tmp"_s,
                             u".summon_slave.txt.ffffffff.tmp"_s};
    const QStringList others{u".mob_stat_db.txt.0123abcz.tmp"_s, u"mob_stat_db.txt.0123abcd.tmp"_s,
                             u".notes.txt.0123abcd.tmp"_s};
    for (const QString& name : strays + others) put(path(name), "x");
    ASSERT_TRUE(QFile::link(target, path(u".mob_drop_db.txt.00000000.tmp"_s)));
    // made by a run before this one
    for (const QString& name :
         QDir(dir.path()).entryList({u".*.tmp"_s}, QDir::Files | QDir::Hidden)) {
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(path(name)).constData(), times,
                    AT_SYMLINK_NOFOLLOW);
    }
    // a journal replacement cut short before its rename; journals set aside a month and more
    // ago (this folder's and another's), a day ago, and a file that is not the editor's
    const QString journals = stateFolder(u"journal"_s);
    ASSERT_FALSE(journals.isEmpty());
    const QString own = Journal::pathFor(dir.path());
    const QString other = journals + u"/0123456789abcdef0123456789abcdef.journal"_s;
    const auto stamp = [](int daysAgo) {
        return QDateTime::currentDateTimeUtc().addDays(-daysAgo).toString(u"yyyyMMddHHmmss"_s);
    };
    const QStringList old{own + u".changed-"_s + stamp(31),
                          other + u".other-folder-"_s + stamp(40) + u"-1"_s};
    const QStringList recent{own + u".torn-"_s + stamp(1),
                             journals + u"/notes.journal.changed-20000101000000"_s};
    for (const QString& file : old + recent + QStringList{own + u".new"_s}) put(file, "journal");

    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    for (const QString& name : strays)
        EXPECT_FALSE(QFile::exists(path(name))) << name.toStdString();
    for (const QString& name : others) EXPECT_TRUE(QFile::exists(path(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo(path(u".mob_drop_db.txt.00000000.tmp"_s)).isSymLink());
    EXPECT_EQ(bytesOf(target), "someone else's\n");
    EXPECT_FALSE(QFile::exists(own + u".new"_s));
    for (const QString& file : old) EXPECT_FALSE(QFile::exists(file)) << file.toStdString();
    for (const QString& file : recent) EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
}

// A start that ends before the database is open leaves no trace, not even a state folder.
TEST_F(JournalSeams, ARefusedStartWritesNothing) {
    copySample();
    QFile::remove(path(u"mob_mvp_db.txt"_s));
    const auto folder = treeOf(dir.path());
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    EXPECT_EQ(treeOf(dir.path()), folder);
    EXPECT_TRUE(treeOf(state.path()).empty());

    // ended at the question about a quoted field over a line end (the default)
    copySample();
    QFile::remove(path(u"mob_stat_db.txt"_s));
    ASSERT_TRUE(QFile::copy(QDir(QStringLiteral(MDB_TEST_DATA_DIR))
                                .filePath(u"stat_unclosed_display_name_on_line_4.txt"_s),
                            path(u"mob_stat_db.txt"_s)));
    const auto quoted = treeOf(dir.path());
    window.reset();
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    EXPECT_FALSE(question().isEmpty());
    EXPECT_EQ(treeOf(dir.path()), quoted);
    EXPECT_TRUE(treeOf(state.path()).empty());
}

}  // namespace mdb::test
