// The mode flags: modeBox_ holds the stored value, the seven boxes are a view of its low bits
// that the user can click to build it.
#include <QCheckBox>
#include <QLineEdit>
#include <QScopedValueRollback>

#include "model/CodeTables.h"
#include "model/FieldText.h"
#include "model/NumericText.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/FocusEvents.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The bits the boxes stand for (weights 1 to 32); every bit above them has no box.
constexpr quint64 BoxedBits = 63;

}  // namespace

void StatusEditor::connectModeFlags() {
    connect(modeBox_, &QLineEdit::textChanged, this, [this] { BoxesFromMode(); });
    selectAllOnFocus(modeBox_);
    for (QCheckBox* box : modeFlagBoxes_) {
        connect(box, &QCheckBox::toggled, this, [this] { ModeFromBoxes(); });
    }
}

void StatusEditor::BoxesFromMode() {
    MDB_CHAIN("Text7.Change BoxesFromMode");
    // each assignment re-enters with the new text and finishes the job there
    if (modeBox_->text().isEmpty()) modeBox_->setText(u"0"_s);
    if (!isValidNumber(modeBox_->text())) modeBox_->setText(u"0"_s);
    modeBox_->setText(trimBlanks(modeBox_->text()));

    const double value = numericValue(modeBox_->text());
    std::array<bool, 7> pattern{};
    if (isListedModeValue(value)) {
        pattern = modeBoxPattern(int(value));
    } else if (const auto whole = unsignedWholeNumberText(modeBox_->text());
               whole && *whole > BoxedBits) {
        // A click keeps the bits above the boxes and takes the boxed bits from the boxes, so
        // they must show this monster's own low bits, or one click would write the flags of
        // the monster shown before into this one.
        pattern = modeBoxPattern(int(*whole & BoxedBits));
    } else {
        return;  // the boxes cannot show it; they keep their state
    }
    // the pattern of a listed value adds up to the value itself, so the boxes' clicks would
    // only write intermediate sums on the way to the text that is already there
    QScopedValueRollback guard(applyingModePattern_, true);
    for (size_t k = 0; k < modeFlagBoxes_.size(); ++k) modeFlagBoxes_[k]->setChecked(pattern[k]);
}

void StatusEditor::ModeFromBoxes() {
    MDB_CHAIN("Check1.Click ModeFromBoxes");
    if (applyingModePattern_) return;
    const std::array<qint16, 7> weights = ModeBitValues();
    quint64 sum = 0;
    for (size_t k = 0; k < modeFlagBoxes_.size(); ++k) {
        if (modeFlagBoxes_[k]->isChecked()) sum += quint64(weights[k]);
    }
    // Real mode values carry flags above the boxed bits (33566865 is typical); a click on a
    // box changes the bits it stands for and keeps the others. A text that is no plain
    // non-negative whole number has no bits to keep and is replaced by the sum.
    quint64 value = sum;
    if (const auto current = unsignedWholeNumberText(modeBox_->text())) {
        value = (*current & ~BoxedBits) | sum;
    }
    modeBox_->setText(QString::number(value));
}

}  // namespace mdb
