#include <QMessageBox>
#include <QPushButton>

#include "WindowFixture.h"
#include "app/CommandLine.h"
#include "app/Translations.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class CommandLineStart : public WindowFixture {};

TEST_F(CommandLineStart, AFolderOrAFileInItNamesTheDatabaseWhereverTheProgramRuns) {
    copySample();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));

    const CommandLine folder = CommandLine::parse({u"monster-db-editor"_s, dir.path()});
    const CommandLine file =
        CommandLine::parse({u"monster-db-editor"_s, path(u"mob_stat_db.txt"_s)});
    const CommandLine none = CommandLine::parse({u"monster-db-editor"_s});
    const CommandLine missing = CommandLine::parse({u"monster-db-editor"_s, dir.path() + u"/no"_s});
    const CommandLine two = CommandLine::parse({u"monster-db-editor"_s, dir.path(), dir.path()});

    EXPECT_EQ(folder.action, CommandLine::Action::Run);
    EXPECT_EQ(folder.databaseDir.canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(file.databaseDir.canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(none.databaseDir.canonicalPath(), QDir(elsewhere.path()).canonicalPath());
    EXPECT_EQ(missing.action, CommandLine::Action::Error);
    EXPECT_TRUE(missing.text.contains(dir.path() + u"/no"_s));
    EXPECT_EQ(two.action, CommandLine::Action::Error);

    // the window reads the named folder, not the current one (which holds no database)
    window = std::make_unique<MainWindow>(folder.databaseDir, messages);
    const MainWindow::StartResult result = window->startUp();
    QDir::setCurrent(before);
    ASSERT_EQ(result, MainWindow::StartResult::Started);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_GT(window->database().StatusTable.Count(), 1);

    EXPECT_EQ(CommandLine::parse({u"e"_s, u"--help"_s}).action, CommandLine::Action::Help);
    EXPECT_TRUE(CommandLine::parse({u"e"_s, u"-h"_s}).text.contains(u"monster-db-check"_s));
    const CommandLine version = CommandLine::parse({u"e"_s, u"--version"_s});
    EXPECT_EQ(version.action, CommandLine::Action::Version);
    EXPECT_TRUE(version.text.startsWith(u"monster-db-editor "_s));
    EXPECT_EQ(CommandLine::parse({u"e"_s, u"--bogus"_s}).action, CommandLine::Action::Error);
}

TEST(QtTranslations, StandardButtonsReadJapaneseUnderAnEnglishLocale) {
    const QLocale systemLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto buttonTexts = [] {
        QMessageBox box(QMessageBox::Warning, u"t"_s, u"x"_s,
                        QMessageBox::Cancel | QMessageBox::Save | QMessageBox::Discard |
                            QMessageBox::Yes | QMessageBox::No);
        QStringList texts;
        for (auto b : {QMessageBox::Cancel, QMessageBox::Save, QMessageBox::Discard,
                       QMessageBox::Yes, QMessageBox::No}) {
            texts << box.button(b)->text();
        }
        return texts;
    };
    EXPECT_EQ(buttonTexts().value(0), u"Cancel"_s);
    {
        QObject owner;
        ASSERT_TRUE(installQtTranslations(&owner));
        EXPECT_EQ(buttonTexts(), (QStringList{u"キャンセル"_s, u"保存"_s, u"変更を破棄"_s,
                                              u"はい(&Y)"_s, u"いいえ(&N)"_s}));
    }
    // the translator goes with its owner, so that the other tests see Qt's own texts
    EXPECT_EQ(buttonTexts().value(0), u"Cancel"_s);
    QLocale::setDefault(systemLocale);
}

}  // namespace mdb::test
