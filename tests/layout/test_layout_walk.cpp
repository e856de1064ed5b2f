// Walks every widget of every view and reports each text that does not show whole, each control
// that covers another and each control of an enabled frame outside the window.
#include <QAction>
#include <QFontInfo>
#include <QLineEdit>
#include <iostream>

#include "LayoutWalkFixture.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

TEST_F(LayoutWalkTest, EveryViewShowsEveryTextWholeInsideTheWindow) {
    ASSERT_FALSE(QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        << "no Japanese font is installed";
    startSample();
    window->show();
    // the longest names of the real database, shown as the program shows a record
    Table& stat = window->database().StatusTable;
    stat.setField(3, StatusField::Name, u"C5_NG_WRAITH_DEAD"_s);
    stat.setField(3, StatusField::DisplayName, u"Elusive Wraith Dead (Nightmare)"_s);
    control<QLineEdit>(u"Text0"_s)->setText(u"2"_s);
    // the fonts the test was started with (or all installed) draw the window's texts
    std::cout << "Japanese font: "
              << QFontInfo(control<QWidget>(u"Text4"_s)->font()).family().toStdString() << '\n';
    QStringList problems = walk(u"status only"_s);
    const int statusOnlySlider = sliderWidth();
    std::cout << "status only " << window->width() << 'x' << window->height() << '\n';
    press(u"mnuStatMenu"_s);
    problems << walk(u"standard"_s);
    const int standardSlider = sliderWidth();
    std::cout << "standard " << window->width() << 'x' << window->height() << '\n';
    press(u"mnuMenu2"_s);
    problems << walk(u"full"_s);
    std::cout << "full " << window->width() << 'x' << window->height() << '\n';
    const int fullSlider = sliderWidth();
    press(u"mnuProf"_s);
    problems << walk(u"full, advanced"_s);
    // advanced mode's extra button leaves the page slider as wide as it was
    EXPECT_GE(sliderWidth(), fullSlider) << "full view";
    press(u"mnuMenu2"_s);
    problems << walk(u"standard, advanced"_s);
    EXPECT_GE(sliderWidth(), standardSlider) << "standard view";
    press(u"mnuStatMenu"_s);
    problems << walk(u"status only, advanced"_s);
    EXPECT_GE(sliderWidth(), statusOnlySlider) << "status-only view";
    std::cout << "page slider " << statusOnlySlider << " px, in advanced mode " << sliderWidth()
              << " px\n";
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

}  // namespace mdb::test
