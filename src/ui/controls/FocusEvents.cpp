#include "ui/controls/FocusEvents.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace mdb {

FocusEvents::FocusEvents(QLineEdit* box, Handler gotFocus, Handler lostFocus)
    : QObject(box), gotFocus_(std::move(gotFocus)), lostFocus_(std::move(lostFocus)) {
    box->installEventFilter(this);
}

void FocusEvents::watch(QLineEdit* box, Handler gotFocus, Handler lostFocus) {
    new FocusEvents(box, std::move(gotFocus), std::move(lostFocus));
}

bool FocusEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && gotFocus_) {
        gotFocus_();
        // a mouse click places the caret after focus-in; run the handler again once it has
        auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() == Qt::MouseFocusReason) {
            QPointer<QObject> alive(watched);
            QTimer::singleShot(0, this, [this, alive] {
                if (alive) gotFocus_();
            });
        }
    } else if (event->type() == QEvent::FocusOut && lostFocus_) {
        lostFocus_();
    }
    return false;
}

void SelectAllText(QLineEdit* box) {
    const int length = int(box->text().size());
    box->setSelection(length, -length);  // selection of the whole text, caret at 0
}

void selectAllOnFocus(QLineEdit* box, FocusEvents::Handler lostFocus) {
    FocusEvents::watch(
        box, [box] { SelectAllText(box); }, std::move(lostFocus));
}

}  // namespace mdb
