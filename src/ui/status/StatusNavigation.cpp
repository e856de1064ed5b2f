// Choosing the shown monster: the position box, the slider, the step buttons, the name list,
// the ID drop-down and the two searches. Every selector ends by writing positionBox_.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <limits>

#include "model/NumericText.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/FocusEvents.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Typing into the ID drop-down does nothing: a drop-down searches its rows as keys are typed,
// and every row it reaches would show that monster and drop the form's edits ("1" shows 1001).
// Picking a row, with the arrow keys, the popup or the mouse, still shows it.
class NoTypedSearch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool typed = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                           key->key() != Qt::Key_Space &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        return typed;
    }
};

}  // namespace

void StatusEditor::connectNavigation() {
    connect(positionBox_, &QLineEdit::textChanged, this, [this] { LoadStatusRecord(); });
    FocusEvents::watch(
        positionBox_, [this] { SelectAllText(positionBox_); }, [this] { onPositionBoxLeft(); });

    connect(slider_, &QSlider::valueChanged, this, &StatusEditor::onSliderScrolled);
    connect(stepNextButton_, &QPushButton::clicked, this, &StatusEditor::stepNext);
    connect(stepBackButton_, &QPushButton::clicked, this, &StatusEditor::stepBack);

    connect(nameList_, &ListBox::Click, this, &StatusEditor::onNameChosen);
    connect(idCombo_, &QComboBox::currentIndexChanged, this, &StatusEditor::onIdChosen);
    idCombo_->installEventFilter(new NoTypedSearch(idCombo_));
    connect(idList_, &HiddenList::Click, this, &StatusEditor::onIdFound);

    connect(idSearchBox_, &QLineEdit::textChanged, this, &StatusEditor::onIdSearch);
    connect(nameSearchBox_, &QLineEdit::textChanged, this, &StatusEditor::onNameSearch);
    for (QLineEdit* box : {idSearchBox_, nameSearchBox_, keyBox_}) selectAllOnFocus(box);
    connect(keyBox_, &QLineEdit::textChanged, this, &StatusEditor::shownKeyChanged);
}

void StatusEditor::showPosition(qint64 position) {
    positionBox_->setText(QString::number(position));
}

void StatusEditor::LoadStatusRecord() {
    MDB_CHAIN("Text0.Change LoadStatusRecord");
    const qint32 last = db_.StatusTable.Count() - 1;
    // with the placeholder alone (or nothing) there is no monster to show; the loader refuses
    // such a table, and a clamp into an empty range must not loop between 1 and 0
    if (last < 1) return;

    // each assignment below re-enters this handler, which finishes the load for the new text;
    // the outer run then reads the text again and finds nothing left to change
    if (numericValue(positionBox_->text()) < 1) positionBox_->setText(u"1"_s);
    if (numericValue(positionBox_->text()) > last) showPosition(last);

    const int p = int(roundHalfEvenClamped(numericValue(positionBox_->text()), 1, last));
    {
        QScopedValueRollback guard(movingSlider_, true);
        slider_->setValue(p);
    }
    idCombo_->setCurrentIndex(p);
    nameList_->setListIndex(p);

    // the record number the commit computes from the same text; it differs from p + 1 only
    // for a typed fraction ending in .5
    const qint32 r =
        qint32(roundHalfEvenClamped(numericValue(positionBox_->text()) + 1, 2, last + 1));
    showRecord(r);
}

std::optional<qint32> StatusEditor::shownRecord() const {
    const QString position = positionBox_->text();
    if (position.isEmpty()) return std::nullopt;
    const qint64 record = roundHalfEven(numericValue(position) + 1);
    // Record 1 is the placeholder and never shown; a position box that somehow holds
    // anything else names no record rather than a guessed one.
    if (record < 2 || record > db_.StatusTable.Count()) return std::nullopt;
    return qint32(record);
}

void StatusEditor::showAfresh(qint64 position) {
    // the key emptied first, so that its Change runs the look-up again for the same monster
    keyBox_->clear();
    if (position >= 1 && positionBox_->text() != QString::number(position)) {
        showPosition(position);
    } else {
        LoadStatusRecord();
    }
}

bool StatusEditor::commitInto(MonsterDatabase& db) const {
    const auto record = shownRecord();
    if (!record) return false;
    bindings_.commitInto(db.StatusTable, *record);
    return true;
}

bool StatusEditor::hasUncommittedEdits() const {
    const auto record = shownRecord();
    return record && bindings_.differsFrom(db_.StatusTable, *record);
}

QString StatusEditor::shownKey() const {
    return keyBox_->text();
}

void StatusEditor::onPositionBoxLeft() {
    MDB_CHAIN("Text0.LostFocus");
    // every assignment reloads, which lifts "0" to "1"; each check reads the text anew
    if (numericValue(positionBox_->text()) < 0) positionBox_->setText(u"0"_s);
    if (positionBox_->text().isEmpty()) positionBox_->setText(u"0"_s);
    if (!isValidNumber(positionBox_->text())) positionBox_->setText(u"0"_s);
}

void StatusEditor::onSliderScrolled(int value) {
    MDB_CHAIN("Slider1.Scroll");
    if (movingSlider_) return;
    showPosition(value);
}

void StatusEditor::stepNext() {
    MDB_CHAIN("Command15.Click");
    showPosition(qint64(slider_->value()) + 1);
}

void StatusEditor::stepBack() {
    MDB_CHAIN("Command14.Click");
    showPosition(qint64(slider_->value()) - 1);
}

void StatusEditor::onNameChosen() {
    MDB_CHAIN("List4.Click");
    const int chosen = nameList_->listIndex();
    showPosition(chosen);
    // The heading row is no monster: the chain shows the first one and selects its row, but
    // the click or key that reached the heading goes on to select it once this returns. The
    // highlight is put back on the monster shown after that.
    if (chosen < 1) {
        QMetaObject::invokeMethod(nameList_, &ListBox::showSelection, Qt::QueuedConnection);
    }
}

void StatusEditor::onIdChosen(int index) {
    MDB_CHAIN("Combo5.Click");
    // clearing the drop-down is no choice of the user's and raises nothing
    if (index < 0) return;
    showPosition(index);
}

void StatusEditor::onIdFound() {
    MDB_CHAIN("List3.Click");
    idCombo_->setCurrentIndex(idList_->listIndex());
}

void StatusEditor::onIdSearch() {
    MDB_CHAIN("Text9.Change");
    const int i = FindListEntry(*idList_, idSearchBox_->text(), MatchMode::WholeText);
    idFoundLabel_->setCaption(idList_->list(i));
    if (i < 0 && !idSearchBox_->text().isEmpty()) {
        emit searchFoundNothing(false, idSearchBox_->text());
    } else {
        emit searchFound(false);
    }
}

void StatusEditor::onNameSearch() {
    MDB_CHAIN("Text10.Change");
    const int i = FindListEntry(*nameList_, nameSearchBox_->text(), MatchMode::Prefix);
    // nameList_ has moved on to the shown monster by now; the label names the row that was found
    nameFoundLabel_->setCaption(nameList_->list(i));
    // the first monster shown for a failed search is no hit, and must not look like one
    if (i < 0) {
        emit searchFoundNothing(true, nameSearchBox_->text());
    } else {
        emit searchFound(true);
    }
}

}  // namespace mdb
