// The grid window "一覧": opened from the menu, its edits made updates, its rows showing their
// monster in this window.
#include <QAction>
#include <QGroupBox>

#include "app/MainWindow.h"
#include "ui/commands/ItemLoadCommand.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/commands/ViewModes.h"
#include "ui/editors/DependentEditor.h"
#include "ui/grid/GridEdits.h"
#include "ui/grid/GridWindow.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Whether an update changed a field of the monster of status record `shown`: its status record,
// or a dependent record under its key.
bool touches(const MonsterDatabase& db, const ChangeSet& changes, qint32 shown) {
    const QStringView key = db.StatusTable.fieldView(shown, StatusField::Name);
    for (const FieldChange& change : changes) {
        if (change.table == &db.StatusTable
                ? change.record == shown
                : change.table->fieldView(change.record, 1).compare(key, Qt::CaseInsensitive) ==
                      0) {
            return true;
        }
    }
    return false;
}

}  // namespace

void MainWindow::connectGrid() {
    gridEdits_ = new GridEdits(db_, *work, messages_, this);
    // The form's update writes every field it shows: had it edits of a monster the grid
    // changes, updating them later would put the grid's fields back as they were.
    gridEdits_->setFormGuard([this](const std::vector<qint32>& monsters) {
        if (!holdsUncommittedEdits()) return true;
        const auto shown = status->shownStatusRecord();
        return !shown || std::find(monsters.begin(), monsters.end(), *shown) == monsters.end();
    });
    connect(gridEdits_, &GridEdits::updated, this, [this](const ChangeSet& changes) {
        const auto shown = status->shownStatusRecord();
        if (shown && touches(db_, changes, *shown)) showMonsterAfresh(*shown);
    });
    connect(mnuGrid_, &QAction::triggered, this, [this] {
        if (!gridWindow_) {
            gridWindow_ = new GridWindow(db_, items_, *gridEdits_, messages_, dir_, this);
            connect(gridWindow_, &GridWindow::showSlot, this, &MainWindow::showMonsterSlot);
        }
        gridWindow_->show();
        gridWindow_->raise();
        gridWindow_->activateWindow();
    });
    connect(work, &UnsavedWork::pendingChanged, this, [this] {
        if (gridWindow_) gridWindow_->tablesChanged();
    });
    connect(itemLoad, &ItemLoadCommand::loaded, this, [this] {
        if (gridWindow_) gridWindow_->itemsLoaded();
    });
}

void MainWindow::showMonsterSlot(qint32 record, const Table* table, int field) {
    if (record < 2 || record > db_.StatusTable.Count()) return;
    showMonsterAfresh(record);
    QWidget* target = nullptr;
    if (table == &db_.StatusTable) {
        for (const BindingTable::Binding& binding : status->bindings().bindings()) {
            auto* control = qobject_cast<QWidget*>(binding.control);
            if (binding.field == field && control && !control->isHidden()) target = control;
        }
    } else {
        for (const EditorRegistry::Entry& entry : editors_.entries()) {
            DependentEditor* editor = entry.editor;
            if (!table || editor->descriptor().fileName != table->name()) continue;
            // the frame is usable only in a view that shows it
            if (!editor->frame()->isEnabled() && !fullViewEntry_->isChecked())
                viewModes->ToggleFullView();
            for (const DependentEditor::Row& row : editor->rows()) {
                if (row.field == field && !row.controls.empty()) target = row.controls.front();
            }
        }
    }
    activateWindow();
    raise();
    if (target) target->setFocus(Qt::OtherFocusReason);
}

}  // namespace mdb
