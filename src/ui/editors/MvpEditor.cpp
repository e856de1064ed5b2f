#include "ui/editors/MvpEditor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "model/NumericText.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/FieldText.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/FormGrid.h"
#include "ui/controls/KeyLookup.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The first row whose text is exactly `text` (an ID is matched as typed, letter case too).
int exactRow(const ColumnModel& model, const QString& text) {
    const int row = findRow(model, text, MatchMode::WholeText);
    if (row < 0 || model.view(row) == text) return row;
    for (int r = row + 1; r < model.count(); ++r) {
        if (model.view(r) == text) return r;
    }
    return -1;
}

// The leave-the-box rule of every box of this editor: no range, only a number.
void normaliseOnLeave(QLineEdit* box) {
    if (!isValidNumber(box->text())) box->setText(u"0"_s);
    box->setText(trimBlanks(box->text()));
}

void emptyAsZero(QLineEdit* box) {
    if (box->text().isEmpty()) box->setText(u"0"_s);
}

}  // namespace

MvpEditor::MvpEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : QObject(window), db_(db) {
    buildFrame(models, window);
    connectControls();
}

void MvpEditor::buildFrame(MirrorModels& models, QWidget* window) {
    Frame5 = makeFrame(u"Frame5"_s, u"モンスターＭＶＰ ＤＢ 編集項目　(mob_mvp_db.txt)"_s, window);
    Combo8A = makeComboBox(u"Combo8A"_s, models.statusDisplayNamesClear, Frame5, 12);
    for (int i = 0; i < 5; ++i) {
        Text8A[i] = new QLineEdit(Frame5);
        Text8A[i]->setObjectName(indexed(u"Text8A"_s, i));
        Combo8[i] = makeComboBox(indexed(u"Combo8"_s, i), models.itemNames, Frame5, 10);
        Text8[i] = new QLineEdit(Frame5);
        Text8[i]->setObjectName(indexed(u"Text8"_s, i));
    }
    Command9 = new QPushButton(u"新しい項目を追加"_s, Frame5);
    Command9->setObjectName(u"Command9"_s);
    Command9->hide();

    // Rows top to bottom in the field order of the record: caption, box, then the item's name
    // or the number's unit.
    struct Row {
        const char16_t* caption;
        int field;
        QLineEdit* box;
        QWidget* beside;
        const char16_t* unit;
    };
    const std::array<Row, 10> rows{{
        {u"取得アイテム１", 2, Text8A[0], Combo8[0], nullptr},
        {u"取得アイテム２", 3, Text8A[1], Combo8[1], nullptr},
        {u"特別経験値", 4, Text8[0], nullptr, nullptr},
        {u"経験値獲得率", 5, Text8[1], nullptr, u"/100000 ?"},
        {u"特別アイテム＃１", 6, Text8A[2], Combo8[2], nullptr},
        {u"獲得率＃１", 7, Text8[2], nullptr, u"/10000"},
        {u"特別アイテム＃２", 8, Text8A[3], Combo8[3], nullptr},
        {u"獲得率＃２", 9, Text8[3], nullptr, u"/10000"},
        {u"特別アイテム＃３", 10, Text8A[4], Combo8[4], nullptr},
        {u"獲得率＃３", 11, Text8[4], nullptr, u"/10000"},
    }};
    FormGrid grid(Frame5);
    grid.row({u"MVPモンスター名", {Combo8A, 2}});
    int freeRow = 0;
    for (const Row& row : rows) {
        const int r = grid.row({row.caption, row.box});
        if (row.beside) grid.place(row.beside, r, 2);
        if (row.unit) grid.heading(QString::fromUtf16(row.unit), r, 2);
        if (!row.beside && !row.unit) freeRow = r;
        bindings_.bind(row.field, row.box);
    }
    // The frame is full to its designed height: a row of its own for the add button would
    // squeeze every row when it shows, so it takes the one place with nothing beside its box.
    grid.place(Command9, freeRow, 2);
    grid.stretchColumn(1, 1);
    grid.stretchColumn(2, 2);
    grid.finish();

    Frame6 = makeFrame(u"Frame6"_s, u"Frame6"_s, window);
    Frame6->hide();
    List8B = new HiddenList(u"List8B"_s, Frame6, models.statusNames);
    List8A = new HiddenList(u"List8A"_s, Frame6, models.mvpKeys);
    for (int i = 0; i < 5; ++i)
        List8[i] = new HiddenList(indexed(u"List8"_s, i), Frame6, models.itemIds);
    Label8A = new HiddenLabel(u"Label8A"_s, Frame6);
}

void MvpEditor::connectControls() {
    connect(Label8A, &HiddenLabel::Change, this, &MvpEditor::RefreshMvpEnabled);
    connect(List8A, &HiddenList::Click, this, &MvpEditor::ShowMvpRecord);
    connect(Combo8A, &QComboBox::currentIndexChanged, this, &MvpEditor::onCombo8AClick);
    connect(List8B, &HiddenList::Click, this, &MvpEditor::onList8BClick);
    for (int i = 0; i < 5; ++i) {
        connect(Text8A[i], &QLineEdit::textChanged, this, [this, i] { onText8AChange(i); });
        connect(List8[i], &HiddenList::Click, this, [this, i] { onList8Click(i); });
        connect(Combo8[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onCombo8Click(i, index); });
        connect(Text8[i], &QLineEdit::textChanged, this, [this, i] {
            MDB_CHAIN("Text8.Change");
            emptyAsZero(Text8[i]);
        });
        for (QLineEdit* box : {Text8A[i], Text8[i]}) {
            FocusEvents::watch(
                box, [box] { SelectAllText(box); },
                [box] {
                    MDB_CHAIN("Text8.LostFocus");
                    normaliseOnLeave(box);
                });
        }
    }
    // no record is shown until the first monster's key is looked up
    RefreshMvpEnabled();
}

void MvpEditor::keyLookup(const QString& key) {
    currentKey_ = key;
    lookUpKey(*List8A, *Label8A, key);
}

void MvpEditor::commitInto(MonsterDatabase& db) const {
    bindings_.commitInto(db.MvpTable, shownRecord());
}

QStringList MvpEditor::newEntryFields() const {
    QStringList fields{List8B->text()};
    fields << Text8A[0]->text() << Text8A[1]->text() << Text8[0]->text() << Text8[1]->text();
    for (int i = 2; i < 5; ++i) fields << Text8A[i]->text() << Text8[i]->text();
    return fields;
}

bool MvpEditor::hasUncommittedEdits() const {
    return shownRecord() >= 1 && bindings_.differsFrom(db_.MvpTable, shownRecord());
}

void MvpEditor::ShowMvpRecord() {
    MDB_CHAIN("List8A.Click ShowMvpRecord");
    const qint32 last = db_.MvpTable.Count() - 1;
    if (List8A->listIndex() > last) List8A->setListIndex(last);
    const qint32 record = shownRecord();
    // the picker follows the record's monster, which also re-reads the key label
    FindListEntry(*List8B, db_.MvpTable.field(record, 1), MatchMode::WholeText);
    bindings_.showRecord(db_.MvpTable, record);
}

void MvpEditor::RefreshMvpEnabled() {
    MDB_CHAIN("Label8A.Change RefreshMvpEnabled");
    const QString& key = Label8A->caption();
    const auto setControlsEnabled = [this](bool enabled) {
        Combo8A->setEnabled(enabled);
        for (int i = 0; i < 5; ++i) {
            Text8A[i]->setEnabled(enabled);
            Text8[i]->setEnabled(enabled);
            Combo8[i]->setEnabled(enabled);
        }
    };
    if (key.isEmpty()) setControlsEnabled(false);
    // a key that is neither empty nor the shown monster's leaves the controls as they were
    if (key == currentKey_ && !key.isEmpty()) setControlsEnabled(true);
    if (key.isEmpty()) List8A->setListIndex(-1);
}

void MvpEditor::onCombo8AClick(int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN("Combo8A.Click");
    List8B->setListIndex(index);
    // row 0 is "選 択 解 除": no MVP record at all
    if (index == 0) List8A->setListIndex(-1);
}

void MvpEditor::onList8BClick() {
    MDB_CHAIN("List8B.Click");
    const int row = FindListEntry(*List8A, List8B->text(), MatchMode::WholeText);
    Label8A->setCaption(List8A->list(row));
    Combo8A->setCurrentIndex(List8B->listIndex());
}

void MvpEditor::onText8AChange(int i) {
    MDB_CHAIN("Text8A.Change");
    emptyAsZero(Text8A[i]);
    List8[i]->setListIndex(exactRow(*List8[i]->model(), Text8A[i]->text()));
}

void MvpEditor::onList8Click(int i) {
    MDB_CHAIN("List8.Click");
    const int index = List8[i]->listIndex();
    // row 0 is the clear entry of its own; every item's row writes the item's ID
    if (index > 0) Text8A[i]->setText(List8[i]->text());
    if (index == 0) Text8A[i]->setText(u"0"_s);
    Combo8[i]->setCurrentIndex(index);
}

void MvpEditor::onCombo8Click(int i, int index) {
    if (index < 0) return;
    MDB_CHAIN("Combo8.Click");
    List8[i]->setListIndex(index);
}

}  // namespace mdb
