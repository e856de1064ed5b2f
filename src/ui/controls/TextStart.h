#pragma once

class QWidget;

namespace mdb {

// Every text box under `root` that the program fills shows the start of its text, not its
// tail: a long name or key reads from its first letter ("C5_NG_WRAITH_DEAD", not
// "WRAITH_DEAD"). What the user types keeps the caret where the typing is.
void showTextStartWhenFilled(QWidget* root);
// The same rule for the boxes under `root` once they have their places: a box filled before
// its frame was laid out was measured at a size it never shows.
void showTextStartNowLaidOut(QWidget* root);

}  // namespace mdb
