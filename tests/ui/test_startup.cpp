#include <errno.h>
#include <string.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>

#include "WindowFixture.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/ListBox.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kOpenError = u"ファイルオープンエラー"_s;
const QString kMissingText =
    u"プログラム起動に必要なデータベースファイルが見つかりません\r\n"
    u"必要なデータベース全てを実行フォルダへ用意して下さい"_s;
const QString kFormatText =
    u"データベースファイル形式が不正です\r\n"
    u"空白行や//で始まる行、または未入力項目や適正値超過・入力列超過\r\n"
    u"などが　データベース内に存在するとプログラムを起動出来ません"_s;

const QStringList kMonsterFiles{
    u"mob_stat_db.txt"_s,  u"mob_drop_db.txt"_s,    u"mob_mvp_db.txt"_s,  u"mob_morph_db.txt"_s,
    u"mob_emote_db.txt"_s, u"summon_monster.txt"_s, u"summon_slave.txt"_s};

}  // namespace

class StartUp : public WindowFixture {};

TEST_F(StartUp, ShowsTheFirstMonsterWithListsFilledAndHeadingsInPlace) {
    startSample();
    MainWindow& w = *window;
    // the product title, with the place of the marker of unsaved updates
    EXPECT_EQ(w.windowTitle(), u"Tornak MonsterDatabase Editor II[*]"_s);
    EXPECT_EQ(control<QLineEdit>(u"Text0"_s)->text(), u"1"_s);
    // record 2, the first one after the placeholder
    const Table& stat = w.database().StatusTable;
    EXPECT_EQ(control<QLineEdit>(u"Text2A"_s)->text(), stat.field(2, StatusField::Name));
    EXPECT_EQ(control<QLineEdit>(u"Text4"_s)->text(), stat.field(2, StatusField::DisplayName));
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), stat.field(2, StatusField::Hp));
    EXPECT_EQ(control<QSlider>(u"Slider1"_s)->maximum(), stat.Count() - 1);
    EXPECT_EQ(control<QSlider>(u"Slider1"_s)->value(), 1);
    EXPECT_EQ(control<ListBox>(u"List4"_s)->listIndex(), 1);
    EXPECT_EQ(control<QComboBox>(u"Combo5"_s)->currentIndex(), 1);

    EXPECT_FALSE(action(u"MunFileSave"_s)->isEnabled());
    for (const QString& debug : {u"mnuDbwin1"_s, u"mnuDbwin2"_s, u"mnuDbwin3"_s}) {
        EXPECT_FALSE(action(debug)->isEnabled()) << debug.toStdString();
    }

    // headings and clear entries replace row 0; the Id and Name columns keep it
    EXPECT_EQ(control<ListBox>(u"List4"_s)->list(0), u"モンスター名"_s);
    EXPECT_EQ(control<QComboBox>(u"Combo8A"_s)->itemText(0), u"選 択 解 除"_s);
    EXPECT_EQ(control<QComboBox>(u"Combo14"_s)->itemText(0), u"モンスターを選択してね"_s);
    EXPECT_EQ(control<QComboBox>(u"Combo6(5)"_s)->itemText(0), u"選 択 解 除"_s);
    EXPECT_EQ(control<QComboBox>(u"Combo12A(0)"_s)->itemText(0), u"解 除"_s);
    EXPECT_EQ(control<QComboBox>(u"Combo10A(3)"_s)->itemText(1), stat.field(2, StatusField::Id));
    EXPECT_EQ(control<QComboBox>(u"Combo5"_s)->itemText(0), stat.field(1, StatusField::Id));
    EXPECT_EQ(control<HiddenList>(u"List8B"_s)->list(0), stat.field(1, StatusField::Name));
    EXPECT_EQ(control<HiddenList>(u"List12(4)"_s)->listCount(), stat.Count());

    // code lists: race and size on row 0 (then overwritten by the monster); the states are
    // filled unselected, then show the state of the first monster's emotion record (IDLE_ST)
    EXPECT_EQ(control<QComboBox>(u"Combo2"_s)->count(), 10);
    EXPECT_EQ(control<QComboBox>(u"Combo3"_s)->count(), 40);
    EXPECT_EQ(control<QComboBox>(u"Combo4"_s)->count(), 4);
    EXPECT_EQ(control<QComboBox>(u"Combo14B"_s)->count(), 9);
    EXPECT_EQ(control<QComboBox>(u"Combo14B"_s)->currentIndex(), 0);
    EXPECT_EQ(control<HiddenList>(u"List14B"_s)->listCount(), 9);
    EXPECT_EQ(control<HiddenList>(u"List14B"_s)->text(), u"IDLE_ST"_s);

    // the first monster has no metamorphosis record: none is selected behind its editor, so an
    // update with the editors unlocked for adding changes no other monster's record
    EXPECT_EQ(control<HiddenList>(u"List9A"_s)->listIndex(), -1);
    EXPECT_TRUE(control<QComboBox>(u"Combo6(0)"_s)->currentText().isEmpty());
    const QByteArray morphs = readBytes(u"mob_morph_db.txt"_s);
    control<QPushButton>(u"Command8"_s)->click();
    control<QLineEdit>(u"Text2"_s)->setText(u"3"_s);
    control<QPushButton>(u"Command1"_s)->click();
    control<QAction>(u"MunFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(u"mob_morph_db.txt"_s), morphs);
    // every key list holds its table's keys
    EXPECT_EQ(control<HiddenList>(u"List1"_s)->listCount(), w.database().DropTable.Count());
    EXPECT_EQ(control<HiddenList>(u"List14A"_s)->listCount(), w.database().EmoteTable.Count());
}

TEST_F(StartUp, MenuBarAndFramesAsDesigned) {
    startSample();
    MainWindow& w = *window;
    const QStringList menus{u"ファイル"_s, u"機能"_s, u"for Professional"_s, u"その他"_s};
    // the designed words, each menu with a key of its own for Alt ("(&F)" after a Japanese word)
    QStringList shown;
    QStringList keys;
    for (QAction* a : w.menuBar()->actions()) {
        shown << QString(a->text()).remove(QRegularExpression(u"\\(&.\\)$"_s)).remove(u'&');
        keys << QKeySequence::mnemonic(a->text()).toString();
    }
    EXPECT_EQ(shown, menus);
    EXPECT_EQ(keys, (QStringList{u"Alt+F"_s, u"Alt+E"_s, u"Alt+P"_s, u"Alt+O"_s}));

    struct Entry {
        QString name, caption, shortcut;
        bool enabled, checked;
    };
    const Entry entries[] = {
        {u"mnuFileSaveAsItem"_s, u"名前を付けて保存(&A)"_s, u"Ctrl+A"_s, false, false},
        {u"MunFileSave"_s, u"上書き保存(&W)"_s, u"Ctrl+W"_s, false, false},
        {u"MunFileQuit"_s, u"終了(&X)"_s, u"Ctrl+Q"_s, true, false},
        {u"mnuIdbLoad"_s, u"アイテムDBを読込"_s, u"Ctrl+L"_s, true, false},
        {u"mnuNext"_s, u"次の候補へ移動"_s, u"Ctrl+F"_s, true, false},
        {u"mnuBack"_s, u"前の候補へ移動"_s, u"Ctrl+D"_s, true, false},
        {u"mnuRenw"_s, u"現在の編集結果を反映させる(&S)"_s, u"Ctrl+S"_s, true, false},
        {u"mnuStatMenu"_s, u"ステータス編集のみ"_s, u"F1"_s, true, true},
        {u"mnuMenu2"_s, u"変態、取り巻き、召喚編集"_s, u"F2"_s, true, false},
        {u"mnuMenuMobSkill"_s, u"モンスタースキルDB編集"_s, u"F5"_s, false, false},
        {u"mnuProf"_s, u"上級モード(&P)"_s, u"Ctrl+P"_s, true, false},
        {u"mnuDdrIns"_s, u"ドロップDBへ項目を追加"_s, u"Ctrl+I"_s, false, false},
        {u"mnuMvpIns"_s, u"ＭＶＰ DBへ項目を追加"_s, u"Ctrl+J"_s, false, false},
        {u"mnuEmoIns"_s, u"エモーションDBへ項目を追加"_s, u"Ctrl+N"_s, false, false},
        {u"mnuMorpIns"_s, u"変態DBへ項目を追加"_s, u"Ctrl+K"_s, false, false},
        {u"mnuSlaveIns"_s, u"取り巻きDBへ項目を追加"_s, u"Ctrl+U"_s, false, false},
        {u"mnuSumIns"_s, u"召喚DBへ項目を追加"_s, u"Ctrl+O"_s, false, false},
        {u"mnuDbwin1"_s, u"DebugWindow#1 表示/消去"_s, u"Ctrl+F1"_s, false, false},
        {u"mnuDbwin3"_s, u"DebugWindow#3 表示/消去"_s, u"Ctrl+F3"_s, false, false},
        {u"mnuHelp"_s, u"ヘルプ(&H)"_s, u"F11"_s, false, false},
        {u"mnuHelpAbout"_s, u"バージョン(&V)"_s, u"F12"_s, true, false},
    };
    for (const Entry& e : entries) {
        QAction* action = control<QAction>(e.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), e.caption) << e.name.toStdString();
        EXPECT_EQ(action->shortcut().toString(), e.shortcut) << e.name.toStdString();
        EXPECT_EQ(action->isEnabled(), e.enabled) << e.name.toStdString();
        EXPECT_EQ(action->isChecked(), e.checked) << e.name.toStdString();
    }
    EXPECT_FALSE(control<QMenu>(u"mnuInsMaster"_s)->isEnabled());

    // the designed arrangement, in pixels of 15 twips at the least (more where the font needs
    // it): the MVP frame right of the status frame, the drop frame over the emotion frame's
    // corner, the bottom row below them, every frame meeting its neighbours
    const auto frame = [this](const char* name) {
        return control<QGroupBox>(QString::fromLatin1(name))->geometry();
    };
    EXPECT_EQ(frame("Frame1").topLeft(), QPoint(0, 0));
    EXPECT_GE(frame("Frame1").width(), 676);
    EXPECT_GE(frame("Frame1").height(), 223);
    EXPECT_EQ(frame("Frame5").topLeft(), QPoint(frame("Frame1").right() + 1, 0));
    EXPECT_EQ(frame("Frame2").topLeft(), frame("Frame1A").topLeft());
    EXPECT_EQ(frame("Frame1A").top(), frame("Frame5").bottom() + 1);
    EXPECT_EQ(frame("Frame1A").right(), frame("Frame5").right());
    EXPECT_EQ(frame("Frame9").top(), frame("Frame1A").bottom() + 1);
    EXPECT_EQ(frame("Frame9").right(), frame("Frame5").right());
    EXPECT_EQ(frame("Frame11").left(), frame("Frame7").right() + 1);
    EXPECT_EQ(frame("Frame9").left(), frame("Frame11").right() + 1);
    EXPECT_TRUE(control<QGroupBox>(u"Frame1"_s)->isEnabled());
    for (const char* name : {"Frame2", "Frame5", "Frame1A", "Frame7", "Frame9", "Frame11"}) {
        EXPECT_FALSE(control<QGroupBox>(QString::fromLatin1(name))->isEnabled()) << name;
    }
    for (const char* name : {"Frame3", "Frame6", "Frame8"}) {
        EXPECT_TRUE(control<QGroupBox>(QString::fromLatin1(name))->isHidden()) << name;
    }
}

TEST_F(StartUp, FirstMissingFileInLoadOrderEndsTheStartWithOneMessage) {
    for (const QString& missing : {u"summon_slave.txt"_s, u"mob_stat_db.txt"_s}) {
        copySample();
        QFile::remove(path(missing));
        messages.messages.clear();
        EXPECT_EQ(start(), MainWindow::StartResult::Failed) << missing.toStdString();
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_TRUE(messages.messages[0].isWarning);
        EXPECT_EQ(messages.messages[0].title, kOpenError);
        // the message names the file it misses
        EXPECT_EQ(messages.messages[0].text, kMissingText + u"\r\nファイル: "_s + missing);
    }
}

TEST_F(StartUp, BlankLineAtTheEndOfAnyFileIsTheFormatFailure) {
    for (const QString& file : kMonsterFiles) {
        copySample();
        writeBytes(file, readBytes(file) + "\r\n");
        messages.messages.clear();
        EXPECT_EQ(start(), MainWindow::StartResult::Failed) << file.toStdString();
        ASSERT_EQ(messages.messages.size(), 1u) << file.toStdString();
        EXPECT_EQ(messages.messages[0].title, kOpenError);
        // and names the file, the record and what is wrong with it, as the checker does
        const QString where = kFormatText + u"\r\nファイル: "_s + file + u" — "_s;
        EXPECT_TRUE(messages.messages[0].text.startsWith(where) &&
                    messages.messages[0].text.contains(u"件目のレコード"_s))
            << messages.messages[0].text.toStdString();
    }
}

TEST_F(StartUp, FilesTheEditorCannotWorkWithAreRefusedByName) {
    copySample();
    writeFile(
        u"mob_stat_db.txt"_s,
        u"0,DUMMY,\"DUMMY\",1,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,10,12,0,0,20,0,200,1000,500,500\r\n"_s);
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.contains(u"mob_stat_db.txt"_s));

    copySample();
    writeBytes(u"mob_morph_db.txt"_s, {});
    messages.messages.clear();
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.contains(u"mob_morph_db.txt"_s));

    // bytes that are not code page 932: named, never an unknown error
    copySample();
    writeBytes(u"mob_emote_db.txt"_s, QByteArray("KAPPA,IDLE_ST,1\r\n\x82\r\n", 20));
    messages.messages.clear();
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, kOpenError);
    EXPECT_TRUE(messages.messages[0].text.contains(u"mob_emote_db.txt"_s));
    // nothing is ever written by a failed start
    EXPECT_EQ(readBytes(u"mob_emote_db.txt"_s), QByteArray("KAPPA,IDLE_ST,1\r\n\x82\r\n", 20));
}

// A display name without its closing quote takes the next line into the record: the user is
// told where, as the checker tells it, and the start ends unless the user chooses to go on.
TEST_F(StartUp, AQuoteRunningOverALineEndIsShownAndEndsTheStartUnlessTheUserGoesOn) {
    copySample();
    QFile::remove(path(u"mob_stat_db.txt"_s));
    ASSERT_TRUE(QFile::copy(QDir(QStringLiteral(MDB_TEST_DATA_DIR))
                                .filePath(u"stat_unclosed_display_name_on_line_4.txt"_s),
                            path(u"mob_stat_db.txt"_s)));
    const QByteArray stats = readBytes(u"mob_stat_db.txt"_s);
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    const auto& question = messages.messages[0];
    EXPECT_TRUE(question.isQuestion);
    EXPECT_EQ(question.answers, (QStringList{u"起動する"_s, u"終了する"_s}));
    EXPECT_TRUE(question.text.contains(
        u"mob_stat_db.txt 4 行目: この行の「\"」で始まる項目が 5 行目まで続いています"_s))
        << question.text.toStdString();

    messages.messages.clear();
    messages.choices = {0};
    EXPECT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(readBytes(u"mob_stat_db.txt"_s), stats);
}

TEST_F(StartUp, AFileThatCannotBeOpenedIsAnUnknownErrorWithItsNumber) {
    copySample();
    QFile::remove(path(u"mob_mvp_db.txt"_s));
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"mob_mvp_db.txt"_s));  // exists, but no file to read
    EXPECT_EQ(start(), MainWindow::StartResult::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"不明なエラー"_s);
    EXPECT_EQ(messages.messages[0].text,
              u"不明なエラーが発生しました\r\nエラー番号 75\r\n"
              u"ファイル: mob_mvp_db.txt — 同じ名前のフォルダがあります（%1）"_s.arg(
                  QString::fromLocal8Bit(strerror(EISDIR))));
}

TEST_F(StartUp, FindListEntryIgnoresCaseMatchesWholeOrPrefixAndSelects) {
    startSample();
    HiddenList& names = *control<HiddenList>(u"List8B"_s);
    int clicks = 0;
    QObject::connect(&names, &HiddenList::Click, [&] { ++clicks; });
    const int kappa = findRow(*names.model(), u"KAPPA"_s, MatchMode::WholeText);
    ASSERT_GE(kappa, 0);
    EXPECT_EQ(FindListEntry(names, u"kappa"_s, MatchMode::WholeText), kappa);
    EXPECT_EQ(names.listIndex(), kappa);
    EXPECT_EQ(clicks, 1);
    // the prefix of several names finds the first of them from the top
    EXPECT_EQ(FindListEntry(names, u"kApP"_s, MatchMode::Prefix), kappa);
    EXPECT_EQ(clicks, 1);  // the same row again raises nothing
    const int king = FindListEntry(names, u"kappa_k"_s, MatchMode::Prefix);
    EXPECT_GT(king, kappa);
    EXPECT_EQ(names.list(king), u"KAPPA_KING"_s);
    // whole-text search does not take a prefix
    EXPECT_EQ(FindListEntry(names, u"KAPPA_KIN"_s, MatchMode::WholeText), -1);
    EXPECT_EQ(names.listIndex(), -1);
    EXPECT_EQ(clicks, 3);  // clearing the selection is a Click too
}

}  // namespace mdb::test
