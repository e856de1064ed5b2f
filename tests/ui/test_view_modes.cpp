#include <QAction>
#include <QGroupBox>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "EditorFixture.h"
#include "ui/commands/ViewModes.h"
#include "ui/controls/HiddenList.h"
#include "ui/layout/WindowLayout.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QStringList kDependentFrames{u"Frame2"_s, u"Frame5"_s, u"Frame1A"_s,
                                   u"Frame7"_s, u"Frame9"_s, u"Frame11"_s};
const QStringList kAddEntries{u"mnuDdrIns"_s,  u"mnuMvpIns"_s,   u"mnuEmoIns"_s,
                              u"mnuMorpIns"_s, u"mnuSlaveIns"_s, u"mnuSumIns"_s};
const QStringList kAdvancedButtons{u"Command6"_s,  u"Command8"_s,  u"Command9"_s, u"Command10"_s,
                                   u"Command11"_s, u"Command12"_s, u"Command13"_s};
// The 82 controls the unlock command enables, in its order, written out as designed.
QStringList unlockedControls() {
    QStringList names;
    const auto array = [&names](const char16_t* name, int count) {
        for (int i = 0; i < count; ++i) names << u"%1(%2)"_s.arg(QString::fromUtf16(name)).arg(i);
    };
    array(u"Text8A", 5);
    array(u"Text8", 5);
    names << u"Combo8A"_s;
    array(u"Combo8", 5);
    array(u"Combo1", 8);
    array(u"Text5", 8);
    array(u"Text6", 8);
    for (const char16_t* name :
         {u"Combo6", u"Combo6A", u"Combo10", u"Combo10A", u"Combo12", u"Combo12A"}) {
        array(name, 6);
    }
    names << u"Combo14"_s << u"Combo14B"_s << u"Text2"_s << u"Text11"_s << u"Text12"_s
          << u"Text14"_s;
    return names;
}

const QString kWarning =
    u"データベースへ新しい項目を追加する場合は、データベースを何も編集（弄っていない）時に行って下"
    u"さい\r\n"
    u"もし項目の編集が行われている状態で項目を追加すると何が起こるか分かりませんのでご注意を"_s;

}  // namespace

class ViewModesTest : public EditorFixture {
protected:
    void press(const QString& name) const { action(name)->trigger(); }

    // "E" (enabled) or "-" per dependent frame, in the order of kDependentFrames
    QString frames() const {
        QString states;
        for (const QString& name : kDependentFrames) {
            states += control<QGroupBox>(name)->isEnabled() ? u'E' : u'-';
        }
        return states;
    }
    QString addEntries() const {
        QString states;
        for (const QString& name : kAddEntries) states += action(name)->isEnabled() ? u'E' : u'-';
        return states;
    }
    // the window's client area between the menu bar and the status bar, in pixels
    QSize clientSize() const {
        return window->size() - QSize(0, window->menuBar()->sizeHint().height() +
                                             window->statusBar()->sizeHint().height());
    }
    // the client area of a designed outer size in twips, as the font in use needs it
    QSize designedClient(int widthTwips, int heightTwips) const {
        return WindowLayout::clientSize(*window, widthTwips, heightTwips);
    }
};

TEST_F(ViewModesTest, FullViewFromTheStartAndBackThroughTheStandardView) {
    startSample();
    EXPECT_EQ(clientSize(), designedClient(10245, 4500));
    EXPECT_TRUE(action(u"mnuStatMenu"_s)->isChecked());
    EXPECT_EQ(frames(), u"------"_s);

    press(u"mnuMenu2"_s);
    EXPECT_TRUE(action(u"mnuMenu2"_s)->isChecked());
    EXPECT_FALSE(action(u"mnuStatMenu"_s)->isChecked());
    EXPECT_EQ(clientSize(), designedClient(15225, 10050));
    EXPECT_EQ(frames(), u"EEEEEE"_s);
    EXPECT_TRUE(control<QGroupBox>(u"Frame1"_s)->isEnabled());
    // advanced mode is off: the add menu stays disabled and its entries are not touched
    EXPECT_FALSE(control<QMenu>(u"mnuInsMaster"_s)->isEnabled());
    EXPECT_EQ(addEntries(), u"------"_s);

    // leaving the full view keeps the width (never less than the view's) and disables the
    // bottom row
    const int wider = window->width() + 60;
    window->resize(wider, window->height());
    press(u"mnuMenu2"_s);
    EXPECT_FALSE(action(u"mnuMenu2"_s)->isChecked());
    EXPECT_FALSE(action(u"mnuStatMenu"_s)->isChecked());
    EXPECT_EQ(clientSize(), QSize(wider, designedClient(15225, 7395).height()));
    EXPECT_EQ(frames(), u"EEE---"_s);

    press(u"mnuStatMenu"_s);
    EXPECT_TRUE(action(u"mnuStatMenu"_s)->isChecked());
    EXPECT_EQ(clientSize(), designedClient(10245, 4500));
    EXPECT_EQ(frames(), u"------"_s);

    // the standard view never has the bottom row, however it is reached
    press(u"mnuStatMenu"_s);
    EXPECT_FALSE(action(u"mnuStatMenu"_s)->isChecked());
    EXPECT_EQ(clientSize(), designedClient(15225, 7395));
    EXPECT_EQ(frames(), u"EEE---"_s);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ViewModesTest, AdvancedModeWarnsOnEverySwitchOnAndTheAddEntriesFollowTheView) {
    startSample();
    press(u"mnuProf"_s);
    EXPECT_TRUE(action(u"mnuProf"_s)->isChecked());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].isWarning);
    EXPECT_EQ(messages.messages[0].text, kWarning);
    for (const QString& name : kAdvancedButtons) {
        EXPECT_FALSE(control<QPushButton>(name)->isHidden()) << name.toStdString();
    }
    EXPECT_TRUE(control<QMenu>(u"mnuInsMaster"_s)->isEnabled());
    // the entries wait for the next view switch
    EXPECT_EQ(addEntries(), u"------"_s);

    press(u"mnuStatMenu"_s);
    EXPECT_EQ(addEntries(), u"EEE---"_s);
    press(u"mnuMenu2"_s);
    EXPECT_EQ(addEntries(), u"EEEEEE"_s);
    press(u"mnuStatMenu"_s);
    EXPECT_EQ(addEntries(), u"------"_s);
    EXPECT_EQ(frames(), u"------"_s);
    press(u"mnuStatMenu"_s);
    EXPECT_EQ(addEntries(), u"EEE---"_s);
    EXPECT_EQ(frames(), u"EEE---"_s);
    press(u"mnuMenu2"_s);
    press(u"mnuMenu2"_s);
    EXPECT_EQ(addEntries(), u"EEE---"_s);

    // switching off hides the buttons and the menu; the view no longer moves the entries
    press(u"mnuProf"_s);
    EXPECT_FALSE(action(u"mnuProf"_s)->isChecked());
    for (const QString& name : kAdvancedButtons) {
        EXPECT_TRUE(control<QPushButton>(name)->isHidden()) << name.toStdString();
    }
    EXPECT_FALSE(control<QMenu>(u"mnuInsMaster"_s)->isEnabled());
    press(u"mnuMenu2"_s);
    EXPECT_EQ(addEntries(), u"EEE---"_s);
    EXPECT_EQ(messages.messages.size(), 1u);

    press(u"mnuProf"_s);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, kWarning);
    EXPECT_FALSE(action(u"mnuMenuMobSkill"_s)->isEnabled());
}

TEST_F(ViewModesTest, EnableAllEditorsUnlocksTheControlsButNotTheirFrames) {
    startSample();
    press(u"mnuProf"_s);
    // the editors lock these controls while the shown monster has no record of their own; the
    // unlock command reaches exactly them, in this order
    const QStringList names = unlockedControls();
    ASSERT_EQ(names.size(), 82);
    QStringList unlocked;
    for (QWidget* control : window->editors().unlockControls()) unlocked << control->objectName();
    EXPECT_EQ(unlocked, names);
    std::vector<std::pair<QWidget*, QWidget*>> controls;  // control, its frame
    for (const QString& name : names) {
        auto* widget = control<QWidget>(name);
        ASSERT_NE(widget, nullptr);
        QWidget* frame = widget->parentWidget();
        while (frame && !kDependentFrames.contains(frame->objectName())) {
            frame = frame->parentWidget();
        }
        ASSERT_NE(frame, nullptr) << name.toStdString() << " lies outside the dependent frames";
        widget->setEnabled(false);
        controls.emplace_back(widget, frame);
    }
    auto* nameBox = control<QWidget>(u"Text13"_s);
    nameBox->setEnabled(false);

    control<QPushButton>(u"Command8"_s)->click();
    for (const auto& [widget, frame] : controls) {
        EXPECT_TRUE(widget->isEnabledTo(frame)) << widget->objectName().toStdString();
        EXPECT_FALSE(widget->isEnabled()) << widget->objectName().toStdString();
    }
    EXPECT_EQ(frames(), u"------"_s);
    EXPECT_FALSE(nameBox->isEnabledTo(nameBox->parentWidget()));

    press(u"mnuMenu2"_s);
    for (const auto& [widget, frame] : controls) {
        EXPECT_TRUE(widget->isEnabled()) << widget->objectName().toStdString();
    }
}

TEST_F(ViewModesTest, DebugPanelsStayHiddenAndTheirListsKeepWorking) {
    startSample();
    const QStringList entries{u"mnuDbwin1"_s, u"mnuDbwin2"_s, u"mnuDbwin3"_s};
    const QStringList panels{u"Frame3"_s, u"Frame6"_s, u"Frame8"_s};
    auto check = [&](const char* when) {
        for (const QString& name : entries) {
            EXPECT_FALSE(action(name)->isEnabled()) << name.toStdString() << " " << when;
            EXPECT_FALSE(action(name)->isChecked()) << name.toStdString() << " " << when;
        }
        for (const QString& name : panels) {
            EXPECT_TRUE(control<QWidget>(name)->isHidden()) << name.toStdString() << " " << when;
        }
    };
    check("after the start");
    for (const QString& name : {u"mnuProf"_s, u"mnuMenu2"_s, u"mnuStatMenu"_s, u"mnuStatMenu"_s}) {
        press(name);
    }
    for (const QString& name : entries) press(name);
    check("after the view switches");

    // a monster's drop and MVP entries are still found through the hidden lists
    show(u"KAPPA_KING"_s);
    EXPECT_EQ(control<HiddenLabel>(u"Label3"_s)->caption(), u"KAPPA_KING"_s);
    EXPECT_EQ(control<HiddenLabel>(u"Label8A"_s)->caption(), u"KAPPA_KING"_s);
}

}  // namespace mdb::test

namespace mdb::test {

// The add buttons that advanced mode shows inside the drop and MVP frames take room the frame
// has to spare: they cover none of the frame's controls and squeeze none of its rows.
TEST_F(ViewModesTest, AddButtonsShowWithoutCoveringTheirFrames) {
    startSample();
    window->show();
    press(u"mnuMenu2"_s);
    const auto minimumHeight = [this](const QString& frame) {
        control<QGroupBox>(frame)->layout()->activate();
        return control<QGroupBox>(frame)->layout()->minimumSize().height();
    };
    const int dropHeight = minimumHeight(u"Frame2"_s);
    const int mvpHeight = minimumHeight(u"Frame5"_s);
    press(u"mnuProf"_s);
    EXPECT_EQ(minimumHeight(u"Frame2"_s), dropHeight);
    EXPECT_EQ(minimumHeight(u"Frame5"_s), mvpHeight);
    for (const QString& name : {u"Command6"_s, u"Command9"_s}) {
        auto* button = control<QPushButton>(name);
        ASSERT_TRUE(button->isVisible()) << name.toStdString();
        for (QObject* child : button->parentWidget()->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget || widget == button || widget->isHidden()) continue;
            EXPECT_FALSE(widget->geometry().intersects(button->geometry()))
                << name.toStdString() << " covers " << widget->objectName().toStdString() << " "
                << qPrintable(widget->property("text").toString());
        }
    }
}

}  // namespace mdb::test
