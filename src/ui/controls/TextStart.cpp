#include "ui/controls/TextStart.h"

#include <QLineEdit>

namespace mdb {

namespace {

// setText puts the caret, and so the view, at the end; only a text longer than the box shows
// less than whole, and a box the user types in keeps the caret where the typing is
void showStartIfLonger(QLineEdit* box) {
    if (box->hasFocus()) return;
    if (box->fontMetrics().horizontalAdvance(box->text()) < box->contentsRect().width() - 8) {
        return;
    }
    box->setCursorPosition(0);
}

}  // namespace

void showTextStartWhenFilled(QWidget* root) {
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) {
        QObject::connect(box, &QLineEdit::textChanged, box, [box] { showStartIfLonger(box); });
    }
}

void showTextStartNowLaidOut(QWidget* root) {
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) showStartIfLonger(box);
}

}  // namespace mdb
