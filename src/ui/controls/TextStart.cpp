#include "ui/controls/TextStart.h"

#include <QLineEdit>

namespace mdb {

void showTextStartWhenFilled(QWidget* root) {
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) {
        // setText puts the caret, and so the view, at the end; only a text longer than the box
        // shows less than whole, and a box the user types in keeps the caret where the typing is
        QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
            if (box->hasFocus()) return;
            if (box->fontMetrics().horizontalAdvance(text) < box->contentsRect().width() - 8)
                return;
            box->setCursorPosition(0);
        });
    }
}

}  // namespace mdb
