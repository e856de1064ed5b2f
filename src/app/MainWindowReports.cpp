// What the commands tell the user on the status bar, the title's unsaved marker, and the marks
// on edits not yet updated.
#include <QAction>
#include <QLineEdit>
#include <memory>

#include "app/ChangeWords.h"
#include "app/MainWindow.h"
#include "ui/commands/CommitCommand.h"
#include "ui/commands/ItemLoadCommand.h"
#include "ui/commands/QuitCommand.h"
#include "ui/commands/SaveCommand.h"
#include "ui/commands/StatusReport.h"
#include "ui/controls/EditMarks.h"
#include "ui/editors/AddEntryCommands.h"
#include "ui/editors/DependentEditor.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

quint64 changedWrites(const MonsterDatabase& db) {
    quint64 writes = 0;
    for (const Table* table : db.saveOrder()) writes += table->changedWrites();
    return writes;
}

}  // namespace

void MainWindow::connectReports() {
    report = new StatusReport(*this, dir_, this);

    // the monster as the form shows it: its display name and its key
    auto displayName = std::make_shared<QString>();
    connect(status, &StatusEditor::displayNameShown, report,
            [displayName](const QString& name) { *displayName = name; });
    const auto shownMonster = [this, displayName] {
        return u"%1 (%2)"_s.arg(*displayName, status->shownKey());
    };

    // an update counts the fields it changed in all seven tables
    auto before = std::make_shared<quint64>(0);
    connect(commit, &CommitCommand::committing, report,
            [this, before] { *before = changedWrites(db_); });
    connect(commit, &CommitCommand::committed, report, [this, before, shownMonster] {
        report->updated(shownMonster(), changedWrites(db_) - *before);
    });
    connect(save, &SaveCommand::saved, report,
            [this](const QStringList& files) { report->saved(files); });
    connect(save, &SaveCommand::failed, report, &StatusReport::saveFailed);
    connect(save, &SaveCommand::cancelled, report, &StatusReport::saveCancelled);
    connect(itemLoad, &ItemLoadCommand::loaded, report, &StatusReport::itemsLoaded);
    connect(status, &StatusEditor::searchFoundNothing, report, &StatusReport::searchFoundNothing);
    connect(status, &StatusEditor::searchFound, report, &StatusReport::searchSettled);
    connect(addEntries, &AddEntryCommands::lineAdded, report, &StatusReport::lineAdded);
    connect(quit, &QuitCommand::unsavedUpdatesChanged, report,
            &StatusReport::unsavedUpdatesChanged);
    // after the step has shown its monster afresh
    connect(undoEntry_, &QAction::triggered, report,
            [this, shownMonster] { report->undone(shownMonster()); });
    connect(redoEntry_, &QAction::triggered, report,
            [this, shownMonster] { report->redone(shownMonster()); });

    // Edits not yet updated are tinted, and choosing another monster over them says which
    // were dropped: the design drops them, but never unseen.
    auto* marks = new EditMarks(this);
    marks->watch(status->bindings(), [this](QObject* control) { return status->shownBy(control); });
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        const DependentEditor* editor = entry.editor;
        // a box shows its own mark; a hidden list's goes on the drop-down that picks its row
        marks->watch(editor->bindings(), [editor](QObject* control) -> QWidget* {
            if (auto* box = qobject_cast<QLineEdit*>(control)) return box;
            for (const DependentEditor::Row& row : editor->rows()) {
                if (row.holder == control && !row.controls.empty()) return row.controls.front();
            }
            return nullptr;
        });
    }
    connect(status, &StatusEditor::displayNameShown, marks, &EditMarks::refreshSoon);
    connect(commit, &CommitCommand::committed, marks, &EditMarks::refreshSoon);
    connect(status, &StatusEditor::leavingRecord, report, [this, shownMonster] {
        const QStringList dropped = editedCaptions(*status, editors_);
        if (!dropped.isEmpty()) report->editsDropped(shownMonster(), dropped);
    });
}

}  // namespace mdb
