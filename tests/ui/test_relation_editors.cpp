#include <QLabel>

#include "EditorFixture.h"
#include "ui/controls/Widgets.h"
#include "ui/editors/EmoteEditor.h"
#include "ui/editors/RelatedMonsterEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class RelationEditors : public EditorFixture {
protected:
    // Row i of an editor: the name and ID drop-downs and the hidden key row.
    struct Row {
        QComboBox* name;
        QComboBox* id;
        HiddenList* key;
    };
    Row row(const char* prefix, int i) const {
        const QString p = QString::fromLatin1(prefix);
        const QString list = p == u"Combo6"_s    ? u"List9"_s
                             : p == u"Combo10"_s ? u"List10"_s
                                                 : u"List12"_s;
        return {combo(u"%1(%2)"_s.arg(p).arg(i)), combo(u"%1A(%2)"_s.arg(p).arg(i)),
                control<HiddenList>(u"%1(%2)"_s.arg(list).arg(i))};
    }
    void expectRowShows(const Row& r, const QString& name) {
        const int monster = name.isEmpty() ? -1 : statusRecord(name) - 1;
        EXPECT_EQ(r.key->listIndex(), monster) << name.toStdString();
        EXPECT_EQ(r.name->currentIndex(), monster) << name.toStdString();
        EXPECT_EQ(r.id->currentIndex(), monster) << name.toStdString();
    }
    bool summonEnabled(bool enabled) const {
        for (int i = 0; i < 6; ++i) {
            const Row r = row("Combo12", i);
            if (r.name->isEnabled() != enabled || r.id->isEnabled() != enabled) return false;
        }
        return control<QLineEdit>(u"Text12"_s)->isEnabled() == enabled;
    }
};

TEST_F(RelationEditors, CountBoxesSettleTheirTextAndWarnOnceAboveTwenty) {
    startSample();
    for (const char* frame : {"Frame7", "Frame9", "Frame11"})
        enableFrame(QString::fromLatin1(frame));
    show(u"KITSUNE_NINE"_s);
    typeInto(u"Text12"_s, u"25"_s);
    EXPECT_EQ(text(u"Text12"_s), u"20"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].isWarning);
    EXPECT_EQ(messages.messages[0].text,
              u"サーバーの安全動作のため 最大数は２０に設定してあります\r\n"
              u"危険を承知でこれ以上の数値に設定したいならテキストエディタなどで編集して下さい"_s);
    messages.messages.clear();
    typeInto(u"Text12"_s, u"20"_s);
    EXPECT_EQ(text(u"Text12"_s), u"20"_s);
    EXPECT_TRUE(messages.messages.empty());

    show(u"TANUKI"_s);
    typeInto(u"Text2"_s, QString());
    EXPECT_EQ(text(u"Text2"_s), u"1"_s);
    show(u"KAPPA_KING"_s);
    typeInto(u"Text11"_s, QString());
    EXPECT_EQ(text(u"Text11"_s), u"0"_s);
    control<QLineEdit>(u"Text11"_s)->setText(u"-3"_s);  // pasted: typed, "-" alone is no number
    EXPECT_EQ(text(u"Text11"_s), u"-3"_s);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RelationEditors, RowsFollowTheirDropDownsAndTheOwnerRowPicksTheRecord) {
    startSample();
    // the 36 drop-downs show two shared columns, not 36 copies of the monster list
    for (const char* prefix : {"Combo6", "Combo10", "Combo12"}) {
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(row(prefix, i).name->model(), row("Combo6", 0).name->model());
            EXPECT_EQ(row(prefix, i).id->model(), row("Combo6", 0).id->model());
        }
    }
    show(u"KAPPA_KING"_s);  // slaves KAPPA, KAPPA_KING_, KAPPA_CHILD
    expectRowShows(row("Combo10", 0), u"KAPPA_KING"_s);
    expectRowShows(row("Combo10", 3), u"KAPPA_CHILD"_s);
    expectRowShows(row("Combo10", 4), QString());
    EXPECT_EQ(text(u"Text11"_s), u"5"_s);

    // "解 除" empties the row; the name and the ID beside it go blank
    row("Combo10", 3).id->setCurrentIndex(0);
    EXPECT_EQ(row("Combo10", 3).key->listIndex(), -1);
    EXPECT_EQ(row("Combo10", 3).name->currentIndex(), -1);
    row("Combo10", 4).name->setCurrentIndex(statusRecord(u"ONI"_s) - 1);
    expectRowShows(row("Combo10", 4), u"ONI"_s);

    // a monster whose row is empty leaves no ID of the record shown before
    show(u"YUKI_QUEEN"_s);
    expectRowShows(row("Combo10", 2), QString());

    // the summoner's row: a monster without a summon record disables the editor...
    enableFrame(u"Frame9"_s);
    show(u"KITSUNE_NINE"_s);
    EXPECT_TRUE(summonEnabled(true));
    row("Combo12", 0).name->setCurrentIndex(statusRecord(u"KAPPA"_s) - 1);
    EXPECT_EQ(caption(u"Label12A"_s), QString());
    EXPECT_EQ(list(u"List12A"_s)->listIndex(), -1);
    EXPECT_TRUE(summonEnabled(false));
    // ...and the shown monster again shows its record and enables it
    row("Combo12", 0).id->setCurrentIndex(statusRecord(u"KITSUNE_NINE"_s) - 1);
    EXPECT_EQ(caption(u"Label12A"_s), u"KITSUNE_NINE"_s);
    EXPECT_TRUE(summonEnabled(true));
    expectRowShows(row("Combo12", 5), u"NOBIKUBI"_s);
}

TEST_F(RelationEditors, KeysThatNameNoMonsterShowEmptyAndSurviveAnUnchangedCommit) {
    copySample();
    writeFile(u"mob_morph_db.txt"_s,
              u"KAPPA_CHILD,KAPPA,,,,,1\r\n"
              u"TANUKI,TANUKI_BIG,KITSUNE,DUMMY,nobody,,2\r\n"_s);
    writeFile(u"summon_slave.txt"_s, u"ONI,oni_blue,,,,,30\r\n"_s);
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    ASSERT_TRUE(messages.messages.empty());
    Table& morphs = window->database().MorphTable;

    show(u"TANUKI"_s);
    expectRowShows(row("Combo6", 3), QString());  // the placeholder record is no monster
    expectRowShows(row("Combo6", 4), QString());
    EXPECT_FALSE(editor(TableId::Morph).hasUncommittedEdits());
    editor(TableId::Morph).commitInto(window->database());
    EXPECT_EQ(morphs.field(2, 4), u"DUMMY"_s);
    EXPECT_EQ(morphs.field(2, 5), u"nobody"_s);

    // a row the user clears is written empty; a count read above the limit stays as set
    row("Combo6", 4).id->setCurrentIndex(0);
    row("Combo6", 1).name->setCurrentIndex(statusRecord(u"NUE"_s) - 1);
    EXPECT_TRUE(editor(TableId::Morph).hasUncommittedEdits());
    editor(TableId::Morph).commitInto(window->database());
    EXPECT_EQ(morphs.field(2, 2), u"NUE"_s);
    EXPECT_EQ(morphs.field(2, 4), u"DUMMY"_s);
    EXPECT_EQ(morphs.field(2, 5), QString());

    show(u"ONI"_s);
    EXPECT_EQ(text(u"Text11"_s), u"30"_s);
    EXPECT_TRUE(messages.messages.empty());
    editor(TableId::Slave).commitInto(window->database());
    EXPECT_EQ(window->database().SlaveTable.field(1, 2), u"oni_blue"_s);
    EXPECT_EQ(window->database().SlaveTable.field(1, 7), u"30"_s);
}

TEST_F(RelationEditors, EveryDependentRecordSurvivesShowAndUnchangedCommit) {
    startSample();
    MonsterDatabase& db = window->database();
    // the four editors rewrite their whole records, the monster keys included
    EXPECT_EQ(editor(TableId::Emote).bindings().committedFields(), (std::vector<int>{1, 2, 3}));
    for (const TableId relation : {TableId::Morph, TableId::Summon, TableId::Slave}) {
        EXPECT_EQ(editor(relation).bindings().committedFields(),
                  (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    }
    std::vector<QStringList> before;
    for (const Table* t : {&db.EmoteTable, &db.MorphTable, &db.SummonTable, &db.SlaveTable}) {
        for (int f = 1; f <= t->fieldCount(); ++f) before.push_back(t->column(f));
    }
    for (qint32 r = 2; r <= db.StatusTable.Count(); ++r) {
        show(db.StatusTable.field(r, StatusField::Name));
        EXPECT_FALSE(editor(TableId::Emote).hasUncommittedEdits()) << r;
        EXPECT_FALSE(editor(TableId::Morph).hasUncommittedEdits()) << r;
        EXPECT_FALSE(editor(TableId::Summon).hasUncommittedEdits()) << r;
        EXPECT_FALSE(editor(TableId::Slave).hasUncommittedEdits()) << r;
        editor(TableId::Emote).commitInto(db);
        editor(TableId::Morph).commitInto(db);
        editor(TableId::Summon).commitInto(db);
        editor(TableId::Slave).commitInto(db);
    }
    std::vector<QStringList> after;
    for (const Table* t : {&db.EmoteTable, &db.MorphTable, &db.SummonTable, &db.SlaveTable}) {
        for (int f = 1; f <= t->fieldCount(); ++f) after.push_back(t->column(f));
    }
    EXPECT_EQ(after, before);
}

}  // namespace mdb::test

namespace mdb::test {

// Each of the eighteen ID drop-downs of the relation rows has its caption "ID" just before it,
// on its own row.
TEST_F(RelationEditors, EveryIdDropDownHasItsCaption) {
    startSample();
    window->show();
    trigger(u"mnuMenu2"_s);
    int captioned = 0;
    for (const QString& name : {u"Combo6A"_s, u"Combo10A"_s, u"Combo12A"_s}) {
        for (int i = 0; i < 6; ++i) {
            const QComboBox* id = combo(indexed(name, i));
            const QRect place = id->geometry();
            for (const QLabel* label : id->parentWidget()->findChildren<QLabel*>()) {
                const QRect caption = label->geometry();
                if (label->text() == u"ID"_s && caption.right() < place.left() &&
                    place.left() - caption.right() < 12 && caption.center().y() >= place.top() &&
                    caption.center().y() <= place.bottom()) {
                    ++captioned;
                }
            }
        }
    }
    EXPECT_EQ(captioned, 18);
}

}  // namespace mdb::test
