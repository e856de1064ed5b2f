#include "ui/editors/RelatedMonsterEditor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/controls/ComboBox.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

RelatedMonsterEditor::Names RelatedMonsterEditor::morphNames() {
    return {u"Frame7"_s,
            u"変態モンスターＤＢ　(mob_morph_db.txt)"_s,
            u"Combo6"_s,
            u"Combo6A"_s,
            u"List9"_s,
            u"List9A"_s,
            u"Label9A"_s,
            u"Text2"_s,
            u"Command11"_s,
            u"Frame8"_s,
            {u"変態元"_s, u"変態後#１"_s, u"変態後#２"_s, u"変態後#３"_s, u"変態後#４"_s,
             u"変態後#５"_s},
            u"総変態数？"_s};
}

RelatedMonsterEditor::Names RelatedMonsterEditor::slaveNames() {
    return {u"Frame11"_s,
            u"モンスター取り巻きDB 編集項目 (summon_slave.txt)"_s,
            u"Combo10"_s,
            u"Combo10A"_s,
            u"List10"_s,
            u"List10A"_s,
            u"Label11A"_s,
            u"Text11"_s,
            u"Command13"_s,
            QString(),
            {u"基本Ｍｏｂ"_s, u"取り巻き＃１"_s, u"取り巻き＃２"_s, u"取り巻き＃３"_s,
             u"取り巻き＃４"_s, u"取り巻き＃５"_s},
            u"取り巻き数"_s};
}

RelatedMonsterEditor::Names RelatedMonsterEditor::summonNames() {
    return {
        u"Frame9"_s,
        u"モンスター召喚DB 編集項目 (summon_monster.txt)"_s,
        u"Combo12"_s,
        u"Combo12A"_s,
        u"List12"_s,
        u"List12A"_s,
        u"Label12A"_s,
        u"Text12"_s,
        u"Command12"_s,
        QString(),
        {u"召喚主"_s, u"召喚＃１"_s, u"召喚＃２"_s, u"召喚＃３"_s, u"召喚＃４"_s, u"召喚＃５"_s},
        u"召喚数"_s};
}

RelatedMonsterEditor::RelatedMonsterEditor(const Names& names, Table& table, MirrorModels& models,
                                           ColumnModel* tableKeys, QWidget* window)
    : QObject(window), table_(table) {
    frame = makeFrame(names.frame, names.caption, window);
    for (int i = 0; i < 6; ++i) {
        const int y = 20 + i * 22;
        makeLabel(names.rowCaptions[i], frame, 8, y, 80);
        nameCombos[i] =
            makeComboBox(indexed(names.nameCombo, i), models.statusDisplayNamesClear, frame, 10);
        nameCombos[i]->setGeometry(90, y, 160, 20);
        idCombos[i] = makeComboBox(indexed(names.idCombo, i), models.statusIdsClear, frame, 5);
        idCombos[i]->setGeometry(254, y, 70, 20);
    }
    makeLabel(names.countCaption, frame, 8, 20 + 6 * 22, 80);
    countBox = makeTextBox(names.countBox, frame, 90, 20 + 6 * 22, 50);
    addButton = makeButton(names.addButton, u"新しい項目を追加"_s, frame, 170, 20 + 6 * 22, 150);
    addButton->hide();
    selectAllOnFocus(countBox);

    // the index lists live in the debug panel where there is one, else hidden in the frame
    QObject* listParent = frame;
    if (!names.debugFrame.isEmpty()) {
        debugFrame = makeFrame(names.debugFrame, names.debugFrame, window);
        debugFrame->hide();
        listParent = debugFrame;
    }
    for (int i = 0; i < 6; ++i) {
        keyLists[i] = new HiddenList(indexed(names.keyList, i), listParent, models.statusNames);
    }
    tableKeyList = new HiddenList(names.tableKeys, listParent, tableKeys);
    keyLabel = new HiddenLabel(names.keyLabel, listParent);
}

}  // namespace mdb
