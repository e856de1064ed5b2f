#include "ui/editors/EmoteEditor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

#include "model/CodeTables.h"
#include "model/ValueRules.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/FormGrid.h"
#include "ui/controls/Widgets.h"
#include "ui/editors/EmotePictures.h"

namespace mdb {

using namespace Qt::StringLiterals;

EmoteEditor::EmoteEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : DependentEditor(u"emote"_s, TableId::Emote,
                      {u"既にこのモンスターにはエモーションデータが存在します"_s,
                       u"モンスター名と状況を設定して下さい"_s,
                       u"モンスターのエモーションデータを追加しました。このデータを編集するにはプロ"
                       u"グラムを再起動"
                       u"して下さい"_s,
                       u"エモーションを可能にするには、TornakMnsterSkillDatabaseEditorにてこのモン"
                       u"スターのエモー"
                       u"ションスキルを新項目で追加して下さい"_s},
                      db, window),
      stateLabels_(new ColumnModel(this)),
      stateNames_(new ColumnModel(this)) {
    buildFrame(models, window);
    bindFields();
    connectControls();
}

void EmoteEditor::buildFrame(MirrorModels& models, QWidget* window) {
    // The drop frame lies over the left of this frame's top: the caption stands at the right
    // end, in the drop frame's small type, so that it shows beside it in any font (a run of
    // blanks before it would push it off the frame in a font with wider blanks).
    QGroupBox* frame = makeFrame(u"Frame1A"_s, descriptor().frameTitle, window);
    frame->setAlignment(Qt::AlignRight);
    QFont small = frame->font();
    small.setPixelSize(11);
    frame->setFont(small);
    monsterCombo_ = makeComboBox(u"Combo14"_s, models.statusDisplayNamesChoose, frame, 10);
    stateCombo_ = makeComboBox(u"Combo14B"_s, stateLabels_, frame, 6);
    emotionBox_ = new QLineEdit(frame);
    emotionBox_->setObjectName(u"Text14"_s);
    showPicturesButton_ = new QPushButton(u"表示するエモーション"_s, frame);
    showPicturesButton_->setObjectName(u"Command5"_s);
    hidePicturesButton_ = new QPushButton(u"表示するエモーション"_s, frame);
    hidePicturesButton_->setObjectName(u"Command7"_s);
    hidePicturesButton_->hide();
    auto* addCommand = new QPushButton(u"新しい項目を追加"_s, frame);
    addCommand->setObjectName(u"Command10"_s);
    addCommand->hide();

    // Column 0 is the room the drop frame covers; the pictures run under it, full width.
    FormGrid grid(frame);
    grid.row({nullptr, descriptor().caption(EmoteField::Name), {monsterCombo_, 2}});
    grid.row({nullptr, descriptor().caption(EmoteField::State), stateCombo_, emotionBox_});
    grid.place(showPicturesButton_, 2, 2, 1, 2);
    grid.place(hidePicturesButton_, 2, 2, 1, 2);
    grid.place(addCommand, 3, 2, 1, 2);
    grid.layout()->setRowStretch(4, 1);
    // the drop frame's corner: the rows beside it and the pictures below it stay clear of it
    clearance_ = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    grid.layout()->addItem(clearance_, 0, 0, 5, 1);
    grid.place(buildPictures(frame), 5, 0, 1, 4);
    FormGrid::fitChars(emotionBox_, 3);
    grid.stretchColumn(2, 1);
    grid_ = grid.layout();

    monsterNames_ = new HiddenList(u"List14"_s, frame, models.statusNames);
    auto* keyList = new HiddenList(u"List14A"_s, frame, models.keysOf(TableId::Emote));
    stateList_ = new HiddenList(u"List14B"_s, frame, stateNames_);
    setParts(frame, addCommand, keyList, new HiddenLabel(u"Label14A"_s, frame));
}

QWidget* EmoteEditor::buildPictures(QWidget* frame) {
    auto* strip = new QWidget(frame);
    auto* pictures = new QGridLayout(strip);
    pictures->setContentsMargins(0, 0, 0, 0);
    pictures->setSpacing(1);
    emotionGroup_ = new QButtonGroup(this);
    emotionGroup_->setExclusive(true);
    constexpr int perRow = EmotionCount / 2;
    for (int n = 0; n < EmotionCount; ++n) {
        auto* button = new QToolButton(strip);
        button->setObjectName(indexed(u"Option1"_s, n));
        button->setCheckable(true);
        button->setIcon(emotionIcon(n));
        button->setIconSize(emotionPictureSize());
        button->setToolTip(QString::number(n));
        button->setAccessibleName(QString::number(n));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // 48 tab stops would bury the editors below; from the keyboard the number box beside
        // them picks the same picture
        button->setFocusPolicy(Qt::ClickFocus);
        pictures->addWidget(button, n / perRow, n % perRow);
        emotionGroup_->addButton(button, n);
        pictureButtons_[size_t(n)] = button;
    }
    return strip;
}

void EmoteEditor::keepClear(const QSize& size) {
    // the room is counted from the frame's corner, the grid starts inside its margins
    const QMargins margins = grid_->contentsMargins();
    const QPoint inside = frame()->contentsRect().topLeft() + QPoint(margins.left(), margins.top());
    clearance_->changeSize(std::max(0, size.width() - inside.x()),
                           std::max(0, size.height() - inside.y()), QSizePolicy::Fixed,
                           QSizePolicy::Fixed);
    grid_->invalidate();
}

void EmoteEditor::bindFields() {
    // The monster and the state are rows of hidden lists; until the user picks another, the
    // commit writes back the record's own text, so that a key spelled in another letter case
    // or a state that none of the nine names never changes unless the user changes it.
    addListRow(EmoteField::Name, Role::Key, monsterNames_, {monsterCombo_}, true);
    addListRow(EmoteField::State, Role::Value, stateList_, {stateCombo_}, true);
    addBoxRow(EmoteField::Emotion, Role::Number, emotionBox_);
    addControl(monsterCombo_);
    addControl(stateCombo_);
    addControl(emotionBox_);
}

void EmoteEditor::connectControls() {
    connect(monsterCombo_, &QComboBox::currentIndexChanged, this, &EmoteEditor::onMonsterChosen);
    connect(monsterNames_, &HiddenList::Click, this, &EmoteEditor::onMonsterRowFound);
    connect(stateCombo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;  // clearing a drop-down is no choice of the user's
        MDB_CHAIN_ON(stateCombo_, "Click");
        stateList_->setListIndex(index);
    });
    connect(stateList_, &HiddenList::Click, this, &EmoteEditor::onStateRowFound);
    connect(emotionGroup_, &QButtonGroup::idToggled, this, &EmoteEditor::onPictureChosen);
    connect(emotionBox_, &QLineEdit::textChanged, this, &EmoteEditor::NormalizeEmotion);
    selectAllOnFocus(emotionBox_);
    connect(showPicturesButton_, &QPushButton::clicked, this, &EmoteEditor::showPictures);
    connect(hidePicturesButton_, &QPushButton::clicked, this, &EmoteEditor::hidePictures);
    connectKeyControls();
}

void EmoteEditor::fillCodeLists() {
    stateLabels_->appendRows(EmoteStateLabels());
    stateCombo_->setCurrentIndex(-1);
    stateNames_->appendRows(EmoteStateNames());
    stateList_->setListIndex(-1);
}

void EmoteEditor::enabledChanged(bool enabled) {
    if (enabled) {
        showPictures();
    } else {
        hidePictures();
    }
}

void EmoteEditor::NormalizeEmotion() {
    MDB_CHAIN_ON(emotionBox_, "Change NormalizeEmotion");
    const EmotionText settled = mdb::NormalizeEmotion(emotionBox_->text());
    // assigning the same text would still move the caret of a box being typed in
    if (settled.text != emotionBox_->text()) emotionBox_->setText(settled.text);
    if (settled.picture) {
        pictureButtons_[size_t(*settled.picture)]->setChecked(true);
    } else if (QAbstractButton* checked = emotionGroup_->checkedButton()) {
        // a fraction names no emotion: no picture may claim to be the one in the box
        const QSignalBlocker quiet(emotionGroup_);
        emotionGroup_->setExclusive(false);
        checked->setChecked(false);
        emotionGroup_->setExclusive(true);
    }
}

void EmoteEditor::onMonsterChosen(int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(monsterCombo_, "Click");
    monsterNames_->setListIndex(index);
    if (monsterCombo_->currentIndex() == 0) keyList_->setListIndex(-1);
}

void EmoteEditor::onMonsterRowFound() {
    MDB_CHAIN_ON(monsterNames_, "Click");
    markChosen(EmoteField::Name);
    const int row = FindListEntry(*keyList_, monsterNames_->text(), MatchMode::WholeText);
    keyLabel_->setCaption(keyList_->list(row));
    monsterCombo_->setCurrentIndex(monsterNames_->listIndex());
}

void EmoteEditor::onStateRowFound() {
    MDB_CHAIN_ON(stateList_, "Click");
    markChosen(EmoteField::State);
    stateCombo_->setCurrentIndex(stateList_->listIndex());
}

void EmoteEditor::onPictureChosen(int number, bool checked) {
    if (!checked) return;  // the picture left behind reports too
    MDB_CHAIN_ON(pictureButtons_[size_t(number)], "Click");
    emotionBox_->setText(QString::number(number));
}

void EmoteEditor::showPictures() {
    MDB_CHAIN_ON(showPicturesButton_, "Click");
    hidePicturesButton_->show();
    showPicturesButton_->hide();
    setPicturesEnabled(true);
}

void EmoteEditor::hidePictures() {
    MDB_CHAIN_ON(hidePicturesButton_, "Click");
    hidePicturesButton_->hide();
    showPicturesButton_->show();
    setPicturesEnabled(false);
}

void EmoteEditor::setPicturesEnabled(bool enabled) {
    for (QToolButton* picture : pictureButtons_) picture->setEnabled(enabled);
}

}  // namespace mdb
