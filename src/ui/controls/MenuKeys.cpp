#include "ui/controls/MenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>

namespace mdb {

Q_LOGGING_CATEGORY(lcActions, "mdb.actions", QtWarningMsg)

void MenuKeys::traceActions(QWidget* window) {
    for (QAction* action : window->findChildren<QAction*>()) {
        QObject::connect(action, &QAction::triggered, window, [action] {
            const QWidget* focus = QApplication::focusWidget();
            qCDebug(lcActions).noquote()
                << action->objectName() << (focus ? focus->objectName() : QStringLiteral("(none)"));
        });
    }
}

MenuKeys::MenuKeys(QWidget* window) : QObject(window), window_(window) {}

void MenuKeys::install(QWidget* window) {
    // the key events go to the focused control, never to the window: watch them all, and let
    // the filter go with the window
    qApp->installEventFilter(new MenuKeys(window));
}

bool MenuKeys::isTextEditingKey(const QKeyEvent* key) {
    for (QKeySequence::StandardKey standard :
         {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Cut, QKeySequence::Copy,
          QKeySequence::Paste, QKeySequence::SelectAll}) {
        if (key->matches(standard)) return true;
    }
    // the redo key of the other desktops, which the menus' redo entry may carry
    return key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           key->keyCombination() ==
               QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

bool MenuKeys::isMenuShortcut(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    const auto actions = window_->findChildren<QAction*>();
    for (const QAction* action : actions) {
        for (const QKeySequence& shortcut : action->shortcuts()) {
            if (shortcut == pressed) return true;
        }
    }
    return false;
}

bool MenuKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (isTextEditingKey(key)) {
        // a text box that can edit keeps these keys, even where a menu entry has them too
        auto* box = qobject_cast<QLineEdit*>(widget);
        if (type == QEvent::ShortcutOverride && box && !box->isReadOnly()) event->accept();
        return false;
    }
    if (!isMenuShortcut(key)) return false;
    if (type == QEvent::ShortcutOverride) {
        // not taken by the control (nor by any of its parents): the menu's shortcut runs
        event->ignore();
        return true;
    }
    // A key press arrives only when no enabled entry took the shortcut: the key still belongs
    // to the menu, and the control must not act on it.
    event->accept();
    return true;
}

}  // namespace mdb
