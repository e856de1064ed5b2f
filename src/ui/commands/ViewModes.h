#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMainWindow;
class QWidget;

namespace mdb {

class EditorRegistry;
class MessageSink;

// Sets the window's outer size in twips (15 twips are one pixel). The designed outer sizes
// include a title bar, borders and the menu bar of 105 x 675 twips in all; the designed client
// area is kept whatever frame the window manager draws.
void setOuterSizeTwips(QMainWindow& window, int width, int height);
// The same for the height alone; the width stays as it is.
void setOuterHeightTwips(QMainWindow& window, int height);

// The three window layouts, the advanced mode and the command that unlocks every editor
// control. The view mode is the pair of check marks of mnuStatMenu (status only) and mnuMenu2
// (full view); neither checked is the standard view. The editors' frames, add buttons, add
// entries and controls come from the registry; `unlockButton` is Command8.
class ViewModes : public QObject {
    Q_OBJECT
public:
    ViewModes(QMainWindow& window, const EditorRegistry& editors, QWidget* unlockButton,
              MessageSink& messages, QObject* parent = nullptr);

    // F1: status only <-> standard view; from the full view back to status only.
    void ToggleStatusOnly();
    // F2: into the full view, or from it back to the standard view.
    void ToggleFullView();
    // Ctrl+P: shows or hides the add buttons and the add menu; warns on every switch-on.
    void ToggleAdvancedMode();
    // Command8: enables the 82 editor controls that the editors disable while the shown
    // monster has no record, so that a new entry can be typed; the frames stay as they are.
    void EnableAllEditors();

    // Runs `toggle` on a click of a checkable menu entry. Qt flips the check mark before it
    // reports the click; the mark is put back first, so that the toggle reads the state the
    // user saw and sets the mark itself.
    void connectToggle(QAction* action, void (ViewModes::*toggle)());

private:
    QAction* action(const QString& name) const;
    // The frames of the editors (all, or only those of the standard view's top row).
    void setFramesEnabled(bool bottomRowToo, bool enabled);
    void setBottomRowEnabled(bool enabled);
    void setAddEntriesForStandardView();
    void setAllAddEntriesEnabled(bool enabled);
    bool addMenuEnabled() const;

    QMainWindow& window_;
    const EditorRegistry& editors_;
    QWidget* unlockButton_;
    MessageSink& messages_;
};

}  // namespace mdb
