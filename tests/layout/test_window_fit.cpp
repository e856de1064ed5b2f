// The window and the screen: the about box within the narrowest view, a maximised window, and a
// screen smaller than the full view.
#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <iostream>

#include "LayoutWalkFixture.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

// The about box is no wider than the window in its narrowest view, and shows its description
// whole, wrapped where the line is longer than that.
TEST_F(LayoutWalkTest, TheAboutBoxFitsTheStatusOnlyView) {
    startSample();
    window->show();
    QApplication::processEvents();
    const int statusOnlyWidth = window->width();
    control<QAction>(u"mnuHelpAbout"_s)->trigger();
    QApplication::processEvents();
    auto* box = qobject_cast<QWidget*>(window->findChild<QObject*>(u"frmAbout"_s));
    if (!box) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == u"frmAbout"_s) box = top;
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_LE(box->width(), statusOnlyWidth);
    auto* description = box->findChild<QLabel*>(u"lblDescription"_s);
    ASSERT_NE(description, nullptr);
    EXPECT_GE(description->height(), description->heightForWidth(description->width()));
    std::cout << "about box " << box->width() << 'x' << box->height() << ", status-only view "
              << statusOnlyWidth << " wide\n";
    box->close();
}

// Maximised, the view keeps its size and stands centred at the top; nothing is stretched or
// left out.
TEST_F(LayoutWalkTest, MaximisedTheViewStaysWholeAndCentred) {
    startSample();
    control<QAction>(u"mnuMenu2"_s)->trigger();
    window->showMaximized();
    QApplication::processEvents();
    QWidget* client = WindowLayout::client(*window);
    const QSize view = client->size();
    auto* scroll = control<QScrollArea>(u"clientScroll"_s);
    ASSERT_GT(scroll->width(), view.width()) << "the window did not grow";
    const QRect placed(client->mapTo(scroll, QPoint(0, 0)), client->size());
    EXPECT_LE(std::abs(placed.left() - (scroll->width() - placed.right() - 1)), 1);
    EXPECT_EQ(placed.top(), 0);
    const QStringList problems = walk(u"maximised"_s, false);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

// On a screen smaller than the full view the window stays on it, no smaller than the screen
// lets it be, and scrolls the view, whose frames keep their size: the bottom row is reached.
TEST_F(LayoutWalkTest, OnASmallScreenTheViewScrolls) {
    startSample();
    window->show();
    control<QAction>(u"mnuMenu2"_s)->trigger();
    QApplication::processEvents();
    const QRect room = window->screen()->availableGeometry();
    ASSERT_LT(room.height(), WindowLayout::clientSize(*window, 15225, 10050).height())
        << "the screen holds the full view: nothing to scroll";
    EXPECT_LE(window->frameGeometry().height(), room.height());
    EXPECT_LE(window->frameGeometry().width(), room.width());
    QWidget* client = WindowLayout::client(*window);
    EXPECT_EQ(client->size(), WindowLayout::clientSize(*window, 15225, 10050));
    auto* scroll = control<QScrollArea>(u"clientScroll"_s);
    ASSERT_TRUE(scroll->verticalScrollBar()->isVisible());
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    auto* corner = control<QWidget>(u"Frame9"_s);
    const QRect shown(corner->mapTo(scroll->viewport(), QPoint(0, 0)), corner->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(shown.bottomRight()))
        << shown.x() << ',' << shown.y() << ' ' << shown.width() << 'x' << shown.height();
    const QStringList problems = walk(u"full, scrolled"_s, false);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

}  // namespace mdb::test
