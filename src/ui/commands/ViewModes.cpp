#include "ui/commands/ViewModes.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "ui/commands/KeepOnScreen.h"
#include "ui/commands/WindowLayout.h"
#include "ui/controls/MessageSink.h"
#include "ui/controls/Widgets.h"

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

}  // namespace

void setOuterSizeTwips(QMainWindow& window, int width, int height) {
    KeepOnScreen::resize(window,
                         outerSize(window, WindowLayout::clientSize(window, width, height)));
}

void setOuterHeightTwips(QMainWindow& window, int height) {
    const QSize client = WindowLayout::clientSize(window, 0, height);
    KeepOnScreen::resize(window, QSize(window.width(), outerSize(window, client).height()));
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
