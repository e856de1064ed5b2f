#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace mdb {

// Keeps the menus' shortcuts working whatever control has the focus. A text box would take
// many control keys for itself (on X11 Ctrl+U empties the line, Ctrl+K cuts its end, Ctrl+D
// deletes a character), so that the menu entry never runs and the field is changed instead.
// Only the standard editing keys stay a text box's own: undo, redo, cut, copy, paste and select
// all. A menu shortcut whose entry is disabled does nothing at all, in a box as elsewhere.
class MenuKeys : public QObject {
public:
    // Watches the key events of every control of `window`; ends with it.
    static void install(QWidget* window);

    // Logs every menu entry as it runs, with the control that had the focus; enable with
    // QT_LOGGING_RULES="mdb.actions.debug=true" to see which key ran what.
    static void traceActions(QWidget* window);

    // Whether a text box keeps this key although a menu entry has it as its shortcut.
    static bool isTextEditingKey(const QKeyEvent* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MenuKeys(QWidget* window);
    bool isMenuShortcut(const QKeyEvent* key) const;

    QWidget* window_;
};

}  // namespace mdb
