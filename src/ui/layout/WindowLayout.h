#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <functional>

class QMainWindow;
class QWidget;

namespace mdb {

// The window's arrangement as designed, in twips (15 to a pixel at the designed font), scaled
// to the font in use. Inside each frame a grid layout places the controls; the frames keep
// their designed places relative to each other, and factors measured from what the frames'
// controls need turn twips into pixels: one across, and one down for each band of frames (the
// status and MVP frames, the drop and emotion frames, the bottom row). So a wider or taller
// font gives the same arrangement, larger, and never a clipped caption or a control over
// another.
class WindowLayout {
public:
    struct Parts {
        QWidget* navigationBar = nullptr;  // page box, slider and the step buttons
        QList<QWidget*> commands;          // the buttons beside it, in order
        QList<QWidget*> sometimesShown;    // controls hidden in some modes (advanced mode's)
        // Tells the emotion frame how much of its top left the drop frame covers.
        std::function<void(const QSize&)> keepClearOfDrop;
        // The outer size, in twips, of the view the window starts in.
        QSize firstView;
        // Called for each frame shown after the start, once its controls have their places.
        std::function<void(QWidget*)> laidOutLater;
    };

    // Measures the frames of `window` (found by name), chooses the scale and places them, with
    // the navigation bar and the commands in one row between the status and the drop frame.
    // The frames outside the first view wait, hidden, until a wider view or a larger window
    // first needs them; their measuring waits too where the first view's size does not depend
    // on it.
    static void arrange(QMainWindow& window, const Parts& parts);
    // Before a view of this outer size is shown: the frames it needs are measured and shown.
    static void prepareView(QMainWindow& window, int outerWidthTwips, int outerHeightTwips);
    // The widget the frames lie in, inside the window's scroll area.
    static QWidget* client(const QMainWindow& window);
    // Every frame measured and shown, as a view larger than the first has them.
    static void showAllFrames(QMainWindow& window);

    // The client area of a view whose designed outer size is given in twips, scaled: at least
    // large enough for every frame that starts inside the designed area.
    static QSize clientSize(const QWidget& window, int outerWidthTwips, int outerHeightTwips);

    // A designed rectangle in twips, inside the window's client area.
    struct Designed {
        const char16_t* frame;
        QRect twips;
    };
    static const QList<Designed>& designedFrames();
    // The designed row of commands below the status frame.
    static QRect designedCommandRow();
};

}  // namespace mdb
