#include <QSettings>

#include "WindowFixture.h"
#include "app/CommandLine.h"
#include "app/InstanceGuard.h"
#include "app/StartFolder.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

// Answers the folder dialog as a user would, and records where it was opened.
class AnsweringFolderDialog : public FolderDialog {
public:
    std::optional<QString> askForDatabaseFolder(const QString& startAt) override {
        openedAt << startAt;
        return answer;
    }
    std::optional<QString> answer;
    QStringList openedAt;
};

// Runs a test in `folder` as the current folder, as a start from the desktop menu runs in the
// home folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : before_(QDir::currentPath()) {
        EXPECT_TRUE(QDir::setCurrent(folder));
    }
    ~CurrentFolder() { QDir::setCurrent(before_); }

private:
    QString before_;
};

}  // namespace

// The settings live in a file of their own in a temporary folder, never the user's.
class StartFolderChoice : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(empty.isValid());
        ASSERT_TRUE(config.isValid());
    }
    QString settingsFile() const { return config.filePath(u"editor.conf"_s); }

    QTemporaryDir empty;
    QTemporaryDir config;
    AnsweringFolderDialog dialog;
};

TEST_F(StartFolderChoice, AnEmptyFolderAsksAndTheChosenFolderStartsAndIsRememberedForNextTime) {
    copySample();
    CurrentFolder cwd(empty.path());
    const CommandLine line = CommandLine::parse({u"monster-db-editor"_s});
    ASSERT_TRUE(StartFolder::needsAsking(line));

    QSettings settings(settingsFile(), QSettings::IniFormat);
    StartFolder folder(settings, dialog);
    dialog.answer = dir.path();
    const std::optional<QDir> chosen = folder.choose(line);
    ASSERT_TRUE(chosen.has_value());
    // nothing used before: the dialog opens at home
    EXPECT_EQ(dialog.openedAt, QStringList{QDir::homePath()});
    EXPECT_EQ(chosen->canonicalPath(), QDir(dir.path()).canonicalPath());

    // the window reads the chosen folder, as if it had been named
    window = std::make_unique<MainWindow>(*chosen, messages);
    ASSERT_EQ(window->startUp(), MainWindow::StartResult::Started);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_GT(window->database().StatusTable.Count(), 1);
    EXPECT_TRUE(folder.lastUsed().isEmpty()) << "remembered before the start succeeded";
    folder.remember(*chosen);

    // the next start from the menu opens the dialog there
    QSettings again(settingsFile(), QSettings::IniFormat);
    StartFolder next(again, dialog);
    EXPECT_EQ(QDir(next.lastUsed()).canonicalPath(), QDir(dir.path()).canonicalPath());
    dialog.answer.reset();
    EXPECT_FALSE(next.choose(line).has_value());
    ASSERT_EQ(dialog.openedAt.size(), 2);
    EXPECT_EQ(QDir(dialog.openedAt[1]).canonicalPath(), QDir(dir.path()).canonicalPath());
}

TEST_F(StartFolderChoice, CancelChoosesNothingAndWritesNothing) {
    CurrentFolder cwd(empty.path());
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        StartFolder folder(settings, dialog);
        EXPECT_FALSE(folder.choose(CommandLine::parse({u"monster-db-editor"_s})).has_value());
        EXPECT_EQ(dialog.openedAt.size(), 1);
    }
    EXPECT_TRUE(QDir(config.path()).isEmpty()) << "settings written";
    EXPECT_TRUE(QDir(empty.path()).isEmpty()) << "files written into the current folder";
}

TEST_F(StartFolderChoice, ANamedFolderOrACurrentFolderWithAnyDatabaseFileIsUsedWithoutAsking) {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    StartFolder folder(settings, dialog);

    // named on the command line: even an empty folder is not second-guessed
    const std::optional<QDir> named =
        folder.choose(CommandLine::parse({u"monster-db-editor"_s, empty.path()}));
    ASSERT_TRUE(named.has_value());
    EXPECT_EQ(named->canonicalPath(), QDir(empty.path()).canonicalPath());

    // the current folder with one of the seven files is meant: the start names what is missing
    copySample({u"mob_stat_db.txt"_s, u"mob_drop_db.txt"_s});
    CurrentFolder cwd(dir.path());
    const CommandLine line = CommandLine::parse({u"monster-db-editor"_s});
    EXPECT_FALSE(StartFolder::needsAsking(line));
    const std::optional<QDir> current = folder.choose(line);
    ASSERT_TRUE(current.has_value());
    EXPECT_EQ(current->canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_TRUE(dialog.openedAt.isEmpty());
    window = std::make_unique<MainWindow>(*current, messages);
    EXPECT_EQ(window->startUp(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"ファイルオープンエラー"_s);
    EXPECT_TRUE(messages.messages[0].text.startsWith(u"プログラム起動に必要な"_s));

    // a folder remembered from an earlier start that is gone since: the dialog opens at home
    folder.remember(QDir(empty.path() + u"/gone"_s));
    CurrentFolder inEmpty(empty.path());
    folder.choose(CommandLine::parse({u"monster-db-editor"_s}));
    EXPECT_EQ(dialog.openedAt, QStringList{QDir::homePath()});
}

TEST(StartGuard, AskedBeforeTheFolderDialogAndAgainAtTheLoadStepTheAnswerStays) {
    QTemporaryDir folder;
    SingleInstanceGuard first(folder.path());
    ASSERT_FALSE(first.anotherInstanceRunning());
    // asked again by the window's load step: still the owner, and still holding the lock
    EXPECT_FALSE(first.anotherInstanceRunning());
    SingleInstanceGuard second(folder.path());
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_TRUE(second.anotherInstanceRunning());
}

}  // namespace mdb::test
