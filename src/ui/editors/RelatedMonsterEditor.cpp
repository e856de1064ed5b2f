#include "ui/editors/RelatedMonsterEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "model/ValueRules.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/FormGrid.h"
#include "ui/controls/KeyLookup.h"
#include "ui/controls/MessageSink.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

QString limitedCountMessage() {
    return MessageSink::joinLines(
        {u"サーバーの安全動作のため 最大数は２０に設定してあります"_s,
         u"危険を承知でこれ以上の数値に設定したいならテキストエディタなどで編集して下さい"_s});
}

RelatedMonsterEditor::Names RelatedMonsterEditor::morphNames() {
    return {
        u"morph"_s,
        TableId::Morph,
        u"Frame7"_s,
        u"Combo6"_s,
        u"Combo6A"_s,
        u"List9"_s,
        u"List9A"_s,
        u"Label9A"_s,
        u"Text2"_s,
        u"Command11"_s,
        u"Frame8"_s,
        {u"既にこのモンスターには変態データが存在します"_s,
         u"最低 変態元モンスターと変態後＃１を設定して下さい"_s,
         u"モンスターの変態データを追加しました。このデータを編集するにはプログラムを再起動して下"
         u"さい"_s,
         u"変態を可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの変態可能スキル"
         u"を新項目で追加して下さい"_s}};
}

RelatedMonsterEditor::Names RelatedMonsterEditor::slaveNames() {
    return {
        u"slave"_s,
        TableId::Slave,
        u"Frame11"_s,
        u"Combo10"_s,
        u"Combo10A"_s,
        u"List10"_s,
        u"List10A"_s,
        u"Label11A"_s,
        u"Text11"_s,
        u"Command13"_s,
        QString(),
        {u"既にこのモンスターには取り巻きデータが存在します"_s,
         u"最低 基本モンスターと取り巻き＃１を設定して下さい"_s,
         u"モンスターの取り巻きデータを追加しました。このデータを編集するにはプログラムを再起動し"
         u"て下さい"_s,
         u"取り巻きを可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの取り巻きス"
         u"キルを新項目で追加して下さい"_s}};
}

RelatedMonsterEditor::Names RelatedMonsterEditor::summonNames() {
    return {
        u"summon"_s,
        TableId::Summon,
        u"Frame9"_s,
        u"Combo12"_s,
        u"Combo12A"_s,
        u"List12"_s,
        u"List12A"_s,
        u"Label12A"_s,
        u"Text12"_s,
        u"Command12"_s,
        QString(),
        {u"既にこのモンスターには召喚データが存在します"_s,
         u"最低 召喚主モンスターと召喚＃１を設定して下さい"_s,
         u"モンスターの召喚データを追加しました。このデータを編集するにはプログラムを再起動して下"
         u"さい"_s,
         u"召喚を可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの召喚可能スキル"
         u"を新項目で追加して下さい"_s}};
}

RelatedMonsterEditor::RelatedMonsterEditor(const Names& names, MonsterDatabase& db,
                                           MirrorModels& models, MessageSink& messages,
                                           QWidget* window)
    : DependentEditor(names.instance, names.table, names.add, db, window),
      messages_(messages),
      countRule_(Tables::of(names.table).field(RelationField::Count).countRule) {
    buildFrame(names, models, window);
    bindFields();
    connectControls();
}

void RelatedMonsterEditor::buildFrame(const Names& names, MirrorModels& models, QWidget* window) {
    QGroupBox* frame = makeFrame(names.frame, descriptor().frameTitle, window);
    FormGrid grid(frame);
    for (int i = 0; i < Rows; ++i) {
        nameCombos_[i] =
            makeComboBox(indexed(names.nameCombo, i), models.statusDisplayNamesClear, frame, 8);
        idCombos_[i] = makeComboBox(indexed(names.idCombo, i), models.statusIdsClear, frame, 4);
        grid.row(
            {descriptor().caption(RelationField::Row(i)), nameCombos_[i], u"ID", idCombos_[i]});
    }
    countBox_ = new QLineEdit(frame);
    countBox_->setObjectName(names.countBox);
    FormGrid::fitChars(countBox_, 5);
    auto* addButton = new QPushButton(u"新しい項目を追加"_s, frame);
    addButton->setObjectName(names.addButton);
    addButton->hide();
    const int countRow = grid.row({descriptor().caption(RelationField::Count)});
    auto* countCells = new QHBoxLayout;
    countCells->addWidget(countBox_);
    countCells->addStretch(1);
    countCells->addWidget(addButton);
    grid.layout()->addLayout(countCells, countRow, 1, 1, 3);
    grid.stretchColumn(1, 1);
    grid.finish();

    // the index lists live in the debug panel where there is one, else hidden in the frame
    QObject* listParent = frame;
    if (!names.debugFrame.isEmpty()) {
        QGroupBox* debugFrame = makeFrame(names.debugFrame, names.debugFrame, window);
        debugFrame->hide();
        listParent = debugFrame;
    }
    for (int i = 0; i < Rows; ++i) {
        keyLists_[i] = new HiddenList(indexed(names.keyList, i), listParent, models.statusNames);
    }
    setParts(frame, addButton,
             new HiddenList(names.tableKeys, listParent, models.keysOf(names.table)),
             new HiddenLabel(names.keyLabel, listParent));
}

void RelatedMonsterEditor::bindFields() {
    // Each row commits the record's own key until the user picks another monster in it.
    for (int i = 0; i < Rows; ++i) {
        addListRow(RelationField::Row(i), i == 0 ? Role::Key : Role::Value, keyLists_[i],
                   {nameCombos_[i], idCombos_[i]}, true);
    }
    addBoxRow(RelationField::Count, Role::Number, countBox_);
    addControls(nameCombos_);
    addControls(idCombos_);
    addControl(countBox_);
}

void RelatedMonsterEditor::connectControls() {
    for (int i = 0; i < Rows; ++i) {
        connect(nameCombos_[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onNameChosen(i, index); });
        connect(idCombos_[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onIdChosen(i, index); });
        connect(keyLists_[i], &HiddenList::Click, this, [this, i] { RelationRowChosen(i); });
    }
    connect(countBox_, &QLineEdit::textChanged, this, &RelatedMonsterEditor::NormalizeCount);
    selectAllOnFocus(countBox_);
    // the box starts as the count rule settles an empty text, as it reads for every monster
    // without a record, so that a line added before any record was shown has its count
    NormalizeCount();
    connectKeyControls();
}

void RelatedMonsterEditor::RelationRowChosen(int i) {
    HiddenList* row = keyLists_[size_t(i)];
    MDB_CHAIN_ON(row, "Click RelationRowChosen");
    markChosen(RelationField::Row(i));
    // always the owner's row, whichever row was picked: it decides which record is edited
    lookUpKey(*keyList_, *keyLabel_, keyLists_[0]->text());
    // row 0 is the placeholder record, offered as the entry that clears the row
    if (row->listIndex() == 0) row->setListIndex(-1);
    nameCombos_[size_t(i)]->setCurrentIndex(row->listIndex());
    // clearing a drop-down raises nothing, so the ID beside a cleared name is cleared here,
    // or it would go on naming the monster of the record shown before
    if (row->listIndex() < 0) idCombos_[size_t(i)]->setCurrentIndex(-1);
}

void RelatedMonsterEditor::NormalizeCount() {
    MDB_CHAIN_ON(countBox_, "Change NormalizeCount");
    const QString text = countBox_->text();
    if (countRule_ == CountRule::AtLeastOne) {
        const QString settled = NormalizeMorphCount(text);
        if (settled != text) countBox_->setText(settled);
        return;
    }
    // a count above the limit read from the file was set there on purpose, as the notice
    // itself advises: it is shown as it is, and only what the user types is limited
    const LimitedCount settled = NormalizeLimitedCount(text, !showing());
    if (settled.text != text) countBox_->setText(settled.text);
    if (settled.limited) messages_.notice(limitedCountMessage());
}

void RelatedMonsterEditor::onNameChosen(int i, int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(nameCombos_[size_t(i)], "Click");
    idCombos_[size_t(i)]->setCurrentIndex(index);
}

void RelatedMonsterEditor::onIdChosen(int i, int index) {
    if (index < 0) return;
    MDB_CHAIN_ON(idCombos_[size_t(i)], "Click");
    nameCombos_[size_t(i)]->setCurrentIndex(index);
    keyLists_[size_t(i)]->setListIndex(nameCombos_[size_t(i)]->currentIndex());
}

}  // namespace mdb
