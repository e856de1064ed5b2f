#pragma once

#include <QDir>
#include <QWidget>
#include <vector>

#include "model/ChangeList.h"

class QTabWidget;

namespace mdb {

class GridEdits;
class GridPage;
class ItemDatabase;
class MessageSink;
class MonsterDatabase;
class Table;
class TableGridModel;
class WhereUsedPage;

// "一覧": every table as a grid, one tab each (the seven monster tables, the three item tables
// once loaded), and the page of where an item or a monster is used. The grids read the tables
// themselves; every edit goes through `edits` as one update.
class GridWindow : public QWidget {
    Q_OBJECT
public:
    GridWindow(MonsterDatabase& db, const ItemDatabase& items, GridEdits& edits,
               MessageSink& messages, const QDir& databaseDir, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    GridPage* page(int tab) const;
    GridPage* currentPage() const;
    WhereUsedPage* whereUsed() const { return whereUsed_; }
    // The item tables were (re)loaded: their tabs are made afresh.
    void itemsLoaded();
    // The tables changed (an update, undo, redo, a revert): the grids draw their rows again,
    // once per turn of the event loop however many changes came.
    void tablesChanged();
    // These fields changed: the grids read them afresh at their next filter or sort.
    void changesApplied(const ChangeSet& changes);

    // The chosen cells of the current grid as one bulk change: opens the dialog (not waiting
    // for it); false, with the reason told, when the cells are not of one editable number
    // column.
    bool openBulkEdit();
    // Writes the rows the current grid shows to `path` as UTF-8 CSV; false (told why) when the
    // path is a file of the database, or the write fails.
    bool exportShown(const QString& path);

signals:
    // Show this status record in the main window with the field of `table` focused.
    void showSlot(qint32 statusRecord, const Table* table, int field);

private:
    GridPage* addTablePage(TableGridModel* model, const QString& title);
    void chooseExportFile();
    bool isDatabaseFile(const QString& path) const;

    MonsterDatabase& db_;
    const ItemDatabase& items_;
    GridEdits& edits_;
    MessageSink& messages_;
    QDir dir_;
    QTabWidget* tabs_;
    WhereUsedPage* whereUsed_;
    std::vector<TableGridModel*> tableModels_;
    std::vector<QWidget*> itemPages_;
    bool refreshQueued_ = false;
};

}  // namespace mdb
