// The grid window "一覧" walked as the main window's views are: every tab and the bulk dialog,
// each text whole, nothing covering anything, nothing outside the window.
#include <QAction>
#include <QTabWidget>
#include <QTableView>

#include "LayoutWalkFixture.h"
#include "ui/grid/BulkEditDialog.h"
#include "ui/grid/GridWindow.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

TEST_F(LayoutWalkTest, TheGridWindowShowsEveryTabAndTheBulkDialogWhole) {
    startSample();
    window->show();
    press(u"mnuIdbLoad"_s);
    press(u"mnuGrid"_s);
    auto* grid = window->findChild<GridWindow*>(u"GridWindow"_s);
    ASSERT_TRUE(grid);
    QStringList problems;
    for (int tab = 0; tab < grid->tabs()->count(); ++tab) {
        grid->tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        const QString view = u"一覧 "_s + grid->tabs()->tabText(tab);
        layout_walk::Walk walker(grid->tabs()->currentWidget(), view);
        walker.run();
        problems << walker.problems;
        const QRect room = grid->screen()->availableGeometry();
        if (grid->width() > room.width() || grid->height() > room.height()) {
            problems << view + u": the window does not fit the screen"_s;
        }
    }
    grid->tabs()->setCurrentIndex(1);
    auto* cells = grid->tabs()->currentWidget()->findChild<QTableView*>(u"gridCells"_s);
    cells->selectColumn(3);
    ASSERT_TRUE(grid->openBulkEdit());
    auto* dialog = grid->findChild<BulkEditDialog*>(u"BulkEditDialog"_s);
    ASSERT_TRUE(dialog);
    dialog->findChild<QLineEdit*>(u"bulkValue"_s)->setText(u"2"_s);
    QApplication::processEvents();
    layout_walk::Walk walker(dialog, u"一括編集"_s);
    walker.run();
    problems << walker.problems;
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

}  // namespace mdb::test
