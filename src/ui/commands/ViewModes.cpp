#include "ui/commands/ViewModes.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "ui/controls/MessageSink.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// title bar, borders and menu bar of the designed window, in twips
constexpr int designedChromeWidth = 105;
constexpr int designedChromeHeight = 675;

int clientHeightPixels(QMainWindow& window, int height) {
    return (height - designedChromeHeight) / 15 + window.menuBar()->sizeHint().height();
}

const QStringList& topRowFrames() {
    static const QStringList frames{u"Frame2"_s, u"Frame5"_s, u"Frame1A"_s};
    return frames;
}
const QStringList& bottomRowFrames() {
    static const QStringList frames{u"Frame7"_s, u"Frame9"_s, u"Frame11"_s};
    return frames;
}

// the add entries of the drop, MVP and emotion editors, whose frames the standard view shows
const QStringList& standardViewAddEntries() {
    static const QStringList entries{u"mnuDdrIns"_s, u"mnuMvpIns"_s, u"mnuEmoIns"_s};
    return entries;
}
const QStringList& fullViewOnlyAddEntries() {
    static const QStringList entries{u"mnuMorpIns"_s, u"mnuSlaveIns"_s, u"mnuSumIns"_s};
    return entries;
}

const QStringList& advancedButtons() {
    static const QStringList buttons{u"Command6"_s,  u"Command8"_s,  u"Command9"_s, u"Command10"_s,
                                     u"Command11"_s, u"Command12"_s, u"Command13"_s};
    return buttons;
}

void appendArray(QStringList& names, const QString& name, int count) {
    for (int i = 0; i < count; ++i) names.append(indexed(name, i));
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

ViewModes::ViewModes(QMainWindow& window, MessageSink& messages, QObject* parent)
    : QObject(parent), window_(window), messages_(messages) {}

const QStringList& ViewModes::editorControlNames() {
    static const QStringList names = [] {
        QStringList list;
        appendArray(list, u"Text8A"_s, 5);
        appendArray(list, u"Text8"_s, 5);
        list.append(u"Combo8A"_s);
        appendArray(list, u"Combo8"_s, 5);
        appendArray(list, u"Combo1"_s, 8);
        appendArray(list, u"Text5"_s, 8);
        appendArray(list, u"Text6"_s, 8);
        for (const QString& name : {u"Combo6"_s, u"Combo6A"_s, u"Combo10"_s, u"Combo10A"_s,
                                    u"Combo12"_s, u"Combo12A"_s}) {
            appendArray(list, name, 6);
        }
        list << u"Combo14"_s << u"Combo14B"_s << u"Text2"_s << u"Text11"_s << u"Text12"_s
             << u"Text14"_s;
        return list;
    }();
    return names;
}

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

void ViewModes::setFramesEnabled(const QStringList& frames, bool enabled) {
    for (const QString& name : frames) {
        if (auto* frame = window_.findChild<QWidget*>(name)) frame->setEnabled(enabled);
    }
}

bool ViewModes::addMenuEnabled() const {
    const auto* menu = window_.findChild<QMenu*>(u"mnuInsMaster"_s);
    return menu && menu->isEnabled();
}

void ViewModes::setAddEntriesForStandardView() {
    for (const QString& name : standardViewAddEntries()) action(name)->setEnabled(true);
    for (const QString& name : fullViewOnlyAddEntries()) action(name)->setEnabled(false);
}

void ViewModes::setAllAddEntriesEnabled(bool enabled) {
    for (const QString& name : standardViewAddEntries() + fullViewOnlyAddEntries()) {
        action(name)->setEnabled(enabled);
    }
}

void ViewModes::ToggleStatusOnly() {
    QAction* statusOnly = action(u"mnuStatMenu"_s);
    if (statusOnly->isChecked()) {
        statusOnly->setChecked(false);
        setOuterSizeTwips(window_, 15225, 7395);
        // the bottom row keeps its state: it is disabled whenever this view is reached
        setFramesEnabled(topRowFrames(), true);
        if (addMenuEnabled()) setAddEntriesForStandardView();
    } else {
        statusOnly->setChecked(true);
        setOuterSizeTwips(window_, 10245, 4500);
        action(u"mnuMenu2"_s)->setChecked(false);
        setFramesEnabled(topRowFrames() + bottomRowFrames(), false);
        if (addMenuEnabled()) setAllAddEntriesEnabled(false);
    }
}

void ViewModes::ToggleFullView() {
    QAction* fullView = action(u"mnuMenu2"_s);
    if (fullView->isChecked()) {
        fullView->setChecked(false);
        setOuterHeightTwips(window_, 7395);
        setFramesEnabled(bottomRowFrames(), false);
        if (addMenuEnabled()) setAddEntriesForStandardView();
    } else {
        fullView->setChecked(true);
        setOuterSizeTwips(window_, 15225, 10050);
        action(u"mnuStatMenu"_s)->setChecked(false);
        setFramesEnabled(topRowFrames() + bottomRowFrames(), true);
        if (addMenuEnabled()) setAllAddEntriesEnabled(true);
    }
}

void ViewModes::ToggleAdvancedMode() {
    QAction* advanced = action(u"mnuProf"_s);
    const bool switchOn = !advanced->isChecked();
    advanced->setChecked(switchOn);
    for (const QString& name : advancedButtons()) {
        if (auto* button = window_.findChild<QPushButton*>(name)) button->setVisible(switchOn);
    }
    if (auto* menu = window_.findChild<QMenu*>(u"mnuInsMaster"_s)) menu->setEnabled(switchOn);
    if (switchOn) {
        messages_.notice(MessageSink::joinLines(
            {u"データベースへ新しい項目を追加する場合は、データベースを何も編集（弄っていない）時に行って下さい"_s,
             u"もし項目の編集が行われている状態で項目を追加すると何が起こるか分かりませんのでご注意を"_s}));
    }
}

void ViewModes::EnableAllEditors() {
    for (const QString& name : editorControlNames()) {
        if (auto* control = window_.findChild<QWidget*>(name)) control->setEnabled(true);
    }
}

}  // namespace mdb
