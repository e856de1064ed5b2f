// The add commands of advanced mode: one line appended to the table's file, or a refusal that
// writes nothing; the tables in memory stay as they were, and the saves keep the added lines.
#include <QAction>
#include <QPushButton>
#include <cerrno>

#include "EditorFixture.h"
#include "storage/FileIo.h"
#include "ui/commands/ViewModes.h"
#include "ui/editors/DropEditor.h"
#include "ui/editors/EmoteEditor.h"
#include "ui/editors/MvpEditor.h"
#include "ui/editors/RelatedMonsterEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kRestart = u"このデータを編集するにはプログラムを再起動して下さい"_s;
const QString kBadInput = u"入力データ内容が正しくありません"_s;

QString confirmation(const QString& added, const QString& then) {
    return MessageSink::joinLines({added, then, QString(),
                                   u"－－－－－－－－－ご注意－－－－－－－－－"_s, QString(),
                                   u"追加した項目はＤＢを上書き保存しても失われません"_s});
}
QString exists(const QString& what) {
    return MessageSink::joinLines({u"既にこのモンスターには%1データが存在します"_s.arg(what),
                                   u"データが存在していないモンスターのみ追加可能です"_s});
}
QString skillText(const QString& what, const QString& skill) {
    return u"%1を可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの%2を新項目で"
           u"追加して下さい"_s.arg(what, skill);
}
QString added(const QString& what) {
    return u"モンスターの%1データを追加しました。このデータを編集するにはプログラムを再起動して下さい"_s
        .arg(what);
}

}  // namespace

class AddEntries : public EditorFixture {
protected:
    // Full view and advanced mode, as a user who adds entries works.
    void begin() {
        ASSERT_EQ(start(), MainWindow::StartResult::Started);
        trigger(u"mnuProf"_s);
        trigger(u"mnuMenu2"_s);     // the add entries follow the view that advanced mode enters
        messages.messages.clear();  // the advanced mode's warning
    }
    // Shows a monster and unlocks the editors that have no record of it.
    void showForAdding(const QString& name) {
        show(name);
        click(u"Command8"_s);
    }
    void pick(const QString& comboName, const QString& monster) {
        combo(comboName)->setCurrentIndex(statusRecord(monster) - 1);
    }
    // What a file holds after `before`, which it must begin with.
    std::string after(const QString& fileName, const QByteArray& before) const {
        const QByteArray bytes = readBytes(fileName);
        EXPECT_TRUE(bytes.startsWith(before)) << fileName.toStdString();
        return bytes.mid(before.size()).toStdString();
    }
    // The one message shown since the last call.
    QString message() {
        EXPECT_EQ(messages.messages.size(), 1u);
        const QString text = messages.messages.empty() ? QString() : messages.messages[0].text;
        messages.messages.clear();
        return text;
    }
};

TEST_F(AddEntries, DropMvpAndEmotionAppendTheirLineOrRefuse) {
    copySample();
    begin();
    const QString drops = u"mob_drop_db.txt"_s, mvps = u"mob_mvp_db.txt"_s,
                  emotes = u"mob_emote_db.txt"_s;
    const QByteArray drop = readBytes(drops), mvp = readBytes(mvps), emote = readBytes(emotes);
    const qint32 dropCount = window->database().DropTable.Count();

    showForAdding(u"CHOCHIN"_s);  // no record in any table
    typeInto(u"Text5(0)"_s, u"501"_s);
    typeInto(u"Text6(0)"_s, u"2500"_s);
    control<QPushButton>(u"Command6"_s)->click();
    EXPECT_EQ(message(),
              confirmation(u"この[NameID]モンスターのドロップデータを追加しました"_s, kRestart));
    const std::string line = "CHOCHIN,501,2500,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n";
    EXPECT_EQ(after(drops, drop), line);
    // the menu entry runs the same command, and refuses a second line for the same monster
    // although the tables in memory do not hold the first
    trigger(u"mnuDdrIns"_s);
    EXPECT_EQ(message(), exists(u"ドロップ"_s));
    EXPECT_EQ(after(drops, drop), line);
    EXPECT_EQ(window->database().DropTable.Count(), dropCount);
    EXPECT_EQ(caption(u"Label3"_s), QString());

    // MVP: the monster picked, and its first special item, are the least a line needs; the
    // item's rate alone is not enough
    pick(u"Combo8A"_s, u"CHOCHIN"_s);
    typeInto(u"Text8(2)"_s, u"3000"_s);
    control<QPushButton>(u"Command9"_s)->click();
    EXPECT_EQ(message(),
              MessageSink::joinLines(
                  {kBadInput, u"最低 ＭＶＰモンスターと特別アイテム＃１を設定して下さい"_s}));
    typeInto(u"Text8A(2)"_s, u"1103"_s);
    trigger(u"mnuMvpIns"_s);
    EXPECT_EQ(message(), confirmation(u"モンスターのＭＶＰデータを追加しました"_s, kRestart));
    // boxes that show no record are written as they read: empty
    EXPECT_EQ(after(mvps, mvp), "CHOCHIN,,,,,1103,3000,,,,\r\n");
    // a monster picked in the editor that has a record of its own is refused like the shown one
    pick(u"Combo8A"_s, u"TENGU_LORD"_s);
    control<QPushButton>(u"Command9"_s)->click();
    EXPECT_EQ(message(), exists(u"ＭＶＰ"_s));

    // emotion: without a state nothing is added
    pick(u"Combo14"_s, u"CHOCHIN"_s);
    control<QPushButton>(u"Command10"_s)->click();
    EXPECT_EQ(message(),
              MessageSink::joinLines({kBadInput, u"モンスター名と状況を設定して下さい"_s}));
    EXPECT_EQ(readBytes(emotes), emote);
    combo(u"Combo14B"_s)->setCurrentIndex(0);
    typeInto(u"Text14"_s, u"12"_s);
    trigger(u"mnuEmoIns"_s);
    EXPECT_EQ(message(), confirmation(added(u"エモーション"_s),
                                      skillText(u"エモーション"_s, u"エモーションスキル"_s)));
    EXPECT_EQ(after(emotes, emote), "CHOCHIN,IDLE_ST,12\r\n");
    // the same state again is refused; another state of the same monster is a record of its own
    control<QPushButton>(u"Command10"_s)->click();
    EXPECT_EQ(message(), exists(u"エモーション"_s));
    combo(u"Combo14B"_s)->setCurrentIndex(1);
    control<QPushButton>(u"Command10"_s)->click();
    message();
    const std::string emoteLines = after(emotes, emote);
    EXPECT_TRUE(emoteLines.starts_with("CHOCHIN,IDLE_ST,12\r\nCHOCHIN,") &&
                emoteLines.find("IDLE_ST", 10) == std::string::npos)
        << emoteLines;

    // a monster shown with its drop record is refused, and so is a value the file cannot hold
    showForAdding(u"KAPPA_KING"_s);
    control<QPushButton>(u"Command6"_s)->click();
    EXPECT_EQ(message(), exists(u"ドロップ"_s));
    showForAdding(u"NUE"_s);
    control<QLineEdit>(u"Text6(0)"_s)->setText(u"25é"_s);
    control<QPushButton>(u"Command6"_s)->click();
    const QString refusal = message();
    for (const QString& part : {drops, u"Rate1"_s, u"「é」"_s, u"追加しませんでした"_s}) {
        EXPECT_TRUE(refusal.contains(part)) << refusal.toStdString();
    }
    EXPECT_EQ(after(drops, drop), line);
}

TEST_F(AddEntries, RelationLinesRefusalsFailuresAndASaveThatKeepsThem) {
    copySample();
    // a last line without its line end gets one before the new line
    const QString summons = u"summon_monster.txt"_s;
    QByteArray summon = readBytes(summons);
    summon.chop(2);
    writeBytes(summons, summon);
    begin();
    const QString morphs = u"mob_morph_db.txt"_s, slaves = u"summon_slave.txt"_s;
    const QByteArray morph = readBytes(morphs), slave = readBytes(slaves);

    showForAdding(u"CHOCHIN"_s);
    pick(u"Combo6(0)"_s, u"CHOCHIN"_s);
    pick(u"Combo6(1)"_s, u"KAPPA"_s);
    editor(TableId::Morph).addButton()->click();
    EXPECT_EQ(message(), confirmation(added(u"変態"_s), skillText(u"変態"_s, u"変態可能スキル"_s)));
    pick(u"Combo10(0)"_s, u"CHOCHIN"_s);
    pick(u"Combo10(1)"_s, u"ONI"_s);
    pick(u"Combo10(3)"_s, u"GAMA"_s);
    typeInto(u"Text11"_s, u"2"_s);
    trigger(u"mnuSlaveIns"_s);
    EXPECT_EQ(message(),
              confirmation(added(u"取り巻き"_s), skillText(u"取り巻き"_s, u"取り巻きスキル"_s)));
    pick(u"Combo12(0)"_s, u"CHOCHIN"_s);
    editor(TableId::Summon).addButton()->click();
    EXPECT_EQ(message(), MessageSink::joinLines(
                             {kBadInput, u"最低 召喚主モンスターと召喚＃１を設定して下さい"_s}));
    pick(u"Combo12(1)"_s, u"NUE"_s);
    trigger(u"mnuSumIns"_s);
    EXPECT_EQ(message(), confirmation(added(u"召喚"_s), skillText(u"召喚"_s, u"召喚可能スキル"_s)));
    const std::string morphLine = "CHOCHIN,KAPPA,,,,,1\r\n",
                      slaveLine = "CHOCHIN,ONI,,GAMA,,,2\r\n", summonLine = "CHOCHIN,NUE,,,,,0\r\n";
    EXPECT_EQ(after(morphs, morph), morphLine);
    EXPECT_EQ(after(slaves, slave), slaveLine);
    EXPECT_EQ(after(summons, summon), "\r\n" + summonLine);

    // a row-0 monster with a metamorphosis record is refused although it is not the shown one
    showForAdding(u"KAPPA"_s);
    pick(u"Combo6(0)"_s, u"TANUKI"_s);
    editor(TableId::Morph).addButton()->click();
    EXPECT_EQ(message(), exists(u"変態"_s));

    // a write that fails is reported with the file and the reason, and adds nothing
    showForAdding(u"NUE"_s);
    pick(u"Combo6(0)"_s, u"NUE"_s);
    pick(u"Combo6(1)"_s, u"KAPPA"_s);
    {
        const auto previous = fileio::setFaultHook(
            [](fileio::Op op) { return op == fileio::Op::Write ? ENOSPC : 0; });
        editor(TableId::Morph).addButton()->click();
        fileio::setFaultHook(previous);
    }
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].isWarning);
    const QString failure = message();
    EXPECT_TRUE(failure.contains(morphs) && failure.contains(u"ディスクの空き容量が足りません"_s))
        << failure.toStdString();
    EXPECT_EQ(after(morphs, morph), morphLine);

    // an update and a save write every table and keep every added line after its records,
    // behind the edited records as behind the untouched ones
    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    showForAdding(u"TANUKI"_s);
    typeInto(u"Text2"_s, u"5"_s);
    trigger(u"mnuRenw"_s);
    trigger(u"MunFileSave"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(messages.messages.empty());
    QByteArray editedMorph = morph;
    editedMorph.replace("TANUKI,TANUKI_BIG,KITSUNE,,,,2", "TANUKI,TANUKI_BIG,KITSUNE,,,,5");
    EXPECT_EQ(after(morphs, editedMorph), morphLine);
    EXPECT_EQ(after(slaves, slave), slaveLine);
    EXPECT_EQ(after(summons, summon), "\r\n" + summonLine);
    // and a restart reads them as records
    const qint32 slaveCount = window->database().SlaveTable.Count();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    EXPECT_EQ(window->database().SlaveTable.Count(), slaveCount + 1);
    EXPECT_EQ(window->database().SlaveTable.field(slaveCount + 1, 4), u"GAMA"_s);
    EXPECT_EQ(window->database().StatusTable.field(statusRecord(u"NUE"_s), StatusField::Hp),
              u"4321"_s);
}

}  // namespace mdb::test

namespace mdb::test {

// A value typed with blanks around it is appended without them (a kept blank would make the
// line quote the field), and a monster picked as the picker's first row, which stands for no
// monster, is refused as a missing monster is.
TEST_F(AddEntries, ValuesAreTrimmedAndThePickersFirstRowIsNoMonster) {
    copySample();
    begin();
    const QString drops = u"mob_drop_db.txt"_s, mvps = u"mob_mvp_db.txt"_s,
                  emotes = u"mob_emote_db.txt"_s;
    const QByteArray drop = readBytes(drops), mvp = readBytes(mvps), emote = readBytes(emotes);

    showForAdding(u"CHOCHIN"_s);
    // still in the boxes, as a menu entry finds them while the user types
    control<QLineEdit>(u"Text5(0)"_s)->setText(u" 501 "_s);
    control<QLineEdit>(u"Text6(0)"_s)->setText(u"\t2500 "_s);
    trigger(u"mnuDdrIns"_s);
    message();
    EXPECT_EQ(after(drops, drop), "CHOCHIN,501,2500,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n");

    combo(u"Combo8A"_s)->setCurrentIndex(0);  // "選 択 解 除"
    control<QLineEdit>(u"Text8A(2)"_s)->setText(u"1103"_s);
    control<QLineEdit>(u"Text8(2)"_s)->setText(u"3000"_s);
    control<QPushButton>(u"Command9"_s)->click();
    EXPECT_EQ(message(),
              MessageSink::joinLines(
                  {kBadInput, u"最低 ＭＶＰモンスターと特別アイテム＃１を設定して下さい"_s}));
    EXPECT_EQ(readBytes(mvps), mvp);

    combo(u"Combo14"_s)->setCurrentIndex(0);  // "モンスターを選択してね"
    combo(u"Combo14B"_s)->setCurrentIndex(0);
    control<QLineEdit>(u"Text14"_s)->setText(u" 12"_s);
    control<QPushButton>(u"Command10"_s)->click();
    EXPECT_EQ(message(),
              MessageSink::joinLines({kBadInput, u"モンスター名と状況を設定して下さい"_s}));
    EXPECT_EQ(readBytes(emotes), emote);
    pick(u"Combo14"_s, u"CHOCHIN"_s);
    control<QPushButton>(u"Command10"_s)->click();
    message();
    EXPECT_EQ(after(emotes, emote), "CHOCHIN,IDLE_ST,12\r\n");
}

}  // namespace mdb::test
