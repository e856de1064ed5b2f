// Choosing the shown monster: the position box, the slider, the step buttons, the name list,
// the ID drop-down and the two searches. Every selector ends by writing Text0.
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
    connect(Text0, &QLineEdit::textChanged, this, [this] { LoadStatusRecord(); });
    FocusEvents::watch(
        Text0, [this] { SelectAllText(Text0); }, [this] { onText0LostFocus(); });

    connect(Slider1, &QSlider::valueChanged, this, &StatusEditor::onSliderValueChanged);
    connect(Command15, &QPushButton::clicked, this, &StatusEditor::stepNext);
    connect(Command14, &QPushButton::clicked, this, &StatusEditor::stepBack);

    connect(List4, &ListBox::Click, this, &StatusEditor::onList4Click);
    connect(Combo5, &QComboBox::currentIndexChanged, this, &StatusEditor::onCombo5Click);
    Combo5->installEventFilter(new NoTypedSearch(Combo5));
    connect(List3, &HiddenList::Click, this, &StatusEditor::onList3Click);

    connect(Text9, &QLineEdit::textChanged, this, &StatusEditor::onIdSearch);
    connect(Text10, &QLineEdit::textChanged, this, &StatusEditor::onNameSearch);
    for (QLineEdit* box : {Text9, Text10, Text2A}) selectAllOnFocus(box);
    connect(Text2A, &QLineEdit::textChanged, this, &StatusEditor::shownKeyChanged);
}

void StatusEditor::showPosition(qint64 position) {
    Text0->setText(QString::number(position));
}

void StatusEditor::LoadStatusRecord() {
    MDB_CHAIN("Text0.Change LoadStatusRecord");
    const qint32 last = db_.StatusTable.Count() - 1;
    // with the placeholder alone (or nothing) there is no monster to show; the loader refuses
    // such a table, and a clamp into an empty range must not loop between 1 and 0
    if (last < 1) return;

    // each assignment below re-enters this handler, which finishes the load for the new text;
    // the outer run then reads the text again and finds nothing left to change
    if (numericValue(Text0->text()) < 1) Text0->setText(u"1"_s);
    if (numericValue(Text0->text()) > last) showPosition(last);

    const int p = int(roundHalfEvenClamped(numericValue(Text0->text()), 1, last));
    {
        QScopedValueRollback guard(movingSlider_, true);
        Slider1->setValue(p);
    }
    Combo5->setCurrentIndex(p);
    List4->setListIndex(p);

    // the record number the commit computes from the same text; it differs from p + 1 only
    // for a typed fraction ending in .5
    const qint32 r = qint32(roundHalfEvenClamped(numericValue(Text0->text()) + 1, 2, last + 1));
    showRecord(r);
}

std::optional<qint32> StatusEditor::shownRecord() const {
    const QString position = Text0->text();
    if (position.isEmpty()) return std::nullopt;
    const qint64 record = roundHalfEven(numericValue(position) + 1);
    // Record 1 is the placeholder and never shown; a position box that somehow holds
    // anything else names no record rather than a guessed one.
    if (record < 2 || record > db_.StatusTable.Count()) return std::nullopt;
    return qint32(record);
}

void StatusEditor::showAfresh(qint64 position) {
    // the key emptied first, so that its Change runs the look-up again for the same monster
    Text2A->clear();
    if (position >= 1 && Text0->text() != QString::number(position)) {
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
    return Text2A->text();
}

void StatusEditor::onText0LostFocus() {
    MDB_CHAIN("Text0.LostFocus");
    // every assignment reloads, which lifts "0" to "1"; each check reads the text anew
    if (numericValue(Text0->text()) < 0) Text0->setText(u"0"_s);
    if (Text0->text().isEmpty()) Text0->setText(u"0"_s);
    if (!isValidNumber(Text0->text())) Text0->setText(u"0"_s);
}

void StatusEditor::onSliderValueChanged(int value) {
    MDB_CHAIN("Slider1.Scroll");
    if (movingSlider_) return;
    showPosition(value);
}

void StatusEditor::stepNext() {
    MDB_CHAIN("Command15.Click");
    showPosition(qint64(Slider1->value()) + 1);
}

void StatusEditor::stepBack() {
    MDB_CHAIN("Command14.Click");
    showPosition(qint64(Slider1->value()) - 1);
}

void StatusEditor::onList4Click() {
    MDB_CHAIN("List4.Click");
    const int chosen = List4->listIndex();
    showPosition(chosen);
    // The heading row is no monster: the chain shows the first one and selects its row, but
    // the click or key that reached the heading goes on to select it once this returns. The
    // highlight is put back on the monster shown after that.
    if (chosen < 1) {
        QMetaObject::invokeMethod(List4, &ListBox::showSelection, Qt::QueuedConnection);
    }
}

void StatusEditor::onCombo5Click(int index) {
    MDB_CHAIN("Combo5.Click");
    // clearing the drop-down is no choice of the user's and raises nothing
    if (index < 0) return;
    showPosition(index);
}

void StatusEditor::onList3Click() {
    MDB_CHAIN("List3.Click");
    Combo5->setCurrentIndex(List3->listIndex());
}

void StatusEditor::onIdSearch() {
    MDB_CHAIN("Text9.Change");
    const int i = FindListEntry(*List3, Text9->text(), MatchMode::WholeText);
    Label7->setCaption(List3->list(i));
    if (i < 0 && !Text9->text().isEmpty()) {
        emit searchFoundNothing(false, Text9->text());
    } else {
        emit searchFound(false);
    }
}

void StatusEditor::onNameSearch() {
    MDB_CHAIN("Text10.Change");
    const int i = FindListEntry(*List4, Text10->text(), MatchMode::Prefix);
    // List4 has moved on to the shown monster by now; the label names the row that was found
    Label10->setCaption(List4->list(i));
    // the first monster shown for a failed search is no hit, and must not look like one
    if (i < 0) {
        emit searchFoundNothing(true, Text10->text());
    } else {
        emit searchFound(true);
    }
}

}  // namespace mdb
