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
    for (size_t i = 0; i < numberBoxes_.size(); ++i) {
        QLineEdit* box = numberBoxes_[i];
        if (!box) continue;  // a field shown otherwise (the key, the size, the mode)
        connect(box, &QLineEdit::textChanged, this, [this] { SyncCombosFromFields(); });
        FocusEvents::watch(
            box, [box] { SelectAllText(box); }, [this, box] { NormaliseNumberField(box); });
    }
    connect(sizeCodeBox_, &QLineEdit::textChanged, this, &StatusEditor::onSizeCodeChanged);
    selectAllOnFocus(sizeCodeBox_);
    FocusEvents::watch(
        displayNameBox_, [this] { SelectAllText(displayNameBox_); },
        [this] { onDisplayNameLeft(); });

    connect(sizeCombo_, &QComboBox::currentIndexChanged, this, &StatusEditor::onSizeChosen);
    connect(raceCombo_, &QComboBox::currentIndexChanged, this, &StatusEditor::onRaceChosen);
    connect(elementCombo_, &QComboBox::currentIndexChanged, this, &StatusEditor::onElementChosen);
}

void StatusEditor::NormaliseNumberField(QLineEdit* box) {
    MDB_CHAIN("Text1.LostFocus NormaliseNumberField");
    // no upper limit: any number the user typed stays as typed, without the blanks
    box->setText(SettledNonNegative(box->text()));
}

void StatusEditor::SyncCombosFromFields() {
    MDB_CHAIN("Text1.Change SyncCombosFromFields");
    showCode(raceCombo_, numberBoxes_[StatusField::Race]->text());
    if (numericValue(numberBoxes_[StatusField::Element]->text()) < 0)
        numberBoxes_[StatusField::Element]->setText(u"0"_s);
    // an element code outside the forty valid ones leaves the drop-down on its row
    if (const auto code = wholeNumberText(numberBoxes_[StatusField::Element]->text())) {
        if (const auto row = elementRowForCode(*code)) elementCombo_->setCurrentIndex(*row);
    }
}

void StatusEditor::onSizeCodeChanged() {
    MDB_CHAIN("Text3.Change");
    showCode(sizeCombo_, sizeCodeBox_->text());
}

void StatusEditor::onDisplayNameLeft() {
    MDB_CHAIN("Text4.LostFocus");
    if (displayNameBox_->text().isEmpty()) displayNameBox_->setText(u"0"_s);
    displayNameBox_->setText(trimBlanks(displayNameBox_->text()));
    // a name of blanks alone is as empty as no name
    if (displayNameBox_->text().isEmpty()) displayNameBox_->setText(u"0"_s);
}

void StatusEditor::onSizeChosen(int index) {
    MDB_CHAIN("Combo4.Click");
    if (index >= 0) sizeCodeBox_->setText(QString::number(index));
}

void StatusEditor::onRaceChosen(int index) {
    MDB_CHAIN("Combo2.Click");
    if (index >= 0) numberBoxes_[StatusField::Race]->setText(QString::number(index));
}

void StatusEditor::onElementChosen(int index) {
    MDB_CHAIN("Combo3.Click");
    // clearing the drop-down is no Click; every row the user can pick is an element
    if (index < 0) return;
    numberBoxes_[StatusField::Element]->setText(QString::number(elementCodeForRow(index)));
}

}  // namespace mdb
