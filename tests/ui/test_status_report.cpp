// What the window tells the user after a command: the status bar's message, the folder it
// edits, and the title's marker of unsaved updates.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <cerrno>

#include "EditorFixture.h"
#include "storage/FileIo.h"
#include "ui/commands/StatusLine.h"
#include "ui/commands/StatusReport.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class StatusReportTest : public EditorFixture {
protected:
    QString shown() const { return control<StatusLine>(u"statusLine"_s)->message(); }
    // The records of an item file as its lines count them: one a line that begins with an ID.
    int recordLines(const QString& fileName) const {
        int records = 0;
        for (const QByteArray& line : readBytes(fileName).split('\n')) {
            records += !line.isEmpty() && line.at(0) >= '0' && line.at(0) <= '9';
        }
        return records;
    }
};

TEST_F(StatusReportTest, UpdateSaveFailedSaveAndFailedSearchSayWhatHappened) {
    startSample();
    window->show();
    const QString title = u"Tornak MonsterDatabase Editor II"_s;
    EXPECT_EQ(window->windowTitle(), title + u"[*]"_s);
    EXPECT_FALSE(window->isWindowModified());
    const auto* folder = control<QLabel>(u"statusFolder"_s);
    EXPECT_TRUE(folder->text().contains(QDir::toNativeSeparators(dir.path())))
        << folder->text().toStdString();

    // an update names the monster and counts the fields it changed, in every table
    show(u"KAPPA_KING"_s);
    enableFrame(u"Frame2"_s);
    typeInto(u"Text1(2)"_s, u"777"_s);
    typeInto(u"Text6(0)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    EXPECT_EQ(shown(), u"更新しました: 河童,大将 (KAPPA_KING)（2 項目）"_s);
    EXPECT_TRUE(window->isWindowModified());
    // an update that changes nothing says so, and keeps the marker of the earlier one
    trigger(u"mnuRenw"_s);
    EXPECT_EQ(shown(), u"更新しました: 河童,大将 (KAPPA_KING)（変更された項目はありません）"_s);
    EXPECT_TRUE(window->isWindowModified());

    // a failed save names the file it stopped at and keeps the marker
    {
        const auto previous =
            fileio::setFaultHook([](fileio::Op op) { return op == fileio::Op::Sync ? EIO : 0; });
        trigger(u"MunFileSave"_s);
        fileio::setFaultHook(previous);
    }
    ASSERT_EQ(messages.messages.size(), 1u);
    messages.messages.clear();
    EXPECT_TRUE(shown().startsWith(u"上書き保存できませんでした: mob_stat_db.txt"_s))
        << shown().toStdString();
    EXPECT_TRUE(window->isWindowModified());

    // a save tells how many files it wrote and when, and clears the marker
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(shown().startsWith(u"上書き保存しました: 7 ファイル（"_s)) << shown().toStdString();
    EXPECT_FALSE(window->isWindowModified());

    // a name search that finds nothing says so, although the first monster is shown
    control<QLineEdit>(u"Text10"_s)->setText(u"zzz"_s);
    EXPECT_EQ(shown(), u"名前検索: 「zzz」で始まるモンスターはいません"_s);
    control<QLineEdit>(u"Text9"_s)->setText(u"99999"_s);
    EXPECT_EQ(shown(), u"ID検索: ID「99999」のモンスターはいません"_s);

    // the item load counts what it read, file by file
    trigger(u"mnuIdbLoad"_s);
    const int consume = recordLines(u"item_consume_db.txt"_s);
    const int drops = recordLines(u"item_drop_db.txt"_s);
    const int equip = recordLines(u"item_equip_db.txt"_s);
    ASSERT_NE(drops, equip);  // a mix-up of the two must show
    EXPECT_EQ(shown(),
              u"アイテムDBを読み込みました: 消耗品 %1 件、ドロップ %2 件、装備 %3 件（計 %4 件）"_s
                  .arg(consume)
                  .arg(drops)
                  .arg(equip)
                  .arg(consume + drops + equip));
}

// The outer size of each view is the designed client area, scaled, with the menu bar above it
// and the status bar below it: the status bar takes nothing from the designed area.
TEST_F(StatusReportTest, TheStatusBarComesOnTopOfTheDesignedClientArea) {
    startSample();
    window->show();
    const int bars =
        window->menuBar()->sizeHint().height() + window->statusBar()->sizeHint().height();
    EXPECT_EQ(window->centralWidget()->height(), window->height() - bars);
    const QWidget* row = control<QWidget>(u"commandRow"_s);
    EXPECT_EQ(row->geometry().bottom() + 1, window->centralWidget()->height());
}

}  // namespace mdb::test
