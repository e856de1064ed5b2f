#include "ui/controls/EditMarks.h"

#include <QLineEdit>
#include <QMetaObject>
#include <QSet>
#include <QWidget>

#include "ui/controls/BindingTable.h"
#include "ui/controls/HiddenList.h"

namespace mdb {

EditMarks::EditMarks(QObject* parent) : QObject(parent) {}

QColor EditMarks::tint() {
    return QColor(0xff, 0xe8, 0x9c);  // a light amber, away from the selection's blue
}

void EditMarks::watch(const BindingTable& bindings, std::function<QWidget*(QObject*)> shownBy) {
    watched_.push_back({&bindings, std::move(shownBy)});
    for (const BindingTable::Binding& binding : bindings.bindings()) {
        if (!binding.read) continue;
        if (auto* box = qobject_cast<QLineEdit*>(binding.control)) {
            connect(box, &QLineEdit::textChanged, this, &EditMarks::refreshSoon);
        } else if (auto* list = qobject_cast<HiddenList*>(binding.control)) {
            connect(list, &HiddenList::Click, this, &EditMarks::refreshSoon);
        }
    }
}

void EditMarks::refreshSoon() {
    if (scheduled_) return;
    scheduled_ = true;
    // a record is shown box by box: only once all of it is in are the boxes worth comparing
    QMetaObject::invokeMethod(
        this,
        [this] {
            scheduled_ = false;
            refresh();
        },
        Qt::QueuedConnection);
}

void EditMarks::refresh() {
    QSet<QWidget*> edited;
    for (const Watched& w : watched_) {
        for (const BindingTable::Binding* binding : w.bindings->editedBindings()) {
            QWidget* widget =
                w.shownBy ? w.shownBy(binding->control) : qobject_cast<QWidget*>(binding->control);
            if (widget) edited.insert(widget);
        }
    }
    for (QWidget* widget : marked_.keys()) {
        if (!edited.contains(widget)) unmark(widget);
    }
    for (QWidget* widget : edited) {
        if (!marked_.contains(widget)) mark(widget);
    }
}

void EditMarks::mark(QWidget* widget) {
    // a widget that follows its parent's palette keeps following it for every other colour
    const bool own = widget->testAttribute(Qt::WA_SetPalette);
    marked_.insert(widget, own ? widget->palette() : QPalette());
    QPalette tinted = own ? widget->palette() : QPalette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button}) {
        tinted.setColor(QPalette::Active, role, tint());
        tinted.setColor(QPalette::Inactive, role, tint());
    }
    widget->setPalette(tinted);
    widget->setProperty("edited", true);
}

void EditMarks::unmark(QWidget* widget) {
    widget->setPalette(marked_.take(widget));
    widget->setProperty("edited", QVariant());
}

}  // namespace mdb
