#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <array>
#include <type_traits>

#include "WindowFixture.h"
#include "model/CodeTables.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/Widgets.h"
#include "ui/status/StatusEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

struct Monster {
    QString id;
    QString name;
    QString displayName;
    QString size = u"0"_s;
    QString race = u"0"_s;
    QString element = u"20"_s;
    QString mode = u"1"_s;
};

// One line of the status file; the number fields carry the record's id so that a test can
// tell which record a box shows.
QString statusLine(const Monster& m) {
    QStringList fields{m.id, m.name, u'"' + m.displayName + u'"'};
    for (int i = 4; i <= 21; ++i) fields << m.id + u'0' + QString::number(i);
    fields << m.size << m.race << m.element << m.mode;
    for (int i = 26; i <= 29; ++i) fields << m.id + u'0' + QString::number(i);
    return fields.join(u',') + u"\r\n"_s;
}

// Positions 1..9 (records 2..10) of the test table.
const std::vector<Monster> kMonsters{
    {u"0"_s, u"DUMMY"_s, u"DUMMY"_s},
    {u"1001"_s, u"KAPPA"_s, u"沼河童"_s, u"0"_s, u"5"_s, u"21"_s, u"1"_s},
    {u"1002"_s, u"KAPPA_KING"_s, u"ABCキング"_s, u"2"_s, u"5"_s, u"61"_s, u"3"_s},
    {u"1003"_s, u"MOLE"_s, u"モグラ"_s, u"1"_s, u"2"_s, u"89"_s, u"53"_s},
    {u"1004"_s, u"ABYSS"_s, u"abcアビス"_s, u"3"_s, u"9"_s, u"27"_s, u"0"_s},
    {u"1005"_s, u"BAT"_s, u"コウモリ"_s, u"1"_s, u"6"_s, u"10"_s, u"6"_s},
    {u"1006"_s, u"ODD"_s, u"変な奴"_s, u"7"_s, u"12"_s, u"42"_s, u"129"_s},
    {u"1007"_s, u"CANON"_s, u"正規化"_s, u"02"_s, u"03"_s, u"44"_s, u"13"_s},
    {u"1008"_s, u"BIG"_s, u"大物"_s, u"2"_s, u"7"_s, u"-3"_s, u"33566865"_s},
    {u"1009"_s, u"LAST"_s, u"最後"_s, u"0"_s, u"1"_s, u"22"_s, u"1"_s},
};

// The status editor's controls, found in the window by their object names.
struct StatusControls {
    QLineEdit* Text0 = nullptr;
    QSlider* Slider1 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command15 = nullptr;
    ListBox* List4 = nullptr;
    QComboBox* Combo5 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* Text10 = nullptr;
    std::array<QLineEdit*, 26> Text1{};
    QLineEdit* Text2A = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text7 = nullptr;
    std::array<QCheckBox*, 7> Check1{};
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    HiddenList* List3 = nullptr;
    HiddenLabel* Label7 = nullptr;
    HiddenLabel* Label10 = nullptr;
    QLabel* Label1 = nullptr;
};

}  // namespace

class StatusEditorTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        startWith(kMonsters);
    }

    void startWith(const std::vector<Monster>& monsters) {
        copySample();
        QString text;
        for (const Monster& m : monsters) text += statusLine(m);
        writeFile(u"mob_stat_db.txt"_s, text);
        ASSERT_EQ(start(), MainWindow::StartResult::Started);
        ASSERT_TRUE(findControls());
    }
    // Every control of `s`, each reported by name when missing.
    bool findControls() {
        s = {};
        bool all = true;
        const auto find = [this, &all](auto*& found, const QString& name) {
            found = control<std::remove_pointer_t<std::remove_reference_t<decltype(found)>>>(name);
            all = all && found;
        };
        find(s.Text0, u"Text0"_s);
        find(s.Slider1, u"Slider1"_s);
        find(s.Command14, u"Command14"_s);
        find(s.Command15, u"Command15"_s);
        find(s.List4, u"List4"_s);
        find(s.Combo5, u"Combo5"_s);
        find(s.Text9, u"Text9"_s);
        find(s.Text10, u"Text10"_s);
        for (int i : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                      13, 14, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25}) {
            find(s.Text1[size_t(i)], indexed(u"Text1"_s, i));
        }
        find(s.Text2A, u"Text2A"_s);
        find(s.Text3, u"Text3"_s);
        find(s.Text4, u"Text4"_s);
        find(s.Text7, u"Text7"_s);
        for (int i = 0; i < 7; ++i) find(s.Check1[size_t(i)], indexed(u"Check1"_s, i));
        find(s.Combo2, u"Combo2"_s);
        find(s.Combo3, u"Combo3"_s);
        find(s.Combo4, u"Combo4"_s);
        find(s.List3, u"List3"_s);
        find(s.Label7, u"Label7"_s);
        find(s.Label10, u"Label10"_s);
        find(s.Label1, u"Label1"_s);
        return all;
    }

    // The user picks a position: types it into Text0 and leaves the box.
    void show(int position) {
        s.Text0->setText(QString::number(position));
        focusOut(s.Text0);
        ASSERT_EQ(s.Text0->text(), QString::number(position));
    }
    // Text0, the other selectors and the form all agree on `position`.
    void expectShown(int position) {
        const Table& stat = window->database().StatusTable;
        EXPECT_EQ(s.Text0->text(), QString::number(position));
        EXPECT_EQ(s.Slider1->value(), position);
        EXPECT_EQ(s.List4->listIndex(), position);
        EXPECT_EQ(s.Combo5->currentIndex(), position);
        EXPECT_EQ(s.Text2A->text(), stat.field(position + 1, StatusField::Name));
        EXPECT_EQ(s.Label1->text(), stat.field(position + 1, StatusField::Id));
        EXPECT_EQ(s.Text1[18]->text(), stat.field(position + 1, StatusField::ChaseRange));
        EXPECT_EQ(s.Text1[25]->text(), stat.field(position + 1, StatusField::DamageMotion));
    }
    void typeInto(QLineEdit* box, const QString& keys) {
        box->selectAll();
        QTest::keyClicks(box, keys);
    }
    std::vector<bool> boxes() const {
        std::vector<bool> ticked;
        for (QCheckBox* box : s.Check1) ticked.push_back(box->isChecked());
        return ticked;
    }
    static std::vector<bool> pattern(int mode) {
        const auto p = modeBoxPattern(mode);
        return std::vector<bool>(p.begin(), p.end());
    }

    StatusControls s;
    const int last = int(kMonsters.size()) - 1;
};

TEST_F(StatusEditorTest, PositionBoxClampsWhatIsTypedAndMovesEverySelector) {
    expectShown(1);
    const auto* drop13 = control<QLineEdit>(u"Text13"_s);
    ASSERT_NE(drop13, nullptr);
    EXPECT_EQ(drop13->text(), u"沼河童"_s);

    show(3);
    expectShown(3);
    EXPECT_EQ(drop13->text(), u"モグラ"_s);

    for (const QString& low : {u"0"_s, u"-3"_s, u"abc"_s, u""_s}) {
        show(4);
        s.Text0->setText(low);
        expectShown(1);
    }

    for (const QString& high :
         {u"10"_s, u"2147483648"_s, u"1234567890123456789012345678901234567890"_s,
          QString(400, u'9')}) {
        show(2);
        s.Text0->setText(high);
        expectShown(last);
    }

    // an exponent is no part of the leading number, and the whole text is a valid number
    show(1);
    s.Text0->setText(u"1e999"_s);
    focusOut(s.Text0);
    EXPECT_EQ(s.Text0->text(), u"1e999"_s);
    EXPECT_EQ(s.Text2A->text(), u"KAPPA"_s);

    // halves round to the even neighbour; the drop-down then writes the whole position back
    show(1);
    s.Text0->setText(u"2.5"_s);
    expectShown(2);
    s.Text0->setText(u"3.5"_s);
    expectShown(4);

    // typed key by key, 5x shows position 5 until the box is left
    show(1);
    typeInto(s.Text0, u"5x"_s);
    EXPECT_EQ(s.Text0->text(), u"5x"_s);
    EXPECT_EQ(s.Text2A->text(), u"BAT"_s);
    focusOut(s.Text0);
    expectShown(1);

    // entering the box selects its whole text so that typing replaces it
    show(7);
    s.Text0->deselect();
    focusIn(s.Text0);
    EXPECT_EQ(s.Text0->selectedText(), u"7"_s);
    EXPECT_EQ(s.Text0->cursorPosition(), 0);
}

TEST_F(StatusEditorTest, StepButtonsMenuEntriesSliderAndListsWriteThePosition) {
    s.Command14->click();
    expectShown(1);
    s.Command15->click();
    s.Command15->click();
    expectShown(3);
    s.Command14->click();
    expectShown(2);

    trigger(u"mnuNext"_s);
    expectShown(3);
    trigger(u"mnuBack"_s);
    trigger(u"mnuBack"_s);
    trigger(u"mnuBack"_s);
    expectShown(1);

    show(last);
    s.Command15->click();
    trigger(u"mnuNext"_s);
    expectShown(last);

    // the user drags or keys the slider; its minimum 0 is lifted to the first monster
    s.Slider1->setValue(6);
    expectShown(6);
    s.Slider1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    expectShown(7);
    s.Slider1->setValue(0);
    expectShown(1);

    s.List4->setCurrentIndex(s.List4->model()->index(5, 0));
    expectShown(5);
    s.List4->setCurrentIndex(s.List4->model()->index(0, 0));
    expectShown(1);

    s.Combo5->setCurrentIndex(8);
    expectShown(8);
    s.Combo5->setCurrentIndex(0);
    expectShown(1);
}

TEST_F(StatusEditorTest, IdSearchNeedsTheWholeId) {
    s.Text9->setText(u"1004"_s);
    expectShown(4);
    EXPECT_EQ(s.List3->listIndex(), 4);
    EXPECT_EQ(s.Label7->caption(), u"1004"_s);

    // the ID must be typed whole: 100 does not stop at 1001; the list loses its row, and
    // clearing the ID drop-down is no choice of a monster
    s.Text9->setText(u"100"_s);
    EXPECT_EQ(s.List3->listIndex(), -1);
    EXPECT_EQ(s.Label7->caption(), QString());
    EXPECT_EQ(s.Combo5->currentIndex(), -1);
    EXPECT_EQ(s.Text0->text(), u"4"_s);
    EXPECT_EQ(s.Text2A->text(), u"ABYSS"_s);

    typeInto(s.Text9, u"1009"_s);
    expectShown(last);
    EXPECT_EQ(s.Label7->caption(), u"1009"_s);

    // the placeholder's ID finds row 0, which stands for the first monster
    s.Text9->setText(u"0"_s);
    expectShown(1);
    EXPECT_EQ(s.Label7->caption(), u"0"_s);
}

TEST_F(StatusEditorTest, NameSearchFollowsThePrefixIgnoringCase) {
    s.Text10->setText(u"abc"_s);
    expectShown(2);  // ABCキング comes before abcアビス
    EXPECT_EQ(s.Label10->caption(), u"ABCキング"_s);
    s.Text10->setText(u"ABCア"_s);
    expectShown(4);
    EXPECT_EQ(s.Label10->caption(), u"abcアビス"_s);

    s.Text10->setText(u"コウ"_s);
    expectShown(5);
    // モ begins the heading row as well as モグラ; the heading comes first
    s.Text10->setText(u"モ"_s);
    expectShown(1);
    EXPECT_EQ(s.Label10->caption(), u"モンスター名"_s);
    EXPECT_EQ(s.List4->list(0), u"モンスター名"_s);

    s.Text10->setText(u"大物"_s);
    expectShown(8);
    s.Text10->setText(QString());
    expectShown(1);
    EXPECT_EQ(s.Label10->caption(), u"モンスター名"_s);

    // the list follows every keystroke while the focus stays in the search box, also when the
    // menu shortcut steps on from the found monster
    window->show();
    window->activateWindow();
    s.Text10->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(QApplication::focusWidget(), s.Text10);
    QTest::keyClicks(s.Text10, u"AB"_s);
    expectShown(2);
    QTest::keyClick(s.Text10, Qt::Key_F, Qt::ControlModifier);
    expectShown(3);
    EXPECT_EQ(QApplication::focusWidget(), s.Text10);
    EXPECT_EQ(s.Text10->text(), u"AB"_s);

    // a failed search clears the list, whose Click then asks for position -1: the first monster
    s.Text10->setText(u"大物"_s);
    s.Text10->setText(u"zzz"_s);
    expectShown(1);
    EXPECT_EQ(s.Label10->caption(), QString());
    // and the highlight is on the row the list moved to
    const QModelIndexList highlighted = s.List4->selectionModel()->selectedIndexes();
    ASSERT_EQ(highlighted.size(), 1);
    EXPECT_EQ(highlighted[0].row(), 1);
}

TEST_F(StatusEditorTest, CodeDropDownsAndHiddenBoxesFollowEachOther) {
    // 1001: size 0, race 5, element 21 (水１)
    EXPECT_EQ(s.Combo4->currentIndex(), 0);
    EXPECT_EQ(s.Combo2->currentIndex(), 5);
    EXPECT_EQ(s.Combo3->currentText(), u"水１"_s);

    show(2);  // element 61
    EXPECT_EQ(s.Combo3->currentIndex(), 6);
    EXPECT_EQ(s.Combo3->currentText(), u"水３"_s);
    EXPECT_EQ(s.Combo4->currentText(), u"大"_s);
    show(3);  // element 89
    EXPECT_EQ(s.Combo3->currentIndex(), 39);
    EXPECT_EQ(s.Combo3->currentText(), u"不死４"_s);
    show(4);  // element 27, size 3, race 9
    EXPECT_EQ(s.Combo3->currentIndex(), 28);
    EXPECT_EQ(s.Combo3->currentText(), u"闇１"_s);
    EXPECT_EQ(s.Combo4->currentText(), u"不明"_s);
    EXPECT_EQ(s.Combo2->currentText(), u"竜"_s);

    // element 10 is no element: the drop-down keeps 闇１ and the box keeps the code
    show(5);
    EXPECT_EQ(s.Combo3->currentIndex(), 28);
    EXPECT_EQ(s.Text1[21]->text(), u"10"_s);
    s.Text1[2]->setText(u"77"_s);
    EXPECT_EQ(s.Text1[21]->text(), u"10"_s);

    // size 7 and race 12 cannot be shown: no row, and the boxes keep what was read
    show(6);
    EXPECT_EQ(s.Combo4->currentIndex(), -1);
    EXPECT_EQ(s.Combo2->currentIndex(), -1);
    EXPECT_EQ(s.Text3->text(), u"7"_s);
    EXPECT_EQ(s.Text1[20]->text(), u"12"_s);
    EXPECT_EQ(s.Combo3->currentText(), u"地２"_s);

    // picking rows writes the codes into the hidden boxes
    s.Combo3->setCurrentIndex(6);
    EXPECT_EQ(s.Text1[21]->text(), u"61"_s);
    s.Combo3->setCurrentIndex(37);
    EXPECT_EQ(s.Text1[21]->text(), u"49"_s);
    s.Combo2->setCurrentIndex(9);
    EXPECT_EQ(s.Text1[20]->text(), u"9"_s);
    s.Combo4->setCurrentIndex(2);
    EXPECT_EQ(s.Text3->text(), u"2"_s);

    // a fraction is no code either
    s.Text1[20]->setText(u"2.5"_s);
    EXPECT_EQ(s.Combo2->currentIndex(), -1);
    s.Text1[20]->setText(u"4"_s);
    EXPECT_EQ(s.Combo2->currentText(), u"昆虫"_s);

    // 02 and 03 are shown as rows 2 and 3; a drop-down that moves writes its row's code back,
    // one that already shows the row writes nothing
    show(7);
    EXPECT_EQ(s.Combo4->currentIndex(), 2);
    EXPECT_EQ(s.Text3->text(), u"02"_s);
    EXPECT_EQ(s.Combo2->currentIndex(), 3);
    EXPECT_EQ(s.Text1[20]->text(), u"3"_s);

    // a negative element becomes 0, which is no element: the drop-down keeps its row
    show(8);
    EXPECT_EQ(s.Text1[21]->text(), u"0"_s);
    EXPECT_EQ(s.Combo3->currentText(), u"風２"_s);
}

TEST_F(StatusEditorTest, LeavingABoxNormalisesItsText) {
    QLineEdit* hp = s.Text1[2];
    const std::pair<QString, QString> cases[] = {
        {u"-100"_s, u"0"_s},
        {u"abc"_s, u"0"_s},
        {u""_s, u"0"_s},
        {u" 250 "_s, u"250"_s},
        {u"12a"_s, u"0"_s},
        {u"1.5"_s, u"1.5"_s},
        {u"2e3"_s, u"2e3"_s},
        {u"\t7"_s, u"7"_s},
        {u"99999999999999999999999"_s, u"99999999999999999999999"_s},
    };
    for (const auto& [typed, left] : cases) {
        hp->setText(typed);
        focusOut(hp);
        EXPECT_EQ(hp->text(), left) << typed.toStdString();
    }
    // every number box has the rule, the last one as well
    s.Text1[25]->setText(u"-1"_s);
    focusOut(s.Text1[25]);
    EXPECT_EQ(s.Text1[25]->text(), u"0"_s);

    // a loaded text is normalised too when the user passes through the box
    s.Text1[7]->setText(u" 5 "_s);
    focusIn(s.Text1[7]);
    EXPECT_EQ(s.Text1[7]->selectedText(), u" 5 "_s);
    focusOut(s.Text1[7]);
    EXPECT_EQ(s.Text1[7]->text(), u"5"_s);

    s.Text4->setText(QString());
    focusOut(s.Text4);
    EXPECT_EQ(s.Text4->text(), u"0"_s);
    s.Text4->setText(u"  沼の河童 "_s);
    focusOut(s.Text4);
    EXPECT_EQ(s.Text4->text(), u"沼の河童"_s);
    s.Text4->setText(u"   "_s);
    focusOut(s.Text4);
    EXPECT_EQ(s.Text4->text(), u"0"_s);
}

TEST_F(StatusEditorTest, ModeBoxesFollowListedValuesAndClicksKeepTheOtherBits) {
    // position 1 has mode 1
    EXPECT_EQ(boxes(), pattern(1));
    show(4);  // mode 0: only 非移動
    EXPECT_EQ(boxes(), (std::vector<bool>{true, false, false, false, false, false, false}));
    show(7);  // mode 13
    EXPECT_EQ(boxes(), (std::vector<bool>{false, true, false, true, true, false, false}));

    show(2);  // mode 3
    show(3);  // mode 53
    EXPECT_EQ(s.Text7->text(), u"53"_s);
    EXPECT_EQ(boxes(), (std::vector<bool>{false, true, false, true, false, true, true}));

    // 6 is not listed: the boxes keep the flags of mode 1; a click builds the sum
    show(1);
    show(5);
    EXPECT_EQ(s.Text7->text(), u"6"_s);
    EXPECT_EQ(boxes(), pattern(1));
    s.Check1[4]->click();  // リンク
    EXPECT_EQ(s.Text7->text(), u"9"_s);
    EXPECT_EQ(boxes(), pattern(9));

    // 129 keeps its bit 128 through a click on リンク
    show(1);
    show(6);
    EXPECT_EQ(s.Text7->text(), u"129"_s);
    EXPECT_EQ(boxes(), pattern(1));
    s.Check1[4]->click();
    EXPECT_EQ(s.Text7->text(), u"137"_s);
    s.Check1[4]->click();
    EXPECT_EQ(s.Text7->text(), u"129"_s);

    // a real mode value: the boxes show its own low six bits (移動, 詠唱反応), whatever the
    // monster before showed, and a click changes only the bit clicked
    show(4);
    show(8);
    EXPECT_EQ(s.Text7->text(), u"33566865"_s);
    EXPECT_EQ(boxes(), pattern(17));
    s.Check1[2]->click();  // ルート
    EXPECT_EQ(s.Text7->text(), QString::number(33566865ull | 2));
    s.Text7->setText(u"128"_s);  // no boxed bit: 非移動 alone
    EXPECT_EQ(boxes(), pattern(0));

    // with mode 1 shown, clearing 移動 gives 0 and ticks 非移動; ルート clears it again
    show(1);
    s.Check1[1]->click();
    EXPECT_EQ(s.Text7->text(), u"0"_s);
    EXPECT_EQ(boxes(), pattern(0));
    s.Check1[2]->click();
    EXPECT_EQ(s.Text7->text(), u"2"_s);
    EXPECT_EQ(boxes(), pattern(2));
    // 非移動 weighs nothing: ticking it leaves the value and stands beside ルート
    s.Check1[0]->click();
    EXPECT_EQ(s.Text7->text(), u"2"_s);
    EXPECT_TRUE(s.Check1[0]->isChecked());
    EXPECT_TRUE(s.Check1[2]->isChecked());

    // typed text: no number becomes 0 at once; a negative or fraction stays and shows nothing
    s.Text7->setText(u"0x10"_s);
    EXPECT_EQ(s.Text7->text(), u"0"_s);
    EXPECT_EQ(boxes(), pattern(0));
    s.Text7->setText(u" 35 "_s);
    EXPECT_EQ(s.Text7->text(), u"35"_s);
    EXPECT_EQ(boxes(), pattern(35));
    s.Text7->setText(u"-4"_s);
    EXPECT_EQ(boxes(), pattern(35));
    s.Check1[3]->click();  // アクティブ: nothing to keep from -4
    EXPECT_EQ(s.Text7->text(), u"39"_s);
    s.Text7->setText(QString());
    EXPECT_EQ(s.Text7->text(), u"0"_s);
    // a value above what 64 bits hold has no bits to keep
    s.Text7->setText(u"99999999999999999999999"_s);
    s.Check1[1]->click();
    EXPECT_EQ(s.Text7->text(), u"1"_s);
}

TEST_F(StatusEditorTest, ThirtyThousandMonstersAreReachableEndToEnd) {
    std::vector<Monster> many{kMonsters.front()};
    for (int i = 1; i <= 30000; ++i) {
        const QString id = QString::number(100000 + i);
        many.push_back({id, u"M"_s + id, u"名前"_s + id, u"1"_s, u"2"_s,
                        QString::number(20 + i % 10), QString::number(i % 64)});
    }
    window.reset();
    startWith(many);
    EXPECT_EQ(s.Slider1->maximum(), 30000);

    for (int i = 0; i < 3000; ++i) statusEditor().stepNext();
    expectShown(3001);
    // 32-bit positions: the far end of the table is reachable
    s.Text9->setText(u"130000"_s);
    expectShown(30000);
    trigger(u"mnuBack"_s);
    expectShown(29999);
}

}  // namespace mdb::test
