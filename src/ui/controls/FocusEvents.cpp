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

bool isUsersFocusMove(Qt::FocusReason reason) {
    switch (reason) {
        case Qt::PopupFocusReason:         // a menu or a drop-down's list opened over the box
        case Qt::MenuBarFocusReason:       // the menu bar took the keyboard
        case Qt::ActiveWindowFocusReason:  // another window was activated, or this one again
            return false;
        default:
            return true;
    }
}

bool FocusEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
    auto* focus = static_cast<QFocusEvent*>(event);
    // the box is left or entered only when the focus moves between the window's controls
    if (!isUsersFocusMove(focus->reason())) return false;
    if (event->type() == QEvent::FocusIn && gotFocus_) {
        gotFocus_();
        // a mouse click places the caret after focus-in; run the handler again once it has
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
