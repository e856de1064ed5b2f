// The six dependent editors as the window's commands see them through the registry: which
// controls each one switches, which field each control commits, and the rules they share.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>

#include "EditorFixture.h"
#include "ui/editors/DependentEditor.h"
#include "ui/editors/RelatedMonsterEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

QStringList array(const QString& name, int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) names << u"%1(%2)"_s.arg(name).arg(i);
    return names;
}

QStringList namesOf(const std::vector<QWidget*>& widgets) {
    QStringList names;
    for (const QWidget* widget : widgets) names << widget->objectName();
    return names;
}

// What each editor is, as designed: the controls its key label enables and disables, and which
// control feeds which field on an update ("field:control", in the order they are written).
struct Design {
    QString instance;
    QString frame;
    QStringList switched;
    QStringList committed;
};

QStringList related(const QString& keyList, const QString& count) {
    QStringList fields;
    for (int i = 0; i < 6; ++i) fields << u"%1:%2(%3)"_s.arg(i + 1).arg(keyList).arg(i);
    return fields << u"7:"_s + count;
}

std::vector<Design> designs() {
    QStringList dropFields;
    for (int i = 0; i < 8; ++i) {
        dropFields << u"%1:Text5(%2)"_s.arg(2 + 2 * i).arg(i)
                   << u"%1:Text6(%2)"_s.arg(3 + 2 * i).arg(i);
    }
    return {
        {u"drop"_s, u"Frame2"_s,
         array(u"Combo1"_s, 8) + array(u"Text5"_s, 8) + array(u"Text6"_s, 8), dropFields},
        {u"mvp"_s,
         u"Frame5"_s,
         array(u"Text8A"_s, 5) + array(u"Text8"_s, 5) + QStringList{u"Combo8A"_s} +
             array(u"Combo8"_s, 5),
         {u"2:Text8A(0)"_s, u"3:Text8A(1)"_s, u"4:Text8(0)"_s, u"5:Text8(1)"_s, u"6:Text8A(2)"_s,
          u"7:Text8(2)"_s, u"8:Text8A(3)"_s, u"9:Text8(3)"_s, u"10:Text8A(4)"_s, u"11:Text8(4)"_s}},
        {u"morph"_s, u"Frame7"_s,
         array(u"Combo6"_s, 6) + array(u"Combo6A"_s, 6) + QStringList{u"Text2"_s},
         related(u"List9"_s, u"Text2"_s)},
        {u"slave"_s, u"Frame11"_s,
         array(u"Combo10"_s, 6) + array(u"Combo10A"_s, 6) + QStringList{u"Text11"_s},
         related(u"List10"_s, u"Text11"_s)},
        {u"summon"_s, u"Frame9"_s,
         array(u"Combo12"_s, 6) + array(u"Combo12A"_s, 6) + QStringList{u"Text12"_s},
         related(u"List12"_s, u"Text12"_s)},
        {u"emote"_s,
         u"Frame1A"_s,
         {u"Combo14"_s, u"Combo14B"_s, u"Text14"_s},
         {u"1:List14"_s, u"2:List14B"_s, u"3:Text14"_s}},
    };
}

}  // namespace

class EditorRegistryTest : public EditorFixture {
protected:
    using EditorFixture::editor;
    const DependentEditor* editor(const QString& instance) const {
        for (const auto& entry : window->editors().entries()) {
            if (entry.editor->instanceName() == instance) return entry.editor;
        }
        ADD_FAILURE() << instance.toStdString();
        return nullptr;
    }
    // "E" or "-" per switched control of an editor.
    QString states(const Design& design) const {
        QString s;
        for (const QString& name : design.switched) {
            s += control<QWidget>(name)->isEnabledTo(control<QWidget>(design.frame)) ? u'E' : u'-';
        }
        return s;
    }
};

// Every control of every editor is on the lists the commands walk: the enable rule's, the
// update's and (in the view modes' test) the unlock command's. A box added to a frame and not
// to its editor's rows would stay editable for a monster without a record.
TEST_F(EditorRegistryTest, EveryControlIsOnTheListsTheCommandsWalk) {
    startSample();
    ASSERT_EQ(window->editors().entries().size(), 6u);
    QStringList lookupOrder, commitOrder;
    for (const auto& entry : window->editors().entries()) {
        lookupOrder << entry.editor->instanceName();
    }
    for (const auto* entry : window->editors().inCommitOrder()) {
        commitOrder << entry->editor->instanceName();
    }
    EXPECT_EQ(lookupOrder,
              (QStringList{u"drop"_s, u"mvp"_s, u"morph"_s, u"slave"_s, u"summon"_s, u"emote"_s}));
    EXPECT_EQ(commitOrder,
              (QStringList{u"drop"_s, u"mvp"_s, u"emote"_s, u"morph"_s, u"summon"_s, u"slave"_s}));
    for (const Design& design : designs()) {
        SCOPED_TRACE(design.instance.toStdString());
        const DependentEditor* e = editor(design.instance);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->frame()->objectName(), design.frame);
        EXPECT_EQ(namesOf(e->controls()), design.switched);
        // the switched controls are exactly those the rows edit
        QStringList rowControls;
        for (const auto& row : e->rows()) rowControls << namesOf(row.controls);
        rowControls.sort();
        QStringList switched = design.switched;
        switched.sort();
        EXPECT_EQ(rowControls, switched);
        QStringList committed;
        for (const auto& binding : e->bindings().bindings()) {
            if (binding.read)
                committed << u"%1:%2"_s.arg(binding.field).arg(binding.control->objectName());
        }
        EXPECT_EQ(committed, design.committed);
        // every box and drop-down of the frame is switched by the editor, but the name shown
        // under "NameID", which no one edits
        for (QWidget* widget : control<QGroupBox>(design.frame)->findChildren<QWidget*>()) {
            if (!qobject_cast<QComboBox*>(widget) && !qobject_cast<QLineEdit*>(widget)) continue;
            if (widget->objectName().isEmpty() || widget->objectName() == u"Text13"_s) continue;
            EXPECT_TRUE(design.switched.contains(widget->objectName()))
                << widget->objectName().toStdString();
        }
    }
}

// The enable rule: an empty key label disables, the shown monster's key exactly enables, and
// any other key (one spelled in another letter case) leaves the editor as it was.
TEST_F(EditorRegistryTest, TheKeyLabelEnablesOnlyOnTheShownMonstersKeyExactly) {
    startSample();
    const std::vector<Design> all = designs();
    const auto allStates = [&] {
        QStringList s;
        for (const Design& d : all) s << states(d);
        return s;
    };
    const auto expect = [&](const char* kappaKing) {
        QStringList s;
        for (size_t k = 0; k < all.size(); ++k) {
            s << QString(all[k].switched.size(), kappaKing[k] == 'E' ? u'E' : u'-');
        }
        return s;
    };
    show(u"KAPPA_KING"_s);  // drop, MVP, emotion and slave records
    EXPECT_EQ(allStates(), expect("EE-E-E"));
    show(u"CHOCHIN"_s);  // none
    EXPECT_EQ(allStates(), expect("------"));
    // NEKOMATA's emotion record is keyed "Nekomata": found, shown, but not enabled
    show(u"NEKOMATA"_s);
    EXPECT_EQ(caption(u"Label14A"_s), u"Nekomata"_s);
    EXPECT_EQ(text(u"Text14"_s), u"3"_s);
    EXPECT_EQ(allStates(), expect("E-----"));
    // and from an enabled editor it stays enabled
    show(u"KAPPA"_s);
    EXPECT_EQ(states(all[5]), u"EEE"_s);
    show(u"NEKOMATA"_s);
    EXPECT_EQ(states(all[5]), u"EEE"_s);
}

// Rows the user picked in one record are no picks in the next: an update of the status alone
// then keeps every key of the next record that its rows cannot show (a key that names no
// monster), instead of writing those rows' empty texts.
TEST_F(EditorRegistryTest, PicksInOneRecordAreNoPicksInTheNext) {
    copySample();
    writeFile(u"mob_morph_db.txt"_s,
              u"KAPPA_CHILD,KAPPA,,,,,1\r\n"
              u"TANUKI,TANUKI_BIG,KITSUNE,DUMMY,nobody,,2\r\n"
              u"KODAMA,KODAMA_ELDER,,,,,1\r\n"_s);
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    trigger(u"mnuMenu2"_s);
    show(u"KODAMA"_s);
    for (int row : {3, 4}) {
        combo(u"Combo6(%1)"_s.arg(row))->setCurrentIndex(statusRecord(u"NUE"_s) - 1);
    }
    EXPECT_TRUE(editor(TableId::Morph).hasUncommittedEdits());
    show(u"TANUKI"_s);  // the picks are discarded with the record they were made in
    EXPECT_FALSE(editor(TableId::Morph).hasUncommittedEdits());
    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    const Table& morphs = window->database().MorphTable;
    EXPECT_EQ(morphs.field(2, RelationField::Related(2)), u"DUMMY"_s);
    EXPECT_EQ(morphs.field(2, RelationField::Related(3)), u"nobody"_s);
    EXPECT_EQ(morphs.field(3, RelationField::Related(2)), QString());
    EXPECT_EQ(window->database().StatusTable.field(statusRecord(u"TANUKI"_s), StatusField::Hp),
              u"4321"_s);
}

// What the editors say to the user: frame titles, row captions, units, column heads and button
// captions, each as designed (the words a user looks for must not change unnoticed).
TEST_F(EditorRegistryTest, FramesRowsUnitsAndHeadsReadAsDesigned) {
    startSample();
    const auto texts = [this](const QString& frame) {
        QStringList s;
        for (const QLabel* label : control<QGroupBox>(frame)->findChildren<QLabel*>()) {
            s << label->text();
        }
        for (const QPushButton* b : control<QGroupBox>(frame)->findChildren<QPushButton*>()) {
            s << u"["_s + b->text() + u"]"_s;
        }
        s.sort();
        return s;
    };
    const auto sorted = [](QStringList s) {
        s.sort();
        return s;
    };
    const auto numbered = [](const QString& stem, const QString& last) {
        QStringList s;
        for (const QString& digit : {u"１"_s, u"２"_s, u"３"_s, u"４"_s, u"５"_s}) {
            s << stem + digit;
        }
        return s << last;
    };
    struct Frame {
        QString name, title;
        QStringList texts;
    };
    const QString add = u"[新しい項目を追加]"_s;
    // each relation row names its ID drop-down
    const QStringList idCaptions(6, u"ID"_s);
    const Frame frames[] = {
        {u"Frame2"_s, u"モンスタードロップＤＢ 編集項目　(mob_drop_db.txt)"_s,
         QStringList{u"NameID"_s, u"ドロップ率は１／１００００計算です"_s, u"ドロップアイテム"_s,
                     u"ドロップアイテム"_s, u"ID"_s, u"ID"_s, u"確率"_s, u"確率"_s, u"１"_s,
                     u"２"_s, u"３"_s, u"４"_s, u"５"_s, u"６"_s, u"７"_s, u"８"_s,
                     u"[このMobをDropData項目に追加]"_s}},
        {u"Frame5"_s, u"モンスターＭＶＰ ＤＢ 編集項目　(mob_mvp_db.txt)"_s,
         QStringList{u"MVPモンスター名"_s, u"取得アイテム１"_s, u"取得アイテム２"_s,
                     u"特別経験値"_s, u"経験値獲得率"_s, u"/100000 ?"_s, u"特別アイテム＃１"_s,
                     u"獲得率＃１"_s, u"/10000"_s, u"特別アイテム＃２"_s, u"獲得率＃２"_s,
                     u"/10000"_s, u"特別アイテム＃３"_s, u"獲得率＃３"_s, u"/10000"_s, add}},
        {u"Frame1A"_s, u"エモーションDB (mob_emote_db.txt)"_s,
         QStringList{u"名前"_s, u"状況"_s, u"[表示するエモーション]"_s, u"[表示するエモーション]"_s,
                     add}},
        {u"Frame7"_s, u"変態モンスターＤＢ　(mob_morph_db.txt)"_s,
         QStringList{u"変態元"_s} + numbered(u"変態後#"_s, u"総変態数？"_s) + QStringList{add} +
             idCaptions},
        {u"Frame11"_s, u"モンスター取り巻きDB 編集項目 (summon_slave.txt)"_s,
         QStringList{u"基本Ｍｏｂ"_s} + numbered(u"取り巻き＃"_s, u"取り巻き数"_s) +
             QStringList{add} + idCaptions},
        {u"Frame9"_s, u"モンスター召喚DB 編集項目 (summon_monster.txt)"_s,
         QStringList{u"召喚主"_s} + numbered(u"召喚＃"_s, u"召喚数"_s) + QStringList{add} +
             idCaptions},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.name.toStdString());
        EXPECT_EQ(control<QGroupBox>(frame.name)->title(), frame.title);
        EXPECT_EQ(texts(frame.name), sorted(frame.texts));
    }
    // the rows carry the captions they are shown with
    QStringList morphCaptions;
    for (const auto& row : editor(TableId::Morph).rows()) morphCaptions << row.caption;
    EXPECT_EQ(morphCaptions, QStringList{u"変態元"_s} + numbered(u"変態後#"_s, u"総変態数？"_s));
}

// The drop slot boxes settle their text when the user leaves them: blanks around an item ID
// or a rate go, a rate above 10000 becomes 10000, and text that is no number becomes "0".
TEST_F(EditorRegistryTest, DropSlotBoxesSettleTheirTextOnLeaving) {
    startSample();
    trigger(u"mnuMenu2"_s);
    show(u"KAPPA_KING"_s);
    const auto leave = [this](const QString& box, const QString& typed) {
        control<QLineEdit>(box)->setText(typed);
        focusOut(control<QLineEdit>(box));
        return text(box);
    };
    EXPECT_EQ(leave(u"Text5(2)"_s, u" 505 "_s), u"505"_s);
    EXPECT_EQ(leave(u"Text5(3)"_s, u"5x"_s), u"0"_s);
    EXPECT_EQ(leave(u"Text6(2)"_s, u" 250 "_s), u"250"_s);
    EXPECT_EQ(leave(u"Text6(3)"_s, u"10001"_s), u"10000"_s);
    EXPECT_EQ(leave(u"Text6(4)"_s, u"10000"_s), u"10000"_s);
}

namespace {

QStringList* traced = nullptr;

void traceHandler(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (traced && QByteArrayView(context.category) == "mdb.chains") traced->append(message);
}

}  // namespace

// The chain trace names the control whose event runs, so that the three relation editors and
// the eight drop slots can be told apart in it.
TEST_F(EditorRegistryTest, TheChainTraceNamesTheInstanceAndTheSlot) {
    startSample();
    trigger(u"mnuMenu2"_s);
    show(u"KAPPA_KING"_s);
    QStringList lines;
    traced = &lines;
    QLoggingCategory::setFilterRules(u"mdb.chains.debug=true"_s);
    const QtMessageHandler previous = qInstallMessageHandler(traceHandler);
    combo(u"Combo10A(3)"_s)->setCurrentIndex(statusRecord(u"ONI"_s) - 1);
    control<QLineEdit>(u"Text5(1)"_s)->setText(u"0"_s);  // item 1103, rate 500
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    traced = nullptr;
    const QString trace = lines.join(u'\n');
    EXPECT_TRUE(trace.contains(u"Combo10A(3).Click"_s)) << trace.toStdString();
    EXPECT_TRUE(trace.contains(u"List10(3).Click RelationRowChosen"_s)) << trace.toStdString();
    EXPECT_FALSE(trace.contains(u"List9("_s)) << trace.toStdString();
    EXPECT_TRUE(trace.contains(u"Text5(1).Change ResolveDropItem"_s)) << trace.toStdString();
    EXPECT_TRUE(trace.contains(u"Text6(1).Change"_s)) << trace.toStdString();
}

}  // namespace mdb::test
