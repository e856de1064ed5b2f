// The grid window on a real main window: opened from the menu, sorted and filtered by the
// user's clicks and keys, cells edited and bulk-edited into updates that undo and save exactly.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QUndoStack>
#include <set>

#include "EditorFixture.h"
#include "model/TableDescriptor.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/grid/BulkEditDialog.h"
#include "ui/grid/FrozenGrid.h"
#include "ui/grid/GridPage.h"
#include "ui/grid/GridWindow.h"
#include "ui/grid/TableGridModel.h"
#include "ui/grid/WhereUsedPage.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class Grid : public EditorFixture {
protected:
    GridWindow* open() {
        control<QAction>(u"mnuGrid"_s)->trigger();
        auto* grid = window->findChild<GridWindow*>(u"GridWindow"_s);
        EXPECT_NE(grid, nullptr);
        return grid;
    }
    QTableView* cells(GridWindow* grid) {
        return grid->currentPage()->findChild<QTableView*>(u"gridCells"_s);
    }
    QString count(GridWindow* grid) {
        return grid->currentPage()->findChild<QLabel*>(u"gridCount"_s)->text();
    }
    // Which bytes of which files differ between two snapshots.
    std::map<QString, QByteArray> files() {
        std::map<QString, QByteArray> out;
        for (const QString& name : QDir(dir.path()).entryList({u"*.txt"_s}, QDir::Files))
            out[name] = readBytes(name);
        return out;
    }
    // Puts the current cell on `record`, `field` of the current tab.
    void goTo(GridWindow* grid, qint32 record, int field) {
        auto* model = qobject_cast<TableGridModel*>(grid->currentPage()->model());
        const QModelIndex index = model->index(model->rowOf(record), model->columnOf(field));
        ASSERT_TRUE(index.isValid());
        cells(grid)->setCurrentIndex(index);
    }
    void typeInCell(GridWindow* grid, const QString& text) {
        QTableView* view = cells(grid);
        QTest::keyClick(view, Qt::Key_F2);
        ASSERT_EQ(view->viewport()->findChildren<QLineEdit*>().size(), 1);
        auto* box = view->viewport()->findChild<QLineEdit*>();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        // the delegate commits a turn of the event loop later
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(Grid, OpensEveryTableSortsByClicksAndFiltersByKeys) {
    startSample();
    GridWindow* grid = open();
    ASSERT_TRUE(grid);
    EXPECT_TRUE(grid->isVisible());
    // seven monster tables and the where-used page; the item tabs come with the items
    EXPECT_EQ(grid->tabs()->count(), 8);
    control<QAction>(u"mnuIdbLoad"_s)->trigger();
    EXPECT_EQ(grid->tabs()->count(), 11);
    grid->tabs()->setCurrentIndex(0);
    const Table& stat = window->database().StatusTable;
    EXPECT_EQ(count(grid), u"%1 / %1 件"_s.arg(stat.Count() - 1));  // the placeholder is no monster

    // key and name in the left view only, every other column in the right
    auto* frozen = grid->currentPage()->findChild<QTableView*>(u"gridFrozen"_s);
    EXPECT_FALSE(frozen->isColumnHidden(0));
    EXPECT_FALSE(frozen->isColumnHidden(1));
    EXPECT_TRUE(frozen->isColumnHidden(2));
    EXPECT_TRUE(cells(grid)->isColumnHidden(0));
    EXPECT_FALSE(cells(grid)->isColumnHidden(3));
    EXPECT_EQ(frozen->model()->headerData(1, Qt::Horizontal).toString(), u"表示モンスター名"_s);
    // the rows are in file order: neither view marks a column as sorted
    EXPECT_EQ(frozen->horizontalHeader()->sortIndicatorSection(), -1);
    EXPECT_EQ(cells(grid)->horizontalHeader()->sortIndicatorSection(), -1);

    // a click on the HP header sorts up, a second click down
    auto* model = grid->currentPage()->model();
    const int hp = qobject_cast<TableGridModel*>(model)->columnOf(StatusField::Hp);
    QHeaderView* header = cells(grid)->horizontalHeader();
    const auto clickHeader = [&] {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(hp) + 5, header->height() / 2));
    };
    clickHeader();
    const auto hpOf = [&](int row) { return model->index(row, hp).data().toString().toDouble(); };
    for (int row = 1; row < model->rowCount(); ++row) ASSERT_LE(hpOf(row - 1), hpOf(row));
    clickHeader();
    for (int row = 1; row < model->rowCount(); ++row) ASSERT_GE(hpOf(row - 1), hpOf(row));

    // typing into the filter box narrows the rows and the count follows
    auto* filter = grid->currentPage()->findChild<QLineEdit*>(u"gridFilter"_s);
    const QString part = stat.field(5, StatusField::Name).left(3).toLower();
    QTest::keyClicks(filter, part);
    qint32 expected = 0;
    for (qint32 r = 2; r <= stat.Count(); ++r) {
        expected += stat.field(r, StatusField::Name).contains(part, Qt::CaseInsensitive) ||
                    stat.field(r, StatusField::DisplayName).contains(part, Qt::CaseInsensitive);
    }
    ASSERT_GT(expected, 0);
    EXPECT_EQ(model->rowCount(), expected);
    EXPECT_EQ(count(grid), u"%1 / %2 件"_s.arg(expected).arg(stat.Count() - 1));
}

TEST_F(Grid, EveryRegistryTableIsATabWithEveryFieldUnderItsFormCaptionAndRule) {
    startSample();
    GridWindow* grid = open();
    ASSERT_TRUE(grid);
    for (const TableId id : kTableIds) {
        const TableDescriptor& table = Tables::of(id);
        SCOPED_TRACE(table.fileName.toStdString());
        TableGridModel* model = nullptr;
        for (int tab = 0; tab < grid->tabs()->count(); ++tab) {
            auto* page = qobject_cast<GridPage*>(grid->tabs()->widget(tab));
            auto* candidate = page ? qobject_cast<TableGridModel*>(page->model()) : nullptr;
            if (candidate && &candidate->table() == &window->database().table(id)) {
                model = candidate;
                EXPECT_TRUE(grid->tabs()->tabText(tab).contains(table.fileName));
            }
        }
        ASSERT_TRUE(model) << "no tab shows this table";
        // the key first, every field once, under the caption its form gives it
        EXPECT_EQ(model->column(0).field, table.fieldsOf(FieldRole::Key).front());
        EXPECT_EQ(model->captionOf(1), Tables::status().caption(StatusField::DisplayName));
        std::set<int> fields;
        for (int c = 0; c < model->columnCount(); ++c) {
            const GridColumn& column = model->column(c);
            if (column.field == 0) continue;
            fields.insert(column.field);
            const FieldDescriptor& described = table.field(column.field);
            EXPECT_EQ(column.caption, described.caption);
            EXPECT_EQ(column.kind == CellKind::Number, described.isNumeric()) << column.field;
            // a typed number box is editable here too, and keeps to the form's limit
            const bool typed = !described.picked && described.role != FieldRole::Key &&
                               described.role != FieldRole::MonsterReference;
            EXPECT_EQ(column.rule != CellRule::ReadOnly, typed) << column.field;
            if (typed && described.isNumeric() && described.limit > 0) {
                const CellVerdict verdict =
                    judgeCellText(column, QString::number(described.limit + 1));
                EXPECT_TRUE(verdict.accepted);
                EXPECT_EQ(verdict.text, QString::number(described.limit)) << column.field;
            }
        }
        EXPECT_EQ(int(fields.size()), table.fieldCount());
    }
}

TEST_F(Grid, ACellEditIsOneUpdateThatSavesOneFieldAndARefusalChangesNothing) {
    startSample();
    GridWindow* grid = open();
    const auto before = files();
    const Table& stat = window->database().StatusTable;
    const qint32 record = 5;
    const QString oldHp = stat.field(record, StatusField::Hp);
    goTo(grid, record, StatusField::Hp);

    // letters are refused with a message, and nothing changes
    typeInCell(grid, u"12a"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.contains(u"数値ではありません"_s));
    EXPECT_EQ(stat.field(record, StatusField::Hp), oldHp);
    EXPECT_EQ(window->findChild<UnsavedWork*>()->undoStack().count(), 0);

    typeInCell(grid, u"424242"_s);
    EXPECT_EQ(stat.field(record, StatusField::Hp), u"424242"_s);
    auto* work = window->findChild<UnsavedWork*>();
    EXPECT_EQ(work->undoStack().count(), 1);
    EXPECT_EQ(work->pendingChanges().size(), 1u);
    // the form shows it when that monster is shown
    show(stat.field(record, StatusField::Name));
    EXPECT_EQ(text(u"Text1(2)"_s), u"424242"_s);

    control<QAction>(u"MunFileSave"_s)->trigger();
    const auto after = files();
    for (const auto& [name, bytes] : before) {
        if (name != u"mob_stat_db.txt"_s) {
            EXPECT_EQ(after.at(name), bytes) << name.toStdString();
            continue;
        }
        // the old file with that one field's bytes replaced
        QByteArray expected = bytes;
        const QList<QByteArray> lines = bytes.split('\n');
        qsizetype at = 0;
        for (int l = 0; l < record - 1; ++l) at += lines[l].size() + 1;
        QList<QByteArray> fields = lines[record - 1].split(',');
        qsizetype offset = at;
        for (int f = 1; f < StatusField::Hp; ++f) offset += fields[f - 1].size() + 1;
        expected.replace(offset, fields[StatusField::Hp - 1].size(), "424242");
        EXPECT_EQ(after.at(name), expected);
    }
}

TEST_F(Grid, FilterAndSortReadTheValuesOfEditsAndUndos) {
    startSample();
    GridWindow* grid = open();
    auto* model = qobject_cast<TableGridModel*>(grid->currentPage()->model());
    auto* filter = grid->currentPage()->findChild<QLineEdit*>(u"gridFilter"_s);
    grid->currentPage()->findChild<QComboBox*>(u"gridScope"_s)->setCurrentIndex(1);
    const int hp = model->columnOf(StatusField::Hp);
    const qint32 record = 6;
    // a filter and a sort before the edit, so that whatever they keep is of the old texts
    QTest::keyClicks(filter, u"9"_s);
    model->sort(hp, Qt::AscendingOrder);
    filter->clear();
    goTo(grid, record, StatusField::Hp);
    typeInCell(grid, u"987654321"_s);
    ASSERT_EQ(window->database().StatusTable.field(record, StatusField::Hp), u"987654321"_s);

    QTest::keyClicks(filter, u"98765432"_s);
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->recordAt(0), record);
    filter->clear();
    model->sort(hp, Qt::AscendingOrder);
    EXPECT_EQ(model->recordAt(model->rowCount() - 1), record);

    window->findChild<UnsavedWork*>()->undoStack().undo();
    QTest::keyClicks(filter, u"98765432"_s);
    EXPECT_EQ(model->rowCount(), 0);
    filter->clear();
    model->sort(hp, Qt::AscendingOrder);
    EXPECT_NE(model->recordAt(model->rowCount() - 1), record);
}

TEST_F(Grid, ABulkEditIsOneStepThatUndoesToTheSameBytes) {
    startSample();
    GridWindow* grid = open();
    grid->tabs()->setCurrentIndex(1);  // drops
    const auto before = files();
    const Table& drop = window->database().DropTable;
    auto* model = qobject_cast<TableGridModel*>(grid->currentPage()->model());
    const int rate = model->columnOf(DropField::Rate(0));
    QTableView* view = cells(grid);
    view->setFocus();
    view->setCurrentIndex(model->index(0, rate));
    view->selectionModel()->select(
        QItemSelection(model->index(0, rate), model->index(model->rowCount() - 1, rate)),
        QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(grid->openBulkEdit());
    auto* dialog = grid->findChild<BulkEditDialog*>(u"BulkEditDialog"_s);
    ASSERT_TRUE(dialog);
    auto* op = dialog->findChild<QComboBox*>(u"bulkOp"_s);
    op->setCurrentIndex(2);  // 倍率
    QTest::keyClicks(dialog->findChild<QLineEdit*>(u"bulkValue"_s), u"3"_s);
    const QString preview = dialog->findChild<QLabel*>(u"bulkPreview"_s)->text();
    EXPECT_TRUE(preview.contains(u"選択したセル: %1 件"_s.arg(drop.Count())))
        << preview.toStdString();
    // tripled, the drop rates above 3333 meet the limit of 10000
    int overLimit = 0;
    for (qint32 r = 1; r <= drop.Count(); ++r)
        overLimit += drop.field(r, DropField::Rate(0)).toDouble() * 3 > 10000;
    ASSERT_GT(overLimit, 0);
    EXPECT_TRUE(preview.contains(u"上限・下限で値が抑えられるセル: %1 件"_s.arg(overLimit)))
        << preview.toStdString();
    QTest::keyClick(dialog->findChild<QLineEdit*>(u"bulkValue"_s), Qt::Key_Return);
    auto* work = window->findChild<UnsavedWork*>();
    EXPECT_EQ(work->undoStack().count(), 1);
    for (qint32 r = 1; r <= drop.Count(); ++r)
        ASSERT_LE(drop.field(r, DropField::Rate(0)).toDouble(), 10000);
    for (qint32 r = 1; r <= drop.Count(); ++r) {
        const double old =
            QString::fromUtf8(before.at(u"mob_drop_db.txt"_s).split('\n')[r - 1].split(',')[2])
                .toDouble();
        ASSERT_EQ(drop.field(r, DropField::Rate(0)).toDouble(), std::min(10000.0, old * 3)) << r;
    }

    work->undoStack().undo();
    control<QAction>(u"MunFileSave"_s)->trigger();
    EXPECT_EQ(files(), before);
}

TEST_F(Grid, WhereUsedRowsShowTheirMonsterWithTheSlotFocused) {
    startSample();
    window->show();
    GridWindow* grid = open();
    WhereUsedPage* where = grid->whereUsed();
    grid->tabs()->setCurrentWidget(where);
    const Table& drop = window->database().DropTable;
    const QString item = drop.field(1, DropField::Item(2));
    auto* box = where->findChild<QLineEdit*>(u"whereItem"_s);
    box->setText(item);
    QTest::keyClick(box, Qt::Key_Return);
    auto* results = where->findChild<QTableWidget*>(u"whereResults"_s);
    ASSERT_GE(results->rowCount(), 1);
    EXPECT_EQ(results->item(0, 0)->text(), drop.field(1, DropField::Name));
    QTest::keyClick(results, Qt::Key_Return);
    EXPECT_EQ(text(u"Text2A"_s), drop.field(1, DropField::Name));
    EXPECT_EQ(window->focusWidget(), control<QLineEdit>(u"Text5(2)"_s));
}

}  // namespace mdb::test
