#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

namespace mdb {

// Whether a focus change is the user moving between the window's controls (tab, click, a
// shortcut to a button), as opposed to a menu opening or another window being activated.
bool isUsersFocusMove(Qt::FocusReason reason);

// Runs GotFocus / LostFocus handlers of a text box when the user enters or leaves it.
class FocusEvents : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    static void watch(QLineEdit* box, Handler gotFocus, Handler lostFocus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FocusEvents(QLineEdit* box, Handler gotFocus, Handler lostFocus);
    Handler gotFocus_;
    Handler lostFocus_;
};

// Puts the caret at the start and selects the whole text, so that typing replaces it.
void SelectAllText(QLineEdit* box);

// GotFocus handler that selects the whole text, for boxes with no other focus rule.
void selectAllOnFocus(QLineEdit* box, FocusEvents::Handler lostFocus = {});

}  // namespace mdb
