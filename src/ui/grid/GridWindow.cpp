#include "ui/grid/GridWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <set>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "storage/SafeWrite.h"
#include "ui/controls/MessageSink.h"
#include "ui/grid/BulkEditDialog.h"
#include "ui/grid/FrozenGrid.h"
#include "ui/grid/GridEdits.h"
#include "ui/grid/GridPage.h"
#include "ui/grid/TableGridModel.h"
#include "ui/grid/WhereUsedPage.h"
#include "ui/messages/StorageMessages.h"

namespace mdb {

using namespace Qt::StringLiterals;

GridWindow::GridWindow(MonsterDatabase& db, const ItemDatabase& items, GridEdits& edits,
                       MessageSink& messages, const QDir& databaseDir, QWidget* parent)
    : QWidget(parent, Qt::Window),
      db_(db),
      items_(items),
      edits_(edits),
      messages_(messages),
      dir_(databaseDir),
      tabs_(new QTabWidget(this)) {
    setObjectName(u"GridWindow"_s);
    setWindowTitle(u"一覧"_s);
    tabs_->setObjectName(u"gridTabs"_s);
    for (const TableId id : kTableIds) {
        auto* model = new TableGridModel(db, id, this);
        tableModels_.push_back(model);
        model->setCellEdit([this, model](qint32 record, int field, const QString& text) {
            return edits_.editCell(model->table(), record, model->column(model->columnOf(field)),
                                   text, model->monsterOf(record));
        });
        const TableDescriptor& table = Tables::of(id);
        GridPage* page = addTablePage(model, u"%1 (%2)"_s.arg(table.shortTitle, table.fileName));
        connect(page->grid(), &FrozenGrid::rowActivated, this, [this, model](int row, int column) {
            const qint32 record = model->recordAt(row);
            emit showSlot(model->monsterOf(record), &model->table(), model->column(column).field);
        });
    }
    whereUsed_ = new WhereUsedPage(db, items, this);
    tabs_->addTab(whereUsed_, u"使用箇所(&U)"_s);
    connect(whereUsed_, &WhereUsedPage::slotChosen, this, &GridWindow::showSlot);
    itemsLoaded();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, [this] {
        if (GridPage* page = currentPage()) page->focusFilter();
    });
    resize(960, 600);
}

GridPage* GridWindow::addTablePage(TableGridModel* model, const QString& title) {
    auto* page = new GridPage(model, this);
    page->setObjectName(u"gridPage_"_s + model->table().name());
    tabs_->addTab(page, title);
    connect(page, &GridPage::bulkEditRequested, this, &GridWindow::openBulkEdit);
    connect(page, &GridPage::exportRequested, this, &GridWindow::chooseExportFile);
    return page;
}

GridPage* GridWindow::page(int tab) const {
    return qobject_cast<GridPage*>(tabs_->widget(tab));
}

GridPage* GridWindow::currentPage() const {
    return qobject_cast<GridPage*>(tabs_->currentWidget());
}

void GridWindow::itemsLoaded() {
    for (QWidget* old : itemPages_) {
        tabs_->removeTab(tabs_->indexOf(old));
        old->deleteLater();
    }
    itemPages_.clear();
    if (items_.totalCount() == 0) return;
    int at = tabs_->indexOf(whereUsed_);
    for (const ItemTable* table : items_.loadOrder()) {
        auto* model = new ItemGridModel(*table);
        auto* page = new GridPage(model, this);
        model->setParent(page);
        page->setObjectName(u"gridPage_"_s + table->fileName());
        connect(page, &GridPage::exportRequested, this, &GridWindow::chooseExportFile);
        tabs_->insertTab(at++, page, table->fileName());
        itemPages_.push_back(page);
    }
}

void GridWindow::changesApplied(const ChangeSet& changes) {
    bool namesChanged = false;
    for (TableGridModel* model : tableModels_) {
        std::vector<qint32> records;
        for (const FieldChange& change : changes) {
            if (change.table != &model->table()) continue;
            records.push_back(change.record);
            namesChanged |=
                change.table == &db_.StatusTable && change.field == StatusField::DisplayName;
        }
        if (!records.empty()) model->recordsEdited(records);
    }
    // the other tables show the status table's display names too
    if (namesChanged) {
        for (TableGridModel* model : tableModels_) {
            if (&model->table() != &db_.StatusTable) model->contentsChanged();
        }
    }
}

void GridWindow::tablesChanged() {
    if (refreshQueued_) return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        for (TableGridModel* model : tableModels_) {
            if (model->shownCount() == 0) continue;
            emit model->dataChanged(model->index(0, 0), model->index(model->shownCount() - 1,
                                                                     model->columnCount() - 1));
        }
    });
}

bool GridWindow::openBulkEdit() {
    GridPage* current = currentPage();
    auto* model = current ? qobject_cast<TableGridModel*>(current->model()) : nullptr;
    if (!model) return false;
    const QModelIndexList chosen = current->grid()->mainView()->selectionModel()->selectedIndexes();
    std::set<int> columns;
    std::set<qint32> recordSet;
    for (const QModelIndex& index : chosen) {
        columns.insert(index.column());
        recordSet.insert(model->recordAt(index.row()));
    }
    const int column = columns.size() == 1 ? *columns.begin() : -1;
    if (column < 0 || model->column(column).rule == CellRule::ReadOnly ||
        model->column(column).kind != CellKind::Number) {
        messages_.warning(u"一括編集"_s,
                          u"編集できる数値の列を一つだけ選び、その中のセルを選択して下さい"_s);
        return false;
    }
    const std::vector<qint32> records(recordSet.begin(), recordSet.end());
    const GridColumn bulkColumn = model->column(column);
    const Table& table = model->table();
    auto* dialog = new BulkEditDialog(
        bulkColumn.caption, int(records.size()),
        [&table, records, bulkColumn](BulkOp op, double operand) {
            return planBulkEdit(table, records, bulkColumn, op, operand);
        },
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, model, records, bulkColumn] {
        std::vector<qint32> monsters;
        for (qint32 record : records) monsters.push_back(model->monsterOf(record));
        edits_.applyPlan(model->table(), bulkColumn.field, dialog->plan(), monsters);
    });
    dialog->open();
    return true;
}

bool GridWindow::isDatabaseFile(const QString& path) const {
    const QFileInfo target(path);
    QStringList names;
    for (const Table* table : db_.saveOrder()) names << table->name();
    for (const ItemTable* table : items_.loadOrder()) names << table->fileName();
    for (const QString& name : names) {
        const QFileInfo file(dir_.filePath(name));
        // the same file by any spelling of its path, a link to it included
        if (file.exists() && target.exists() &&
            file.canonicalFilePath() == target.canonicalFilePath())
            return true;
        if (QFileInfo(target.absolutePath()).canonicalFilePath() ==
                QFileInfo(dir_.absolutePath()).canonicalFilePath() &&
            target.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool GridWindow::exportShown(const QString& path) {
    GridPage* current = currentPage();
    if (!current) return false;
    if (isDatabaseFile(path)) {
        messages_.warning(u"CSV出力"_s,
                          MessageSink::joinLines({u"データベースのファイルには出力できません"_s,
                                                  QDir::toNativeSeparators(path)}));
        return false;
    }
    const QFileInfo target(path);
    const std::optional<StorageError> error = writeWholeFile(
        QDir(target.absolutePath()), target.fileName(), current->model()->csvText().toUtf8());
    if (error) {
        messages_.warning(u"CSV出力"_s,
                          MessageSink::joinLines(
                              {u"ファイルに書き込めませんでした"_s, QDir::toNativeSeparators(path),
                               systemReasonText(error->systemError, error->detail)}));
        return false;
    }
    return true;
}

void GridWindow::chooseExportFile() {
    auto* dialog = new QFileDialog(this, u"CSV出力"_s, QDir::homePath(), u"CSV (*.csv)"_s);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(u"csv"_s);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { exportShown(path); });
    dialog->open();
}

}  // namespace mdb
