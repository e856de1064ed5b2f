// The update copies the six dependent editors into the records their key lists select, and the
// save writes each change into its own line of its own file.
#include <QAction>
#include <QStringDecoder>
#include <map>

#include "EditorFixture.h"
#include "ui/commands/ViewModes.h"
#include "ui/editors/DropEditor.h"
#include "ui/editors/RelatedMonsterEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QStringList kFiles{u"mob_stat_db.txt"_s,  u"mob_drop_db.txt"_s,  u"mob_mvp_db.txt"_s,
                         u"mob_emote_db.txt"_s, u"mob_morph_db.txt"_s, u"summon_monster.txt"_s,
                         u"summon_slave.txt"_s};

}  // namespace

class DependentCommit : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        startSample();
        trigger(u"mnuMenu2"_s);  // the full view: every dependent frame usable
        for (const QString& name : kFiles) before[name] = lines(name);
    }
    QStringList lines(const QString& fileName) const {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        return QString(decoder.decode(readBytes(fileName))).split(u"\r\n"_s);
    }
    void update() { trigger(u"mnuRenw"_s); }
    void save() {
        trigger(u"MunFileSave"_s);
        EXPECT_TRUE(messages.messages.empty());
    }
    // Every file as loaded, except the given lines (0-based) of the given files.
    void expectFiles(const std::map<QString, std::map<int, QString>>& changed) const {
        for (const QString& name : kFiles) {
            QStringList expected = before.at(name);
            if (const auto it = changed.find(name); it != changed.end()) {
                for (const auto& [line, text] : it->second) expected[line] = text;
            }
            EXPECT_EQ(lines(name), expected) << name.toStdString();
        }
    }
    void pick(const QString& comboName, const QString& monster) {
        combo(comboName)->setCurrentIndex(statusRecord(monster) - 1);
    }

    std::map<QString, QStringList> before;
};

TEST_F(DependentCommit, EditedValuesReachTheirOwnLineOfTheirOwnFile) {
    show(u"KAPPA_KING"_s);  // drop line 2, MVP line 1, emotion line 3, slave line 1
    typeInto(u"Text6(1)"_s, u"1234"_s);
    typeInto(u"Text8(0)"_s, u"50000"_s);
    typeInto(u"Text8A(4)"_s, u"509"_s);
    typeInto(u"Text14"_s, u"7"_s);
    typeInto(u"Text11"_s, u"4"_s);
    update();
    show(u"TANUKI"_s);  // morph line 2
    pick(u"Combo6(3)"_s, u"KAPPA"_s);
    update();
    show(u"KITSUNE_NINE"_s);  // summon line 2
    typeInto(u"Text12"_s, u"3"_s);
    update();
    save();
    expectFiles({
        {u"mob_drop_db.txt"_s,
         {{1, u"KAPPA_KING,901,9000,1103,1234,504,3000,503,2000,4001,1,0,0,0,0,0,0"_s}}},
        {u"mob_mvp_db.txt"_s, {{0, u"KAPPA_KING,0,0,50000,0,1103,3000,504,5000,509,0"_s}}},
        {u"mob_emote_db.txt"_s, {{2, u"KAPPA_KING,BERSERK_ST,7"_s}}},
        {u"mob_morph_db.txt"_s, {{1, u"TANUKI,TANUKI_BIG,KITSUNE,KAPPA,,,2"_s}}},
        {u"summon_slave.txt"_s, {{0, u"KAPPA_KING,KAPPA,KAPPA_KING_,KAPPA_CHILD,,,4"_s}}},
        {u"summon_monster.txt"_s,
         {{1, u"KITSUNE_NINE,KITSUNE,KITSUNE_SILVER,OMOTE_KITSUNE,MAYOIBI,NOBIKUBI,3"_s}}},
    });
}

TEST_F(DependentCommit, AMonsterWithoutADropRecordChangesNoFile) {
    show(u"CHOCHIN"_s);  // no drop record: the slots are empty and disabled
    ASSERT_EQ(list(u"List1"_s)->listIndex(), -1);
    click(u"Command8"_s);  // the slots can be typed into all the same
    typeInto(u"Text5(0)"_s, u"501"_s);
    typeInto(u"Text6(0)"_s, u"2500"_s);
    EXPECT_FALSE(editor(TableId::Drop).hasUncommittedEdits());
    update();
    save();
    expectFiles({});
    // the drop record shown before stays as it was in memory too
    EXPECT_EQ(window->database().DropTable.field(1, 2), u"901"_s);
}

// The owner row decides which record the editor shows and commits: a monster without a record
// of its own shows none, so the record shown before is never written under another key; a
// monster with one shows and commits that record, in its own line.
TEST_F(DependentCommit, TheOwnerRowPicksTheRecordAndNeverMovesAnother) {
    show(u"TANUKI"_s);
    pick(u"Combo6(0)"_s, u"KAPPA_KING"_s);  // has no metamorphosis record
    EXPECT_EQ(caption(u"Label9A"_s), QString());
    EXPECT_FALSE(editor(TableId::Morph).hasUncommittedEdits());
    update();
    pick(u"Combo6(0)"_s, u"OMOTE_KITSUNE"_s);  // line 4
    EXPECT_EQ(caption(u"Label9A"_s), u"OMOTE_KITSUNE"_s);
    click(u"Command8"_s);  // another monster's record is shown disabled
    pick(u"Combo6(4)"_s, u"TANUKI"_s);
    typeInto(u"Text2"_s, u"4"_s);
    EXPECT_TRUE(editor(TableId::Morph).hasUncommittedEdits());
    update();
    // committing again without edits stores the same texts
    update();
    save();
    expectFiles({{u"mob_morph_db.txt"_s,
                  {{3, u"OMOTE_KITSUNE,KITSUNE,KITSUNE_SILVER,NOUMEN,TANUKI,,4"_s}}}});
}

}  // namespace mdb::test
