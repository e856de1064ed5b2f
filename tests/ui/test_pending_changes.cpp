// The 未保存の変更 window follows every change of what is pending, row for row: updates,
// undo, redo, a revert and a save, with the window open throughout.
#include <QAbstractItemView>
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

#include "EditorFixture.h"
#include "ui/changes/PendingChangesWindow.h"
#include "ui/commands/UnsavedWork.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class PendingChangesTest : public EditorFixture {
protected:
    PendingChangesWindow* openList() {
        trigger(u"mnuPendingChanges"_s);
        return window->findChild<PendingChangesWindow*>(u"PendingChangesWindow"_s);
    }
    // The rows as the window lists them, once the turn's changes have reached it, against what
    // is pending in the tables: the same fields, in the same order, with the same texts.
    void expectRowsFollow(PendingChangesWindow* list, const char* step) {
        QCoreApplication::processEvents();
        const ChangeSet pending = unsavedWork().pendingChanges();
        PendingChangesModel& rows = list->model();
        ASSERT_EQ(size_t(rows.rowCount()), pending.size()) << step;
        for (size_t i = 0; i < pending.size(); ++i) {
            const FieldChange shown = rows.change(int(i));
            EXPECT_EQ(shown.table, pending[i].table) << step << " row " << i;
            EXPECT_EQ(shown.record, pending[i].record) << step << " row " << i;
            EXPECT_EQ(shown.field, pending[i].field) << step << " row " << i;
            EXPECT_EQ(shown.before, pending[i].before) << step << " row " << i;
            EXPECT_EQ(shown.after, pending[i].after) << step << " row " << i;
            EXPECT_EQ(rows.index(int(i), PendingChangesModel::AfterColumn).data().toString(),
                      pending[i].after);
        }
        // an empty list says so in words, instead of an empty table
        const bool empty = pending.empty();
        EXPECT_EQ(list->findChild<QLabel*>(u"emptyNote"_s)->isVisible(), empty) << step;
        EXPECT_EQ(list->findChild<QAbstractItemView*>(u"changeList"_s)->isVisible(), !empty)
            << step;
    }
    void update(const QString& monster, const QString& box, const QString& value) {
        show(monster);
        typeInto(box, value);
        trigger(u"mnuRenw"_s);
    }
};

TEST_F(PendingChangesTest, TheRowsFollowUpdatesUndoRedoRevertAndSaveExactly) {
    startSample();
    window->show();
    EXPECT_EQ(action(u"mnuPendingChanges"_s)->shortcut(), QKeySequence(Qt::Key_F8));
    PendingChangesWindow* list = openList();
    ASSERT_NE(list, nullptr);
    // a window of its own, which the form may cover
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(list->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(list->windowHandle(), nullptr);
    EXPECT_EQ(list->windowHandle()->transientParent(), nullptr);
    EXPECT_EQ(list->findChild<QLabel*>(u"emptyNote"_s)->text(), u"未保存の変更はありません"_s);
    expectRowsFollow(list, "at start");

    enableFrame(u"Frame2"_s);
    const QString tenguHp = window->database().StatusTable.field(statusRecord(u"TENGU"_s), 5);
    update(u"TENGU"_s, u"Text1(2)"_s, u"9999"_s);
    expectRowsFollow(list, "one update");
    update(u"KAPPA_KING"_s, u"Text6(1)"_s, u"1234"_s);
    update(u"KAPPA"_s, u"Text1(3)"_s, u"77"_s);
    expectRowsFollow(list, "three updates");
    // an update back to the file's text takes the row away
    update(u"TENGU"_s, u"Text1(2)"_s, tenguHp);
    expectRowsFollow(list, "an update back");

    trigger(u"mnuUndo"_s);
    expectRowsFollow(list, "undo");
    trigger(u"mnuUndo"_s);
    trigger(u"mnuUndo"_s);
    expectRowsFollow(list, "two undos in one turn");
    trigger(u"mnuRedo"_s);
    expectRowsFollow(list, "redo");

    list->findChild<QAbstractItemView*>(u"changeList"_s)
        ->setCurrentIndex(list->model().index(0, 0));
    list->revertChosen();
    expectRowsFollow(list, "revert");
    trigger(u"mnuUndo"_s);
    expectRowsFollow(list, "the revert undone");

    trigger(u"MunFileSave"_s);
    expectRowsFollow(list, "save");
    EXPECT_EQ(list->model().rowCount(), 0);
    // undone after the save: the file holds the text the update wrote
    trigger(u"mnuUndo"_s);
    expectRowsFollow(list, "undo after the save");
    EXPECT_EQ(list->model().rowCount(), 1);
}

// What the list draws: the text of each cell, and the chosen row marked. Its cells are drawn
// by a delegate of its own (the style's item text was too dear for a long list).
TEST_F(PendingChangesTest, TheListDrawsEachCellsTextAndTheChosenRow) {
    startSample();
    window->show();
    PendingChangesWindow* list = openList();
    ASSERT_NE(list, nullptr);
    auto* view = list->findChild<QAbstractItemView*>(u"changeList"_s);
    const auto drawn = [&] {
        QCoreApplication::processEvents();
        return view->viewport()->grab().toImage();
    };
    // pixels that differ between `area` of `a` and the same-sized area at `other` of `b`
    const auto differing = [](const QImage& a, const QImage& b, const QRect& area,
                              QPoint other = {-1, -1}) {
        if (other == QPoint(-1, -1)) other = area.topLeft();
        const qreal ratio = a.devicePixelRatio();
        int count = 0;
        for (int y = 0; y < int(area.height() * ratio); ++y) {
            for (int x = 0; x < int(area.width() * ratio); ++x) {
                const QPoint at = (area.topLeft().toPointF() * ratio).toPoint() + QPoint(x, y);
                const QPoint there = (other.toPointF() * ratio).toPoint() + QPoint(x, y);
                if (a.pixel(at) != b.pixel(there)) ++count;
            }
        }
        return count;
    };

    enableFrame(u"Frame2"_s);
    update(u"TENGU"_s, u"Text1(2)"_s, u"1111"_s);
    QCoreApplication::processEvents();
    ASSERT_EQ(list->model().rowCount(), 1);
    const QRect cell = view->visualRect(list->model().index(0, PendingChangesModel::AfterColumn));
    ASSERT_LT(cell.bottom() + 3 * cell.height(), view->viewport()->height());
    const QImage first = drawn();
    // the cell's text is drawn: the cell differs from the empty line two rows below it
    EXPECT_GT(differing(first, first, cell, cell.topLeft() + QPoint(0, 2 * cell.height())), 20);
    // another value is drawn differently in the same cell
    update(u"TENGU"_s, u"Text1(2)"_s, u"7777"_s);
    const QImage second = drawn();
    EXPECT_GT(differing(first, second, cell), 20);
    // the chosen row is marked across the row, also where no text is drawn (its right end)
    view->setCurrentIndex(list->model().index(0, 0));
    const QImage chosen = drawn();
    const QRect rowEnd(cell.right() - 20, cell.top(), 20, cell.height());
    EXPECT_GT(differing(second, chosen, rowEnd), 20 * cell.height() / 2);
}

}  // namespace mdb::test
