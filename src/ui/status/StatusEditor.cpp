#include "ui/status/StatusEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>

#include "model/CodeTables.h"
#include "ui/controls/Caption.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/FormGrid.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

QLineEdit* lineEdit(const QString& objectName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    return box;
}

// The design numbers the status form's number boxes Text1(1) to Text1(25) in field order from
// Level: 19 would be the size's (shown by Text3), 20 and 21 are the hidden race and element
// code boxes, and the numbers go on past the mode (shown by Text7). Each box keeps that name as
// its object name.
QString numberBoxName(int field) {
    const int fromLevel = field - StatusField::Level;
    return indexed(u"Text1"_s, field < StatusField::Mode ? fromLevel + 1 : fromLevel);
}

// The fields the visible number boxes show.
constexpr std::array kVisibleNumberFields{
    StatusField::Level,       StatusField::Hp,          StatusField::Sp,
    StatusField::Exp,         StatusField::JobExp,      StatusField::Range,
    StatusField::AtkMin,      StatusField::AtkMax,      StatusField::Def,
    StatusField::Mdef,        StatusField::Str,         StatusField::Agi,
    StatusField::Vit,         StatusField::Int,         StatusField::Dex,
    StatusField::Luk,         StatusField::SearchRange, StatusField::ChaseRange,
    StatusField::MoveSpeed,   StatusField::AttackDelay, StatusField::AttackMotion,
    StatusField::DamageMotion};

}  // namespace

StatusEditor::StatusEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : QObject(window), db_(db), models_(models) {
    raceNames_ = new ColumnModel(this);
    elementNames_ = new ColumnModel(this);
    sizeNames_ = new ColumnModel(this);

    buildHiddenControls(window);
    buildFrame(window);
    buildNavigationBar(window);

    connectNavigation();
    connectForm();
    connectModeFlags();
}

void StatusEditor::buildFrame(QWidget* window) {
    const TableDescriptor& table = Tables::status();
    frame_ = new QGroupBox(table.frameTitle, window);
    frame_->setObjectName(u"Frame1"_s);
    QFont small = frame_->font();
    small.setPixelSize(11);
    frame_->setFont(small);

    nameList_ = new ListBox(u"List4"_s, models_.statusDisplayNames, frame_);
    nameList_->setFixedWidth(122);
    idCombo_ = makeComboBox(u"Combo5"_s, models_.statusIds, frame_, 6);
    keyBox_ = lineEdit(u"Text2A"_s, frame_);
    displayNameBox_ = lineEdit(u"Text4"_s, frame_);
    idSearchBox_ = lineEdit(u"Text9"_s, frame_);
    nameSearchBox_ = lineEdit(u"Text10"_s, frame_);
    for (int field : kVisibleNumberFields) {
        numberBoxes_[size_t(field)] = lineEdit(numberBoxName(field), frame_);
    }
    sizeCombo_ = makeComboBox(u"Combo4"_s, sizeNames_, frame_, 3);
    raceCombo_ = makeComboBox(u"Combo2"_s, raceNames_, frame_, 3);
    elementCombo_ = makeComboBox(u"Combo3"_s, elementNames_, frame_, 3);
    QGroupBox* mode = buildModeFrame();

    // Four columns of captioned boxes beside the name list, one row table each.
    FormGrid grid(frame_);
    grid.place(nameList_, 0, 0, 9, 1);
    QHash<QObject*, QString> captionBeside;
    const auto column = [&grid, &captionBeside](int first,
                                                std::initializer_list<FormGrid::Cell> cells) {
        int row = 0;
        for (auto it = cells.begin(); it != cells.end(); it += 2, ++row) {
            if (it->widget) {
                grid.caption(std::next(it)->caption, row, first);
                grid.place(it->widget, row, first + 1);
                captionBeside.insert(it->widget, std::next(it)->caption);
            }
        }
    };
    // each box captioned with its field's caption; the drop-downs stand for the hidden code boxes
    namespace F = StatusField;
    const auto t = [this](int field) { return numberBoxes_[size_t(field)]; };
    const auto c = [&table](int field) { return table.caption(field); };
    column(1, {idCombo_, c(F::Id), keyBox_, c(F::Name), displayNameBox_, c(F::DisplayName),
               t(F::Level), c(F::Level), t(F::Hp), c(F::Hp), t(F::Sp), c(F::Sp), t(F::Exp),
               c(F::Exp), t(F::JobExp), c(F::JobExp), idSearchBox_, u"ID検索"});
    column(3, {t(F::Range), c(F::Range), t(F::AtkMin), c(F::AtkMin), t(F::AtkMax), c(F::AtkMax),
               t(F::Def), c(F::Def), t(F::Mdef), c(F::Mdef), t(F::SearchRange), c(F::SearchRange),
               t(F::ChaseRange), c(F::ChaseRange), nullptr, u"", nameSearchBox_, u"名前検索"});
    column(5, {t(F::Str), c(F::Str), t(F::Agi), c(F::Agi), t(F::Vit), c(F::Vit), t(F::Int),
               c(F::Int), t(F::Dex), c(F::Dex), t(F::Luk), c(F::Luk), sizeCombo_, c(F::Size),
               raceCombo_, c(F::Race), elementCombo_, c(F::Element)});
    column(7, {t(F::MoveSpeed), c(F::MoveSpeed), t(F::AttackDelay), c(F::AttackDelay),
               t(F::AttackMotion), c(F::AttackMotion), t(F::DamageMotion), c(F::DamageMotion)});
    grid.place(mode, 4, 7, 5, 2);
    for (QLineEdit* box : numberBoxes_) {
        if (box && box->parent() == frame_) FormGrid::fitChars(box, 5);
    }
    for (QLineEdit* box : {idSearchBox_, nameSearchBox_}) FormGrid::fitChars(box, 6);
    for (int c : {2, 4, 6, 8}) grid.stretchColumn(c);

    // Tab walks the form as it reads, down each column in turn and then through the mode flags,
    // not in the order the boxes happen to be made.
    QWidget* previous = nameList_;
    for (QWidget* next : std::initializer_list<QWidget*>{idCombo_,           keyBox_,
                                                         displayNameBox_,    t(F::Level),
                                                         t(F::Hp),           t(F::Sp),
                                                         t(F::Exp),          t(F::JobExp),
                                                         idSearchBox_,       t(F::Range),
                                                         t(F::AtkMin),       t(F::AtkMax),
                                                         t(F::Def),          t(F::Mdef),
                                                         t(F::SearchRange),  t(F::ChaseRange),
                                                         nameSearchBox_,     t(F::Str),
                                                         t(F::Agi),          t(F::Vit),
                                                         t(F::Int),          t(F::Dex),
                                                         t(F::Luk),          sizeCombo_,
                                                         raceCombo_,         elementCombo_,
                                                         t(F::MoveSpeed),    t(F::AttackDelay),
                                                         t(F::AttackMotion), t(F::DamageMotion),
                                                         modeBox_,           modeFlagBoxes_[0],
                                                         modeFlagBoxes_[3],  modeFlagBoxes_[1],
                                                         modeFlagBoxes_[5],  modeFlagBoxes_[2],
                                                         modeFlagBoxes_[6],  modeFlagBoxes_[4]}) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }

    // Which box shows which field, in the order a record is shown; the commit writes the
    // editable ones in the same order, which is field order.
    using namespace StatusField;
    bindings_.bindShowOnly(Id, idLabel_);
    bindings_.bindShowOnly(Name, keyBox_);  // the key: never written back
    bindings_.bindShowOnly(DisplayName, this,
                           [this](const QString& name) { emit displayNameShown(name); });
    bindings_.bind(DisplayName, displayNameBox_);
    for (int field = Level; field <= ChaseRange; ++field) bindings_.bind(field, t(field));
    bindings_.bind(Size, sizeCodeBox_);
    bindings_.bind(Race, t(Race));
    bindings_.bind(Element, t(Element));
    bindings_.bind(Mode, modeBox_);
    for (int field = MoveSpeed; field <= DamageMotion; ++field) bindings_.bind(field, t(field));

    // the hidden code boxes are edited through their drop-downs, the mode through its frame
    shownBy_ = {{sizeCodeBox_, sizeCombo_}, {t(Race), raceCombo_}, {t(Element), elementCombo_}};
    captionBeside.insert(modeBox_, mode->title());
    for (const BindingTable::Binding& binding : bindings_.bindings()) {
        if (!binding.read) continue;
        QObject* shown = shownBy(binding.control);
        captions_.insert(binding.field, captionBeside.value(shown));
    }
}

QWidget* StatusEditor::shownBy(QObject* control) const {
    if (QWidget* combo = shownBy_.value(control)) return combo;
    return qobject_cast<QWidget*>(control);
}

QStringList StatusEditor::editedCaptions() const {
    QStringList captions;
    for (const BindingTable::Binding* binding : bindings_.editedBindings()) {
        captions << captionOf(binding->field);
    }
    return captions;
}

QGroupBox* StatusEditor::buildModeFrame() {
    auto* mode = new QGroupBox(Tables::status().caption(StatusField::Mode), frame_);
    mode->setObjectName(u"FrameMode"_s);
    modeBox_ = lineEdit(u"Text7"_s, mode);
    const QStringList boxCaptions{u"非移動"_s, u"移動"_s,     u"ルート"_s,       u"アクティブ"_s,
                                  u"リンク"_s, u"詠唱反応"_s, u"スプラッシュ?"_s};
    for (int i = 0; i < 7; ++i) {
        modeFlagBoxes_[size_t(i)] = new QCheckBox(boxCaptions[i], mode);
        modeFlagBoxes_[size_t(i)]->setObjectName(indexed(u"Check1"_s, i));
    }
    // Real mode values run to nine digits: the value takes the frame's whole width, above the
    // boxes, short captions on the left and long ones on the right.
    FormGrid grid(mode);
    grid.layout()->setContentsMargins(2, 0, 2, 0);
    FormGrid::fitChars(modeBox_, 6);
    grid.row({{modeBox_, 2}});
    grid.row({modeFlagBoxes_[0], modeFlagBoxes_[3]});
    grid.row({modeFlagBoxes_[1], modeFlagBoxes_[5]});
    grid.row({modeFlagBoxes_[2], modeFlagBoxes_[6]});
    grid.row({modeFlagBoxes_[4]});
    grid.finish();
    return mode;
}

void StatusEditor::showRecord(qint32 record) {
    if (record != bindings_.shownRecord()) emit leavingRecord();
    bindings_.showRecord(db_.StatusTable, record);
}

void StatusEditor::buildNavigationBar(QWidget* window) {
    navigationBar_ = new QWidget(window);
    navigationBar_->setObjectName(u"navigationBar"_s);
    auto* row = new QHBoxLayout(navigationBar_);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    row->addWidget(new Caption(u"ページ番号"_s, navigationBar_));
    positionBox_ = lineEdit(u"Text0"_s, navigationBar_);
    positionBox_->setFixedWidth(64);
    row->addWidget(positionBox_);

    slider_ = new QSlider(Qt::Horizontal, navigationBar_);
    slider_->setObjectName(u"Slider1"_s);
    slider_->setMinimum(0);
    slider_->setMaximum(0);
    row->addWidget(slider_, 1);

    stepBackButton_ = new QPushButton(u"<<"_s, navigationBar_);
    stepBackButton_->setObjectName(u"Command14"_s);
    stepNextButton_ = new QPushButton(u">>"_s, navigationBar_);
    stepNextButton_->setObjectName(u"Command15"_s);
    for (QPushButton* button : {stepBackButton_, stepNextButton_}) {
        button->setFixedWidth(36);
        row->addWidget(button);
    }
}

void StatusEditor::buildHiddenControls(QWidget* window) {
    hiddenFrame_ = new QWidget(window);
    hiddenFrame_->setObjectName(u"hiddenFrame"_s);
    hiddenFrame_->hide();

    sizeCodeBox_ = lineEdit(u"Text3"_s, hiddenFrame_);
    for (int code : {StatusField::Race, StatusField::Element}) {
        numberBoxes_[size_t(code)] = lineEdit(numberBoxName(code), hiddenFrame_);
    }
    idLabel_ = new QLabel(hiddenFrame_);
    idLabel_->setObjectName(u"Label1"_s);
    idLabel_->hide();

    idList_ = new HiddenList(u"List3"_s, hiddenFrame_, models_.statusIds);
    idFoundLabel_ = new HiddenLabel(u"Label7"_s, hiddenFrame_);
    nameFoundLabel_ = new HiddenLabel(u"Label10"_s, hiddenFrame_);
}

void StatusEditor::fillCodeLists() {
    raceNames_->appendRows(RaceNames());
    raceCombo_->setCurrentIndex(0);
    elementNames_->appendRows(ElementNames());
    sizeNames_->appendRows(SizeNames());
    sizeCombo_->setCurrentIndex(0);
}

void StatusEditor::setSliderMaximum(int maximum) {
    // a maximum below the current value moves the slider, which is not the user's Scroll
    QScopedValueRollback guard(movingSlider_, true);
    slider_->setMaximum(std::max(maximum, 0));
}

}  // namespace mdb
