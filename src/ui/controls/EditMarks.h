#pragma once

#include <QHash>
#include <QObject>
#include <QPalette>
#include <functional>
#include <vector>

class QWidget;

namespace mdb {

class BindingTable;

// Tints every control that holds an edit not yet updated into the record it shows, so that
// the user sees what choosing another monster would drop. The controls are looked at once a
// turn of the event loop, after whatever the turn's chains wrote into them.
class EditMarks : public QObject {
public:
    explicit EditMarks(QObject* parent = nullptr);

    // Watches the committed controls of `bindings`; a binding's mark goes on the widget
    // `shownBy` gives for its control (the control itself when it is a widget, by default).
    void watch(const BindingTable& bindings, std::function<QWidget*(QObject*)> shownBy = {});
    // Looks again at the end of this turn: a record shown or updated.
    void refreshSoon();
    // Looks again now.
    void refresh();

    // The tint of a marked control.
    static QColor tint();

private:
    struct Watched {
        const BindingTable* bindings;
        std::function<QWidget*(QObject*)> shownBy;
    };
    void mark(QWidget* widget);
    void unmark(QWidget* widget);

    std::vector<Watched> watched_;
    // with the palette each had set before, or an empty one for a palette inherited
    QHash<QWidget*, QPalette> marked_;
    bool scheduled_ = false;
};

}  // namespace mdb
