#include "ui/commands/ViewModes.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include "ui/controls/MessageSink.h"
#include "ui/editors/DependentEditor.h"
#include "ui/editors/EditorRegistry.h"
#include "ui/layout/KeepOnScreen.h"
#include "ui/layout/WindowLayout.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The window's outer size for a client area: the menu bar above it and the status bar (which
// the design did not have) below it come on top of the designed client area.
QSize outerSize(QMainWindow& window, const QSize& client) {
    const QStatusBar* status = window.findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    const int statusHeight = status && !status->isHidden() ? status->sizeHint().height() : 0;
    return client + QSize(0, window.menuBar()->sizeHint().height() + statusHeight);
}

}  // namespace

namespace {

// The largest outer size whose frame the screen shows whole.
QSize screenRoom(const QMainWindow& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // the window manager's frame; before it was drawn, room for a usual title bar
    QSize frame = window.frameGeometry().size() - window.size();
    if (!window.isVisible() || frame.isEmpty()) frame = frame.expandedTo(QSize(8, 32));
    return screen->availableGeometry().size() - frame;
}

// Shows a view whose client area is `client`, in a window `width` wide (0: the view's width).
// The window is never smaller than its view, so that no control is cut off; only a screen too
// small for the view makes it smaller, and the view then scrolls.
void showView(QMainWindow& window, const QSize& client, int width = 0) {
    QWidget* inner = WindowLayout::client(window);
    if (inner != window.centralWidget()) inner->setFixedSize(client);
    QSize outer = outerSize(window, client);
    const QSize room = screenRoom(window);
    const QSize least = outer.boundedTo(room);
    if (width > 0) outer.setWidth(std::max(width, least.width()));
    window.setMinimumSize(least);
    KeepOnScreen::resize(window, outer.boundedTo(room));
}

}  // namespace

void setOuterSizeTwips(QMainWindow& window, int width, int height) {
    WindowLayout::prepareView(window, width, height);
    showView(window, WindowLayout::clientSize(window, width, height));
}

void setOuterHeightTwips(QMainWindow& window, int height) {
    WindowLayout::prepareView(window, 0, height);
    const QSize client(WindowLayout::client(window)->width(),
                       WindowLayout::clientSize(window, 0, height).height());
    showView(window, client, window.width());
}

ViewModes::ViewModes(QMainWindow& window, const EditorRegistry& editors, QWidget* unlockButton,
                     MessageSink& messages, QObject* parent)
    : QObject(parent),
      window_(window),
      editors_(editors),
      unlockButton_(unlockButton),
      messages_(messages) {}

void ViewModes::connectToggle(QAction* action, void (ViewModes::*toggle)()) {
    connect(action, &QAction::triggered, this, [this, action, toggle](bool checked) {
        if (action->isCheckable()) action->setChecked(!checked);
        (this->*toggle)();
    });
}

QAction* ViewModes::action(const QString& name) const {
    auto* found = window_.findChild<QAction*>(name);
    Q_ASSERT_X(found, "ViewModes", "a menu entry of the view modes is missing");
    return found;
}

void ViewModes::setFramesEnabled(bool bottomRowToo, bool enabled) {
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        if (bottomRowToo || !entry.fullViewOnly) entry.editor->frame()->setEnabled(enabled);
    }
}

void ViewModes::setBottomRowEnabled(bool enabled) {
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        if (entry.fullViewOnly) entry.editor->frame()->setEnabled(enabled);
    }
}

bool ViewModes::addMenuEnabled() const {
    const auto* menu = window_.findChild<QMenu*>(u"mnuInsMaster"_s);
    return menu && menu->isEnabled();
}

void ViewModes::setAddEntriesForStandardView() {
    // the entries of the editors whose frames the standard view shows
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        entry.addEntry->setEnabled(!entry.fullViewOnly);
    }
}

void ViewModes::setAllAddEntriesEnabled(bool enabled) {
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        entry.addEntry->setEnabled(enabled);
    }
}

void ViewModes::ToggleStatusOnly() {
    QAction* statusOnly = action(u"mnuStatMenu"_s);
    if (statusOnly->isChecked()) {
        statusOnly->setChecked(false);
        setOuterSizeTwips(window_, 15225, 7395);
        // the bottom row keeps its state: it is disabled whenever this view is reached
        setFramesEnabled(false, true);
        if (addMenuEnabled()) setAddEntriesForStandardView();
    } else {
        statusOnly->setChecked(true);
        setOuterSizeTwips(window_, 10245, 4500);
        action(u"mnuMenu2"_s)->setChecked(false);
        setFramesEnabled(true, false);
        if (addMenuEnabled()) setAllAddEntriesEnabled(false);
    }
}

void ViewModes::ToggleFullView() {
    QAction* fullView = action(u"mnuMenu2"_s);
    if (fullView->isChecked()) {
        fullView->setChecked(false);
        setOuterHeightTwips(window_, 7395);
        setBottomRowEnabled(false);
        if (addMenuEnabled()) setAddEntriesForStandardView();
    } else {
        fullView->setChecked(true);
        setOuterSizeTwips(window_, 15225, 10050);
        action(u"mnuStatMenu"_s)->setChecked(false);
        setFramesEnabled(true, true);
        if (addMenuEnabled()) setAllAddEntriesEnabled(true);
    }
}

void ViewModes::ToggleAdvancedMode() {
    QAction* advanced = action(u"mnuProf"_s);
    const bool switchOn = !advanced->isChecked();
    advanced->setChecked(switchOn);
    unlockButton_->setVisible(switchOn);
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        entry.editor->addButton()->setVisible(switchOn);
    }
    if (auto* menu = window_.findChild<QMenu*>(u"mnuInsMaster"_s)) menu->setEnabled(switchOn);
    if (switchOn) {
        messages_.notice(MessageSink::joinLines(
            {u"データベースへ新しい項目を追加する場合は、データベースを何も編集（弄っていない）時に行って下さい"_s,
             u"もし項目の編集が行われている状態で項目を追加すると何が起こるか分かりませんのでご注意を"_s}));
    }
}

void ViewModes::EnableAllEditors() {
    for (QWidget* control : editors_.unlockControls()) control->setEnabled(true);
}

}  // namespace mdb
