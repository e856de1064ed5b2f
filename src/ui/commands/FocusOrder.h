#pragma once

#include <QList>

class QMainWindow;
class QWidget;

namespace mdb {

// Tab follows the page: the status form (in its own order, down each column), the row of
// commands below it (and advanced mode's unlock button at the menu bar's end), then the editors'
// frames as they read, top band first and left to right. Inside an editor's frame Tab goes along
// each row and then down; the drop frame's two halves (slots 1 to 4, then 5 to 8) are read one
// after the other. Controls that take the focus only from a click (the emotion pictures) stay out
// of the chain.
class FocusOrder {
public:
    // Orders the chain of `window`, whose frames and command row are found by name.
    static void followThePage(QMainWindow& window);

    // The controls of `frame` that Tab stops at, in reading order: by the cell of the frame's
    // grid each lies in, row by row; with `splitColumn` >= 0, the columns from it on are read
    // after all rows of the columns before it.
    static QList<QWidget*> readingOrder(QWidget* frame, int splitColumn = -1);
};

}  // namespace mdb
