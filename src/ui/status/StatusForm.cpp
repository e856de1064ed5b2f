// The status form: the number boxes and their leave-the-box rule, and the size, race and
// element drop-downs that stand beside the hidden boxes holding those codes.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "model/CodeTables.h"
#include "model/FieldText.h"
#include "model/NumericText.h"
#include "model/ValueRules.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/FocusEvents.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Shows a code box's value in its drop-down. A text that is no whole number within the rows
// cannot be shown, so the drop-down shows nothing; the box keeps its text, and the commit
// writes it back as it was read. Clearing a drop-down raises no Click anyway, the blocker only
// keeps the combo's own signal from reaching a handler that would have to ignore it.
void showCode(QComboBox* combo, QStringView text) {
    const auto code = wholeNumberText(text);
    if (code && *code >= 0 && *code < combo->count()) {
        combo->setCurrentIndex(int(*code));
        return;
    }
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(-1);
}

}  // namespace

void StatusEditor::connectForm() {
    for (size_t i = 0; i < Text1.size(); ++i) {
        QLineEdit* box = Text1[i];
        if (!box) continue;  // 0 and 19 carry no field
        connect(box, &QLineEdit::textChanged, this, [this] { SyncCombosFromFields(); });
        FocusEvents::watch(
            box, [box] { SelectAllText(box); }, [this, box] { NormaliseNumberField(box); });
    }
    connect(Text3, &QLineEdit::textChanged, this, &StatusEditor::onText3Change);
    selectAllOnFocus(Text3);
    FocusEvents::watch(
        Text4, [this] { SelectAllText(Text4); }, [this] { onText4LostFocus(); });

    connect(Combo4, &QComboBox::currentIndexChanged, this, &StatusEditor::onCombo4Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &StatusEditor::onCombo2Click);
    connect(Combo3, &QComboBox::currentIndexChanged, this, &StatusEditor::onCombo3Click);
}

void StatusEditor::NormaliseNumberField(QLineEdit* box) {
    MDB_CHAIN("Text1.LostFocus NormaliseNumberField");
    // no upper limit: any number the user typed stays as typed, without the blanks
    box->setText(SettledNonNegative(box->text()));
}

void StatusEditor::SyncCombosFromFields() {
    MDB_CHAIN("Text1.Change SyncCombosFromFields");
    showCode(Combo2, Text1[20]->text());
    if (numericValue(Text1[21]->text()) < 0) Text1[21]->setText(u"0"_s);
    // an element code outside the forty valid ones leaves the drop-down on its row
    if (const auto code = wholeNumberText(Text1[21]->text())) {
        if (const auto row = elementRowForCode(*code)) Combo3->setCurrentIndex(*row);
    }
}

void StatusEditor::onText3Change() {
    MDB_CHAIN("Text3.Change");
    showCode(Combo4, Text3->text());
}

void StatusEditor::onText4LostFocus() {
    MDB_CHAIN("Text4.LostFocus");
    if (Text4->text().isEmpty()) Text4->setText(u"0"_s);
    Text4->setText(trimBlanks(Text4->text()));
    // a name of blanks alone is as empty as no name
    if (Text4->text().isEmpty()) Text4->setText(u"0"_s);
}

void StatusEditor::onCombo4Click(int index) {
    MDB_CHAIN("Combo4.Click");
    if (index >= 0) Text3->setText(QString::number(index));
}

void StatusEditor::onCombo2Click(int index) {
    MDB_CHAIN("Combo2.Click");
    if (index >= 0) Text1[20]->setText(QString::number(index));
}

void StatusEditor::onCombo3Click(int index) {
    MDB_CHAIN("Combo3.Click");
    // clearing the drop-down is no Click; every row the user can pick is an element
    if (index < 0) return;
    Text1[21]->setText(QString::number(elementCodeForRow(index)));
}

}  // namespace mdb
