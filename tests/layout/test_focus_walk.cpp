// Walks the Tab chain of every view with real Tab presses and checks it against where the
// controls stand: frames in reading order, each frame read along its rows and down its columns,
// every control that Tab can reach reached once, the emotion pictures left to the mouse.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <iostream>

#include "../ui/WindowFixture.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

namespace {

// The parts of the page in the order Tab must visit them.
const QStringList kSections{u"Frame1"_s,  u"commandRow"_s, u"Frame5"_s,  u"Frame2"_s,
                            u"Frame1A"_s, u"Frame7"_s,     u"Frame11"_s, u"Frame9"_s};

}  // namespace

class FocusWalkTest : public WindowFixture {
protected:
    int sectionOf(const QWidget* widget) const {
        // the unlock button at the menu bar's end is one of the commands
        if (qobject_cast<const QMenuBar*>(widget->parentWidget())) return 1;
        for (const QWidget* w = widget; w && w != window.get(); w = w->parentWidget()) {
            const int at = int(kSections.indexOf(w->objectName()));
            if (at >= 0) return at;
        }
        return -1;
    }
    QRect placeOf(const QWidget* widget) const {
        return QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
    }
    QString nameOf(const QWidget* widget) const {
        return widget->objectName().isEmpty()
                   ? QString::fromLatin1(widget->metaObject()->className())
                   : widget->objectName();
    }

    // Tab from List4 until the focus comes back to it.
    QList<QWidget*> walk() {
        QWidget* first = control<QWidget>(u"List4"_s);
        first->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QList<QWidget*> stops{QApplication::focusWidget()};
        for (int i = 0; i < 400; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (now == first || now == nullptr) break;
            stops << now;
        }
        return stops;
    }

    // What is wrong with the chain of the view shown now.
    QStringList judge(const QString& view, const QList<QWidget*>& stops) {
        QStringList problems;
        const auto report = [&](const QString& what) { problems << view + u": "_s + what; };
        int section = 0;
        int rightmost = 0;  // of the stops of this section so far
        for (qsizetype i = 0; i < stops.size(); ++i) {
            QWidget* stop = stops[i];
            const int at = sectionOf(stop);
            if (at < 0) {
                report(nameOf(stop) + u" lies outside every frame"_s);
                continue;
            }
            if (qobject_cast<QToolButton*>(stop) && at == kSections.indexOf(u"Frame1A"_s)) {
                report(nameOf(stop) + u": an emotion picture takes Tab"_s);
            }
            const QRect here = placeOf(stop);
            if (at != section || i == 0) {
                if (at < section) {
                    report(u"%1 (%2) comes after %3"_s.arg(nameOf(stop), kSections[at],
                                                           kSections[section]));
                }
                section = at;
                rightmost = here.right();
                continue;
            }
            if (qobject_cast<QMenuBar*>(stop->parentWidget()) ||
                qobject_cast<QMenuBar*>(stops[i - 1]->parentWidget())) {
                continue;  // stands apart from the row, read after it
            }
            const QRect before = placeOf(stops[i - 1]);
            const int tolerance = std::min(here.height(), before.height()) / 2;
            const int dy = here.center().y() - before.center().y();
            const bool alongTheRow = std::abs(dy) <= tolerance && here.left() > before.left();
            const bool down = dy > tolerance;
            const bool nextColumn = dy < -tolerance && here.left() >= rightmost - 2;
            if (!alongTheRow && !down && !nextColumn) {
                report(
                    u"%1 after %2 goes back up or left"_s.arg(nameOf(stop), nameOf(stops[i - 1])));
            }
            rightmost = std::max(rightmost, here.right());
        }
        // every control that Tab can reach is reached, once
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !widget->isVisible() ||
                !widget->isEnabled() || widget->window() != window.get()) {
                continue;
            }
            if (qobject_cast<QStatusBar*>(widget->parentWidget())) continue;
            const qsizetype times = stops.count(widget);
            if (times != 1) report(u"%1 is reached %2 times"_s.arg(nameOf(widget)).arg(times));
        }
        return problems;
    }
    void press(const QString& action) {
        control<QAction>(action)->trigger();
        QApplication::processEvents();
    }
};

TEST_F(FocusWalkTest, TabFollowsThePageInEveryView) {
    startSample();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // a monster with an entry in every table, so that the editors' controls are enabled
    QStringList problems = judge(u"status only"_s, walk());
    press(u"mnuStatMenu"_s);
    problems << judge(u"standard"_s, walk());
    press(u"mnuMenu2"_s);
    const QList<QWidget*> full = walk();
    problems << judge(u"full"_s, full);
    press(u"mnuProf"_s);
    problems << judge(u"full, advanced"_s, walk());
    press(u"mnuMenu2"_s);
    problems << judge(u"standard, advanced"_s, walk());
    press(u"mnuStatMenu"_s);
    problems << judge(u"status only, advanced"_s, walk());
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();

    // the figure the chain is for: from the HP box to the first drop rate
    const qsizetype hp = full.indexOf(control<QWidget>(u"Text1(2)"_s));
    const qsizetype rate = full.indexOf(control<QWidget>(u"Text6(0)"_s));
    ASSERT_GE(hp, 0);
    ASSERT_GT(rate, hp);
    std::cout << "Tab presses from the HP box to the first drop rate: " << rate - hp << '\n';
}

}  // namespace mdb::test
