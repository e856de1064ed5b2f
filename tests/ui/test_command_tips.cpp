#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QToolTip>

#include "WindowFixture.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

class CommandTips : public WindowFixture {
protected:
    // What the mouse resting at `at` on `widget` shows; empty when nothing shows.
    static QString tipShownAt(QWidget* widget, const QPoint& at) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

// The commands whose captions cannot say what they write, and the search boxes, say it where
// the mouse rests: the update writes to what the editor holds, the save to the files, and each
// search box names the key that reaches it.
TEST_F(CommandTips, TheMouseShowsWhatEachCommandDoes) {
    startSample();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    control<QAction>(u"mnuProf"_s)->trigger();  // shows the unlock button
    const auto shown = [&](const QString& name) {
        auto* widget = control<QWidget>(name);
        return tipShownAt(widget, widget->rect().center());
    };
    EXPECT_TRUE(shown(u"Command1"_s).contains(u"メモリ上"_s)) << shown(u"Command1"_s).toStdString();
    EXPECT_TRUE(shown(u"Command1"_s).contains(u"上書き保存"_s));
    EXPECT_TRUE(shown(u"Command2"_s).contains(u"item_equip_db.txt"_s));
    EXPECT_TRUE(shown(u"Command8"_s).contains(u"入力できるように"_s));
    EXPECT_TRUE(shown(u"Text10"_s).endsWith(u"(F3)"_s)) << shown(u"Text10"_s).toStdString();
    EXPECT_TRUE(shown(u"Text9"_s).endsWith(u"(Ctrl+G)"_s));

    // the save entry, in its open menu
    auto* file = control<QMenu>(u"MunFile"_s);
    file->popup(window->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    const QRect save = file->actionGeometry(control<QAction>(u"MunFileSave"_s));
    EXPECT_TRUE(tipShownAt(file, save.center()).contains(u"ファイルへ書き込みます"_s))
        << tipShownAt(file, save.center()).toStdString();
    file->close();
    QToolTip::hideText();
}

}  // namespace mdb::test
