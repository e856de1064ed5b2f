// What the commands tell the user on the status bar, and the title's unsaved marker.
#include <QLineEdit>
#include <memory>

#include "app/MainWindow.h"
#include "ui/commands/CommitCommand.h"
#include "ui/commands/ItemLoadCommand.h"
#include "ui/commands/QuitCommand.h"
#include "ui/commands/SaveCommand.h"
#include "ui/commands/StatusReport.h"
#include "ui/editors/AddEntryCommands.h"
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

    // an update counts the fields it changed in all seven tables
    auto before = std::make_shared<quint64>(0);
    connect(commit, &CommitCommand::committing, report,
            [this, before] { *before = changedWrites(db_); });
    // the monster as the form shows it: its display name and its key
    auto displayName = std::make_shared<QString>();
    connect(status, &StatusEditor::displayNameShown, report,
            [displayName](const QString& name) { *displayName = name; });
    connect(commit, &CommitCommand::committed, report, [this, before, displayName] {
        const QString monster = u"%1 (%2)"_s.arg(*displayName, status->shownKey());
        report->updated(monster, changedWrites(db_) - *before);
    });
    connect(save, &SaveCommand::saved, report,
            [this](const QStringList& files) { report->saved(files); });
    connect(save, &SaveCommand::failed, report, &StatusReport::saveFailed);
    connect(itemLoad, &ItemLoadCommand::loaded, report, &StatusReport::itemsLoaded);
    connect(status, &StatusEditor::searchFoundNothing, report, &StatusReport::searchFoundNothing);
    connect(addEntries, &AddEntryCommands::lineAdded, report, &StatusReport::lineAdded);
    connect(quit, &QuitCommand::unsavedUpdatesChanged, report,
            &StatusReport::unsavedUpdatesChanged);
}

}  // namespace mdb
