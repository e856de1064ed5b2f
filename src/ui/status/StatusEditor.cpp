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
    Frame1 = new QGroupBox(table.frameTitle, window);
    Frame1->setObjectName(u"Frame1"_s);
    QFont small = Frame1->font();
    small.setPixelSize(11);
    Frame1->setFont(small);

    List4 = new ListBox(u"List4"_s, models_.statusDisplayNames, Frame1);
    List4->setFixedWidth(122);
    Combo5 = makeComboBox(u"Combo5"_s, models_.statusIds, Frame1, 6);
    Text2A = lineEdit(u"Text2A"_s, Frame1);
    Text4 = lineEdit(u"Text4"_s, Frame1);
    Text9 = lineEdit(u"Text9"_s, Frame1);
    Text10 = lineEdit(u"Text10"_s, Frame1);
    // number boxes in field order; 19 carries no field and 20, 21 are hidden code boxes
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 22, 23, 24, 25}) {
        Text1[size_t(i)] = lineEdit(indexed(u"Text1"_s, i), Frame1);
    }
    Combo4 = makeComboBox(u"Combo4"_s, sizeNames_, Frame1, 3);
    Combo2 = makeComboBox(u"Combo2"_s, raceNames_, Frame1, 3);
    Combo3 = makeComboBox(u"Combo3"_s, elementNames_, Frame1, 3);
    QGroupBox* mode = buildModeFrame();

    // Four columns of captioned boxes beside the name list, one row table each.
    FormGrid grid(Frame1);
    grid.place(List4, 0, 0, 9, 1);
    const auto column = [&grid](int first, std::initializer_list<FormGrid::Cell> cells) {
        int row = 0;
        for (auto it = cells.begin(); it != cells.end(); it += 2, ++row) {
            if (it->widget) {
                grid.caption(std::next(it)->caption, row, first);
                grid.place(it->widget, row, first + 1);
            }
        }
    };
    // each box captioned with its field's caption; the drop-downs stand for the hidden code boxes
    const auto& t = Text1;
    namespace F = StatusField;
    const auto c = [&table](int field) { return table.caption(field); };
    column(1,
           {Combo5, c(F::Id), Text2A, c(F::Name), Text4, c(F::DisplayName), t[1], c(F::Level), t[2],
            c(F::Hp), t[3], c(F::Sp), t[4], c(F::Exp), t[5], c(F::JobExp), Text9, u"ID検索"});
    column(3, {t[6], c(F::Range), t[7], c(F::AtkMin), t[8], c(F::AtkMax), t[9], c(F::Def), t[10],
               c(F::Mdef), t[17], c(F::SearchRange), t[18], c(F::ChaseRange), nullptr, u"", Text10,
               u"名前検索"});
    column(5, {t[11], c(F::Str), t[12], c(F::Agi), t[13], c(F::Vit), t[14], c(F::Int), t[15],
               c(F::Dex), t[16], c(F::Luk), Combo4, c(F::Size), Combo2, c(F::Race), Combo3,
               c(F::Element)});
    column(7, {t[22], c(F::MoveSpeed), t[23], c(F::AttackDelay), t[24], c(F::AttackMotion), t[25],
               c(F::DamageMotion)});
    grid.place(mode, 4, 7, 5, 2);
    for (QLineEdit* box : Text1) {
        if (box && box->parent() == Frame1) FormGrid::fitChars(box, 5);
    }
    for (QLineEdit* box : {Text9, Text10}) FormGrid::fitChars(box, 6);
    for (int c : {2, 4, 6, 8}) grid.stretchColumn(c);

    // Tab walks the form as it reads, down each column in turn and then through the mode flags,
    // not in the order the boxes happen to be made.
    QWidget* previous = List4;
    for (QWidget* next : std::initializer_list<QWidget*>{
             Combo5,    Text2A,    Text4,     t[1],      t[2],      t[3],     t[4],  t[5],
             Text9,     t[6],      t[7],      t[8],      t[9],      t[10],    t[17], t[18],
             Text10,    t[11],     t[12],     t[13],     t[14],     t[15],    t[16], Combo4,
             Combo2,    Combo3,    t[22],     t[23],     t[24],     t[25],    Text7, Check1[0],
             Check1[3], Check1[1], Check1[5], Check1[2], Check1[6], Check1[4]}) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }

    // Which box shows which field, in the order a record is shown; the commit writes the
    // editable ones in the same order, which is field order.
    using namespace StatusField;
    bindings_.bindShowOnly(Id, Label1);
    bindings_.bindShowOnly(Name, Text2A);  // the key: never written back
    bindings_.bindShowOnly(DisplayName, this,
                           [this](const QString& name) { emit displayNameShown(name); });
    bindings_.bind(DisplayName, Text4);
    for (int i = 1; i <= 18; ++i) bindings_.bind(Level + i - 1, Text1[size_t(i)]);
    bindings_.bind(Size, Text3);
    bindings_.bind(Race, Text1[20]);
    bindings_.bind(Element, Text1[21]);
    bindings_.bind(Mode, Text7);
    for (int i = 22; i <= 25; ++i) bindings_.bind(MoveSpeed + i - 22, Text1[size_t(i)]);
}

QGroupBox* StatusEditor::buildModeFrame() {
    auto* mode = new QGroupBox(Tables::status().caption(StatusField::Mode), Frame1);
    mode->setObjectName(u"FrameMode"_s);
    Text7 = lineEdit(u"Text7"_s, mode);
    const QStringList boxCaptions{u"非移動"_s, u"移動"_s,     u"ルート"_s,       u"アクティブ"_s,
                                  u"リンク"_s, u"詠唱反応"_s, u"スプラッシュ?"_s};
    for (int i = 0; i < 7; ++i) {
        Check1[size_t(i)] = new QCheckBox(boxCaptions[i], mode);
        Check1[size_t(i)]->setObjectName(indexed(u"Check1"_s, i));
    }
    // Real mode values run to nine digits: the value takes the frame's whole width, above the
    // boxes, short captions on the left and long ones on the right.
    FormGrid grid(mode);
    grid.layout()->setContentsMargins(2, 0, 2, 0);
    FormGrid::fitChars(Text7, 6);
    grid.row({{Text7, 2}});
    grid.row({Check1[0], Check1[3]});
    grid.row({Check1[1], Check1[5]});
    grid.row({Check1[2], Check1[6]});
    grid.row({Check1[4]});
    grid.finish();
    return mode;
}

void StatusEditor::showRecord(qint32 record) {
    bindings_.showRecord(db_.StatusTable, record);
}

void StatusEditor::buildNavigationBar(QWidget* window) {
    navigationBar_ = new QWidget(window);
    navigationBar_->setObjectName(u"navigationBar"_s);
    auto* row = new QHBoxLayout(navigationBar_);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    row->addWidget(new Caption(u"ページ番号"_s, navigationBar_));
    Text0 = lineEdit(u"Text0"_s, navigationBar_);
    Text0->setFixedWidth(64);
    row->addWidget(Text0);

    Slider1 = new QSlider(Qt::Horizontal, navigationBar_);
    Slider1->setObjectName(u"Slider1"_s);
    Slider1->setMinimum(0);
    Slider1->setMaximum(0);
    row->addWidget(Slider1, 1);

    Command14 = new QPushButton(u"<<"_s, navigationBar_);
    Command14->setObjectName(u"Command14"_s);
    Command15 = new QPushButton(u">>"_s, navigationBar_);
    Command15->setObjectName(u"Command15"_s);
    for (QPushButton* button : {Command14, Command15}) {
        button->setFixedWidth(36);
        row->addWidget(button);
    }
}

void StatusEditor::buildHiddenControls(QWidget* window) {
    hiddenFrame = new QWidget(window);
    hiddenFrame->setObjectName(u"hiddenFrame"_s);
    hiddenFrame->hide();

    Text3 = lineEdit(u"Text3"_s, hiddenFrame);
    Text1[20] = lineEdit(u"Text1(20)"_s, hiddenFrame);
    Text1[21] = lineEdit(u"Text1(21)"_s, hiddenFrame);
    Label1 = new QLabel(hiddenFrame);
    Label1->setObjectName(u"Label1"_s);
    Label1->hide();

    List3 = new HiddenList(u"List3"_s, hiddenFrame, models_.statusIds);
    Label7 = new HiddenLabel(u"Label7"_s, hiddenFrame);
    Label10 = new HiddenLabel(u"Label10"_s, hiddenFrame);
}

void StatusEditor::fillCodeLists() {
    raceNames_->appendRows(RaceNames());
    Combo2->setCurrentIndex(0);
    elementNames_->appendRows(ElementNames());
    sizeNames_->appendRows(SizeNames());
    Combo4->setCurrentIndex(0);
}

void StatusEditor::setSliderMaximum(int maximum) {
    // a maximum below the current value moves the slider, which is not the user's Scroll
    QScopedValueRollback guard(movingSlider_, true);
    Slider1->setMaximum(std::max(maximum, 0));
}

}  // namespace mdb
