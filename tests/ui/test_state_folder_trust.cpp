// Nothing in the state folder is trusted to name a place: crafted recovery copies, planted
// symlinks and a state folder of another user or open to others make the editor read or write
// nothing outside the opened folder and its own state folder.
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>

#include "../unit/RunUnprivileged.h"
#include "EditorFixture.h"
#include "StateFolderHelpers.h"
#include "storage/FileIo.h"
#include "storage/Journal.h"
#include "storage/RecoveryCopy.h"
#include "storage/StateFolder.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class StateFolderTrust : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(victims.isValid());
        QFile file(victim());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("another user's bytes\n");
        file.close();
        ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther));
    }
    QString victim() const { return victims.filePath(u"victim.txt"_s); }
    void updateHp(const QString& hp) {
        typeInto(u"Text1(2)"_s, hp);
        control<QAction>(u"mnuRenw"_s)->trigger();
    }
    // A save that has to rewrite the files in place, and so keep recovery copies first.
    void saveInPlace() {
        const auto previous = fileio::setFaultHook(
            [](fileio::Op op) { return op == fileio::Op::OpenTemp ? EACCES : 0; });
        control<QAction>(u"MunFileSave"_s)->trigger();
        fileio::setFaultHook(previous);
    }
    QString lastWarning() const {
        for (auto m = messages.messages.rbegin(); m != messages.messages.rend(); ++m) {
            if (m->isWarning) return m->text;
        }
        return {};
    }

    FreshStateHome state;
    QTemporaryDir victims;  // a folder outside both, with a file of someone else's
};

TEST_F(StateFolderTrust, CraftedRecoveryCopiesNameNothingOutsideTheOpenedFolder) {
    copySample();
    ASSERT_TRUE(QFile::link(victim(), path(u"linked.txt"_s)));
    ASSERT_TRUE(QFile::link(victims.path(), path(u"sub"_s)));
    // an absolute path, a way out by "..", a symlinked file and a symlinked folder
    const QStringList named{
        victim(), dir.path() + u"/../"_s + QFileInfo(victims.path()).fileName() + u"/victim.txt"_s,
        path(u"linked.txt"_s), path(u"sub/victim.txt"_s)};
    QStringList copies;
    for (const QString& target : named) {
        const KeptCopy kept = keepRecoveryCopy(QDir(dir.path()), QFile::encodeName(target),
                                               "crafted old bytes\n", "crafted new bytes\n");
        ASSERT_EQ(kept.error, 0) << target.toStdString();
        copies << QFile::decodeName(kept.path);
    }
    const auto outside = treeOf(victims.path());

    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(treeOf(victims.path()), outside);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"ファイルの復旧"_s);
    for (const QString& copy : copies) {
        EXPECT_TRUE(messages.messages[0].text.contains(copy)) << copy.toStdString();
        EXPECT_TRUE(QFile::exists(copy)) << "left for the user to look at";
    }
    EXPECT_FALSE(QFileInfo::exists(state.path() + u"/monster-db-editor/aside"_s));

    // the work and its save go on in the opened folder alone
    updateHp(u"4321"_s);
    control<QAction>(u"MunFileSave"_s)->trigger();
    EXPECT_TRUE(readBytes(u"mob_stat_db.txt"_s).contains(",4321,"));
    EXPECT_EQ(treeOf(victims.path()), outside);
}

TEST_F(StateFolderTrust, SymlinksPlantedInTheStateFolderAreNeverFollowed) {
    copySample();
    const QByteArray drops = readBytes(u"mob_drop_db.txt"_s);
    // a recovery folder moved elsewhere and linked back, holding a copy that would put other
    // bytes into the drop file
    const KeptCopy kept =
        keepRecoveryCopy(QDir(dir.path()), QFile::encodeName(path(u"mob_drop_db.txt"_s)),
                         "KAPPA,501,1\r\n", drops + "KAPPA,502,1\r\n");
    ASSERT_EQ(kept.error, 0);
    const QString recovery = stateFolderPath(u"recovery"_s);
    ASSERT_TRUE(QDir().rename(recovery, victims.filePath(u"recovery"_s)));
    ASSERT_TRUE(QFile::link(victims.filePath(u"recovery"_s), recovery));
    // the journal's replacement name, linked to someone else's file
    ASSERT_FALSE(stateFolder(u"journal"_s).isEmpty());
    const QString journalNew = Journal::pathFor(dir.path()) + u".new"_s;
    ASSERT_TRUE(QFile::link(victim(), journalNew));
    const auto outside = treeOf(victims.path());

    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(readBytes(u"mob_drop_db.txt"_s), drops);
    EXPECT_FALSE(QFileInfo(journalNew).isSymLink()) << "a crashed run's leftover, taken away";

    // planted again while the editor runs: the journal's first write goes beside it
    ASSERT_TRUE(QFile::link(victim(), journalNew));
    updateHp(u"4321"_s);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(Journal::pathFor(dir.path())).constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(treeOf(victims.path()), outside);

    // a rewrite in place needs a recovery copy, and the linked folder is not used for it: the
    // file stays as it was, and the message names the folder and why
    messages.messages.clear();
    saveInPlace();
    EXPECT_EQ(treeOf(victims.path()), outside);
    EXPECT_FALSE(readBytes(u"mob_stat_db.txt"_s).contains(",4321,"));
    const QString said = lastWarning();
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(recovery))) << said.toStdString();
    EXPECT_TRUE(said.contains(u"シンボリックリンク"_s)) << said.toStdString();
}

TEST_F(StateFolderTrust, AStateFolderOpenToOthersOrOfAnotherUserIsNotUsed) {
    copySample();
    const QString editorState = stateFolder();
    ASSERT_FALSE(editorState.isEmpty());
    ASSERT_EQ(::chmod(QFile::encodeName(editorState).constData(), 0777), 0);
    const auto before = treeOf(state.path());

    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    updateHp(u"4321"_s);
    QString said = lastWarning();
    EXPECT_TRUE(said.contains(u"他のユーザーが書き込めます"_s)) << said.toStdString();
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(editorState))) << said.toStdString();
    saveInPlace();
    said = lastWarning();
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(stateFolderPath(u"recovery"_s))))
        << said.toStdString();
    EXPECT_TRUE(said.contains(u"状態フォルダを使えません"_s)) << said.toStdString();
    EXPECT_EQ(treeOf(state.path()), before);
    window.reset();

    // the superuser running with another user's state folder (another user's HOME) leaves it
    // alone
    if (::geteuid() != 0) return;
    ASSERT_EQ(::chmod(QFile::encodeName(editorState).constData(), 0700), 0);
    ASSERT_TRUE(testing::giveToNobody(editorState));
    const auto nobodys = treeOf(state.path());
    messages.messages.clear();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    updateHp(u"4321"_s);
    said = lastWarning();
    EXPECT_TRUE(said.contains(u"所有者が別のユーザー"_s)) << said.toStdString();
    EXPECT_EQ(treeOf(state.path()), nobodys);
}

}  // namespace mdb::test
