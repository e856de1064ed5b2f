#include "ui/commands/ViewModes.h"

#include <QAction>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "ui/controls/MessageSink.h"
#include "ui/editors/DependentEditor.h"
#include "ui/editors/EditorRegistry.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// title bar, borders and menu bar of the designed window, in twips
constexpr int designedChromeWidth = 105;
constexpr int designedChromeHeight = 675;

int clientHeightPixels(QMainWindow& window, int height) {
    return (height - designedChromeHeight) / 15 + window.menuBar()->sizeHint().height();
}

// A window that grows downwards from where it was placed while small would otherwise run off
// the bottom of the screen, hiding the lower editors. The window manager draws the frame around
// the new size only after the resize has gone through, so look once it has.
void keepOnScreen(QMainWindow& window) {
    QTimer::singleShot(100, &window, [&window] {
        if (!window.isVisible() || window.screen() == nullptr) return;
        const QRect available = window.screen()->availableGeometry();
        const QRect frame = window.frameGeometry();
        const int x =
            std::max(available.left(), std::min(frame.x(), available.right() + 1 - frame.width()));
        const int y =
            std::max(available.top(), std::min(frame.y(), available.bottom() + 1 - frame.height()));
        if (x != frame.x() || y != frame.y()) window.move(x, y);
    });
}

}  // namespace

void setOuterSizeTwips(QMainWindow& window, int width, int height) {
    window.resize((width - designedChromeWidth) / 15, clientHeightPixels(window, height));
    keepOnScreen(window);
}

void setOuterHeightTwips(QMainWindow& window, int height) {
    window.resize(window.width(), clientHeightPixels(window, height));
    keepOnScreen(window);
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
