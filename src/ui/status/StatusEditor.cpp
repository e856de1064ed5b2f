#include "ui/status/StatusEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>

#include "model/CodeTables.h"
#include "ui/controls/ComboBox.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The form packs about thirty captioned boxes into a 677 x 223 frame: rows of 20 px at a
// 22 px pitch below the frame's caption, in four columns beside the name list.
constexpr int RowTop = 18;
constexpr int RowPitch = 22;
constexpr int RowHeight = 20;

int rowY(int row) {
    return RowTop + row * RowPitch;
}

QString indexedName(const QString& name, int index) {
    return name + u'(' + QString::number(index) + u')';
}

QLabel* caption(const QString& text, QWidget* parent, int x, int y, int width) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, RowHeight);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* lineEdit(const QString& objectName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    return box;
}

// A caption to the left of its control, both on one row of a column.
struct Column {
    QWidget* parent;
    int x;
    int captionWidth;
    int boxWidth;

    void place(int row, const QString& text, QWidget* control) const {
        caption(text, parent, x, rowY(row), captionWidth);
        control->setGeometry(x + captionWidth + 2, rowY(row), boxWidth, RowHeight);
    }
};

}  // namespace

StatusEditor::StatusEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : QObject(window), db_(db), models_(models) {
    raceNames_ = new ColumnModel(this);
    elementNames_ = new ColumnModel(this);
    sizeNames_ = new ColumnModel(this);

    buildFrame(window);
    buildNavigationBar(window);
    buildHiddenControls(window);

    connectNavigation();
    connectForm();
    connectModeFlags();
}

void StatusEditor::buildFrame(QWidget* window) {
    Frame1 = new QGroupBox(u"モンスターステータスＤＢ 編集項目　(mob_stat_db.txt)"_s, window);
    Frame1->setObjectName(u"Frame1"_s);
    QFont small = Frame1->font();
    small.setPixelSize(11);
    Frame1->setFont(small);

    List4 = new ListBox(u"List4"_s, models_.statusDisplayNames, Frame1);
    List4->setGeometry(4, RowTop, 122, rowY(9) - RowTop - 2);

    Combo5 = makeComboBox(u"Combo5"_s, models_.statusIds, Frame1, 6);
    Text2A = lineEdit(u"Text2A"_s, Frame1);
    Text4 = lineEdit(u"Text4"_s, Frame1);
    Text9 = lineEdit(u"Text9"_s, Frame1);
    Text10 = lineEdit(u"Text10"_s, Frame1);

    // number boxes in field order; 19 carries no field and 20, 21 are hidden code boxes
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 22, 23, 24, 25}) {
        Text1[size_t(i)] = lineEdit(indexedName(u"Text1"_s, i), Frame1);
    }

    const Column names{Frame1, 128, 88, 84};
    names.place(0, u"ID"_s, Combo5);
    names.place(1, u"Name"_s, Text2A);
    names.place(2, u"表示モンスター名"_s, Text4);
    const QStringList firstCaptions{u"Mobレベル"_s, u"ＨＰ"_s, u"ＳＰ"_s, u"ＥＸＰ"_s,
                                    u"ＪｏｂＥＸＰ"_s};
    for (int i = 0; i < firstCaptions.size(); ++i)
        names.place(3 + i, firstCaptions[i], Text1[size_t(1 + i)]);
    names.place(8, u"ID検索"_s, Text9);

    const Column attack{Frame1, 302, 66, 58};
    const QStringList attackCaptions{u"射程"_s,        u"最低攻撃力"_s, u"最大攻撃力"_s,
                                     u"ＤＥＦ"_s,      u"ＭＤＥＦ"_s,   u"目標捕捉距離"_s,
                                     u"最大追尾距離"_s};
    const std::array<int, 7> attackBoxes{6, 7, 8, 9, 10, 17, 18};
    for (int i = 0; i < attackCaptions.size(); ++i)
        attack.place(i, attackCaptions[i], Text1[size_t(attackBoxes[size_t(i)])]);
    const Column search{Frame1, 302, 50, 74};
    search.place(8, u"名前検索"_s, Text10);

    Combo4 = makeComboBox(u"Combo4"_s, sizeNames_, Frame1, 3);
    Combo2 = makeComboBox(u"Combo2"_s, raceNames_, Frame1, 3);
    Combo3 = makeComboBox(u"Combo3"_s, elementNames_, Frame1, 3);
    const Column stats{Frame1, 430, 36, 52};
    const QStringList statCaptions{u"ＳＴＲ"_s, u"ＡＧＩ"_s, u"ＶＩＴ"_s,
                                   u"ＩＮＴ"_s, u"ＤＥＸ"_s, u"ＬＵＫ"_s};
    for (int i = 0; i < statCaptions.size(); ++i)
        stats.place(i, statCaptions[i], Text1[size_t(11 + i)]);
    stats.place(6, u"大きさ"_s, Combo4);
    stats.place(7, u"種族"_s, Combo2);
    stats.place(8, u"属性"_s, Combo3);

    const Column speeds{Frame1, 522, 70, 80};
    const QStringList speedCaptions{u"移動速度"_s, u"攻撃速度"_s, u"攻撃動作速度"_s,
                                    u"被害動作速度"_s};
    for (int i = 0; i < speedCaptions.size(); ++i)
        speeds.place(i, speedCaptions[i], Text1[size_t(22 + i)]);

    auto* mode = new QGroupBox(u"モード"_s, Frame1);
    mode->setObjectName(u"FrameMode"_s);
    mode->setGeometry(522, rowY(4), 151, rowY(9) - rowY(4) - 2);
    Text7 = lineEdit(u"Text7"_s, mode);
    Text7->setGeometry(4, 14, 48, RowHeight);
    const QStringList boxCaptions{u"非移動"_s, u"移動"_s,     u"ルート"_s,       u"アクティブ"_s,
                                  u"リンク"_s, u"詠唱反応"_s, u"スプラッシュ?"_s};
    // short captions on the left under Text7, long ones on the right under 非移動
    const std::array<QPoint, 7> places{QPoint(56, 14), QPoint(4, 36), QPoint(4, 58),
                                       QPoint(56, 36), QPoint(4, 80), QPoint(56, 58),
                                       QPoint(56, 80)};
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(boxCaptions[i], mode);
        box->setObjectName(indexedName(u"Check1"_s, i));
        const QPoint at = places[size_t(i)];
        box->setGeometry(at.x(), at.y(), at.x() == 4 ? 52 : 94, RowHeight);
        Check1[size_t(i)] = box;
    }
}

void StatusEditor::buildNavigationBar(QWidget* window) {
    navigationBar = new QWidget(window);
    navigationBar->setObjectName(u"navigationBar"_s);
    auto* row = new QHBoxLayout(navigationBar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    row->addWidget(new QLabel(u"ページ番号"_s, navigationBar));
    Text0 = lineEdit(u"Text0"_s, navigationBar);
    Text0->setFixedWidth(64);
    row->addWidget(Text0);

    Slider1 = new QSlider(Qt::Horizontal, navigationBar);
    Slider1->setObjectName(u"Slider1"_s);
    Slider1->setMinimum(0);
    Slider1->setMaximum(0);
    row->addWidget(Slider1, 1);

    Command14 = new QPushButton(u"<<"_s, navigationBar);
    Command14->setObjectName(u"Command14"_s);
    Command15 = new QPushButton(u">>"_s, navigationBar);
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
