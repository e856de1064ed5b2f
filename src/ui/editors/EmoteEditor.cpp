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
    QGroupBox* Frame1A = makeFrame(u"Frame1A"_s, descriptor().frameTitle, window);
    Frame1A->setAlignment(Qt::AlignRight);
    QFont small = Frame1A->font();
    small.setPixelSize(11);
    Frame1A->setFont(small);
    Combo14 = makeComboBox(u"Combo14"_s, models.statusDisplayNamesChoose, Frame1A, 10);
    Combo14B = makeComboBox(u"Combo14B"_s, stateLabels_, Frame1A, 6);
    Text14 = new QLineEdit(Frame1A);
    Text14->setObjectName(u"Text14"_s);
    Command5 = new QPushButton(u"表示するエモーション"_s, Frame1A);
    Command5->setObjectName(u"Command5"_s);
    Command7 = new QPushButton(u"表示するエモーション"_s, Frame1A);
    Command7->setObjectName(u"Command7"_s);
    Command7->hide();
    auto* Command10 = new QPushButton(u"新しい項目を追加"_s, Frame1A);
    Command10->setObjectName(u"Command10"_s);
    Command10->hide();

    // Column 0 is the room the drop frame covers; the pictures run under it, full width.
    FormGrid grid(Frame1A);
    grid.row({nullptr, descriptor().caption(EmoteField::Name), {Combo14, 2}});
    grid.row({nullptr, descriptor().caption(EmoteField::State), Combo14B, Text14});
    grid.place(Command5, 2, 2, 1, 2);
    grid.place(Command7, 2, 2, 1, 2);
    grid.place(Command10, 3, 2, 1, 2);
    grid.layout()->setRowStretch(4, 1);
    // the drop frame's corner: the rows beside it and the pictures below it stay clear of it
    clearance_ = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    grid.layout()->addItem(clearance_, 0, 0, 5, 1);
    grid.place(buildPictures(Frame1A), 5, 0, 1, 4);
    FormGrid::fitChars(Text14, 3);
    grid.stretchColumn(2, 1);
    grid_ = grid.layout();

    List14 = new HiddenList(u"List14"_s, Frame1A, models.statusNames);
    auto* List14A = new HiddenList(u"List14A"_s, Frame1A, models.keysOf(TableId::Emote));
    List14B = new HiddenList(u"List14B"_s, Frame1A, stateNames_);
    setParts(Frame1A, Command10, List14A, new HiddenLabel(u"Label14A"_s, Frame1A));
}

QWidget* EmoteEditor::buildPictures(QWidget* frame) {
    auto* strip = new QWidget(frame);
    auto* pictures = new QGridLayout(strip);
    pictures->setContentsMargins(0, 0, 0, 0);
    pictures->setSpacing(1);
    emotionGroup = new QButtonGroup(this);
    emotionGroup->setExclusive(true);
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
        emotionGroup->addButton(button, n);
        Option1[size_t(n)] = button;
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
    addListRow(EmoteField::Name, Role::Key, List14, {Combo14}, true);
    addListRow(EmoteField::State, Role::Value, List14B, {Combo14B}, true);
    addBoxRow(EmoteField::Emotion, Role::Number, Text14);
    addControl(Combo14);
    addControl(Combo14B);
    addControl(Text14);
}

void EmoteEditor::connectControls() {
    connect(Combo14, &QComboBox::currentIndexChanged, this, &EmoteEditor::onCombo14Click);
    connect(List14, &HiddenList::Click, this, &EmoteEditor::onList14Click);
    connect(Combo14B, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;  // clearing a drop-down is no choice of the user's
        MDB_CHAIN_ON(Combo14B, "Click");
        List14B->setListIndex(index);
    });
    connect(List14B, &HiddenList::Click, this, &EmoteEditor::onList14BClick);
    connect(emotionGroup, &QButtonGroup::idToggled, this, &EmoteEditor::onPictureChosen);
    connect(Text14, &QLineEdit::textChanged, this, &EmoteEditor::NormalizeEmotion);
    selectAllOnFocus(Text14);
    connect(Command5, &QPushButton::clicked, this, &EmoteEditor::showPictures);
    connect(Command7, &QPushButton::clicked, this, &EmoteEditor::hidePictures);
    connectKeyControls();
}

void EmoteEditor::fillCodeLists() {
    stateLabels_->appendRows(EmoteStateLabels());
    Combo14B->setCurrentIndex(-1);
    stateNames_->appendRows(EmoteStateNames());
    List14B->setListIndex(-1);
}

void EmoteEditor::enabledChanged(bool enabled) {
    if (enabled) {
        showPictures();
    } else {
        hidePictures();
    }
}

void EmoteEditor::NormalizeEmotion() {
    MDB_CHAIN_ON(Text14, "Change NormalizeEmotion");
    const EmotionText settled = mdb::NormalizeEmotion(Text14->text());
    // assigning the same text would still move the caret of a box being typed in
    if (settled.text != Text14->text()) Text14->setText(settled.text);
    if (settled.picture) {
        Option1[size_t(*settled.picture)]->setChecked(true);
    } else if (QAbstractButton* checked = emotionGroup->checkedButton()) {
        // a fraction names no emotion: no picture may claim to be the one in the box
        const QSignalBlocker quiet(emotionGroup);
        emotionGroup->setExclusive(false);
        checked->setChecked(false);
        emotionGroup->setExclusive(true);
    }
}

void EmoteEditor::onCombo14Click(int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(Combo14, "Click");
    List14->setListIndex(index);
    if (Combo14->currentIndex() == 0) keyList_->setListIndex(-1);
}

void EmoteEditor::onList14Click() {
    MDB_CHAIN_ON(List14, "Click");
    markChosen(EmoteField::Name);
    const int row = FindListEntry(*keyList_, List14->text(), MatchMode::WholeText);
    keyLabel_->setCaption(keyList_->list(row));
    Combo14->setCurrentIndex(List14->listIndex());
}

void EmoteEditor::onList14BClick() {
    MDB_CHAIN_ON(List14B, "Click");
    markChosen(EmoteField::State);
    Combo14B->setCurrentIndex(List14B->listIndex());
}

void EmoteEditor::onPictureChosen(int number, bool checked) {
    if (!checked) return;  // the picture left behind reports too
    MDB_CHAIN_ON(Option1[size_t(number)], "Click");
    Text14->setText(QString::number(number));
}

void EmoteEditor::showPictures() {
    MDB_CHAIN_ON(Command5, "Click");
    Command7->show();
    Command5->hide();
    setPicturesEnabled(true);
}

void EmoteEditor::hidePictures() {
    MDB_CHAIN_ON(Command7, "Click");
    Command7->hide();
    Command5->show();
    setPicturesEnabled(false);
}

void EmoteEditor::setPicturesEnabled(bool enabled) {
    for (QToolButton* picture : Option1) picture->setEnabled(enabled);
}

}  // namespace mdb
