#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUndoStack>

#include "app/ChangeWords.h"
#include "ui/about/AboutBox.h"
#include "ui/changes/PendingChangesWindow.h"
#include "ui/commands/CommitCommand.h"
#include "ui/commands/FocusOrder.h"
#include "ui/commands/ItemLoadCommand.h"
#include "ui/commands/QuitCommand.h"
#include "ui/commands/SaveCommand.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/commands/ViewModes.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/EditorStyle.h"
#include "ui/controls/MessageSink.h"
#include "ui/controls/TextStart.h"
#include "ui/controls/Widgets.h"
#include "ui/editors/AddEntryCommands.h"
#include "ui/editors/DropEditor.h"
#include "ui/editors/EmoteEditor.h"
#include "ui/editors/MvpEditor.h"
#include "ui/editors/RelatedMonsterEditor.h"
#include "ui/layout/WindowLayout.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The outer size, in twips, of the view the window starts in: the status editor alone.
const QSize kStatusOnlyView(10245, 4500);

}  // namespace

MainWindow::MainWindow(const QDir& databaseDir, MessageSink& messages, InstanceGuard* guard,
                       QWidget* parent)
    : QMainWindow(parent),
      dir_(databaseDir),
      messages_(messages),
      guard_(guard),
      models_(new MirrorModels(this)) {
    EditorStyle::install();
    setWindowTitle(applicationTitle());
    setObjectName(u"MainWindow"_s);
    setWindowIcon(QIcon(u":/icons/monster-db-editor.png"_s));
    buildMenus();
    buildFrames();
    addKeyboardAccess();
    explainCommands();
    showTextStartWhenFilled(this);
    connectCommands();
    connectChains();
    connectUnsavedWork();
    connectReports();
    connectGrid();
    letTextBoxesHoldAnyValue(this);
    setOuterSizeTwips(kStatusOnlyView.width(), kStatusOnlyView.height());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildFrames() {
    auto* central = new QWidget(this);
    central->setObjectName(u"central"_s);
    setCentralWidget(central);

    status = new StatusEditor(db_, *models_, central);
    // the emotion frame lies under the drop frame, so it is built first
    emote = new EmoteEditor(db_, *models_, central);
    drop = new DropEditor(db_, *models_, central);
    mvp = new MvpEditor(db_, *models_, central);
    morph = new RelatedMonsterEditor(RelatedMonsterEditor::morphNames(), db_, *models_, messages_,
                                     central);
    slave = new RelatedMonsterEditor(RelatedMonsterEditor::slaveNames(), db_, *models_, messages_,
                                     central);
    summon = new RelatedMonsterEditor(RelatedMonsterEditor::summonNames(), db_, *models_, messages_,
                                      central);

    updateButton_ = new QPushButton(u"更新"_s, central);
    updateButton_->setObjectName(u"Command1"_s);
    itemLoadButton_ = new QPushButton(u"アイテムデータベース読込"_s, central);
    itemLoadButton_->setObjectName(u"Command2"_s);
    unlockButton_ = new QPushButton(u"全ての Enabled = False を True に変更"_s, central);
    unlockButton_->setObjectName(u"Command8"_s);
    unlockButton_->hide();
    // at the menu bar's end, where it takes no room from the page slider beside the commands
    menuBar()->setCornerWidget(unlockButton_, Qt::TopRightCorner);

    // The one list of the dependent editors, in the order the shown monster's key is looked
    // up; the update and the unlock command take them in orders of their own.
    //               editor  add entry    bottom row  update  unlock
    editors_.add({drop, addDropEntry_, false, 0, 1});
    editors_.add({mvp, addMvpEntry_, false, 1, 0});
    editors_.add({morph, addMorphEntry_, true, 3, 2});
    editors_.add({slave, addSlaveEntry_, true, 5, 3});
    editors_.add({summon, addSummonEntry_, true, 4, 4});
    editors_.add({emote, addEmoteEntry_, false, 2, 5});

    // the frames at their designed places, scaled to what the font needs (advanced mode's
    // buttons included); the commands in the row between the status frame and the drop frame
    QList<QWidget*> advancedButtons;
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        advancedButtons << entry.editor->addButton();
    }
    WindowLayout::arrange(*this, {status->navigationBar(),
                                  {updateButton_, itemLoadButton_},
                                  advancedButtons,
                                  [this](const QSize& size) { emote->keepClear(size); },
                                  kStatusOnlyView,
                                  showTextStartNowLaidOut});

    FocusOrder::followThePage(*this);

    // the dependent editors stay unusable until a wider view mode is chosen
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        entry.editor->frame()->setEnabled(false);
    }
}

// The chains between editors, in the order they run. Everything inside one editor (a drop-down
// and its hidden list, a box and its leave rule) is that editor's own business.
//
//   showing a monster (any selector writes Text0)
//   1. Text0.Change        status: LoadStatusRecord clamps, moves List4, Combo5, Slider1 and
//                          shows the record through its binding table, which writes
//   2.   Text2A.Change       -> LookupDependentEntries: the key in the six key columns, in the
//                               order drop, MVP, metamorphosis, slave, summon, emotion; each
//                               key list's Click shows that editor's record, each key label's
//                               Change enables or disables that editor
//   3.   displayNameShown    -> drop: Text13 ("NameID")
//   4.   Text4, Text1(..), Text3, Text7 ... the status form's own chains
//
//   updating (Command1, mnuRenw)
//   5. CommitEdits          committing: an update of edits the forms hold leaves work to save;
//                           status record, then commitDependents:
//   6.   the registry's      each editor's commitInto, in the update's order (drop, MVP,
//        commitInto          emotion, metamorphosis, summon, slave), into the record its key
//                            list selects (none: nothing written)
//
//   stepping from the menu
//   7. mnuNext, mnuBack     the Click of ">>" and "<<"
//
//   adding and quitting (connectCommands)
//   8. each editor's add button and DB項目追加 entry: AddEntryCommands::add with the
//                           editor's key caption and newEntryFields (files only, no table)
//   9. MunFileQuit, closing the window: QuitCommand::mayQuit asks when holdsUncommittedEdits or
//                           an update not yet saved would be lost
void MainWindow::connectChains() {
    connect(status, &StatusEditor::shownKeyChanged, this, &MainWindow::LookupDependentEntries);
    connect(status, &StatusEditor::displayNameShown, drop, &DropEditor::showMonsterName);
    connect(commit, &CommitCommand::commitDependents, this, [this] { editors_.commitInto(db_); });
    connect(nextEntry_, &QAction::triggered, status, &StatusEditor::stepNext);
    connect(backEntry_, &QAction::triggered, status, &StatusEditor::stepBack);
}

void MainWindow::connectCommands() {
    commit = new CommitCommand(db_, *status, saveEntry_, this);
    save = new SaveCommand(dir_, db_, messages_, this);
    itemLoad = new ItemLoadCommand(dir_, items_, *models_, messages_, this);

    // the click must move the focus, so that the box being left is normalised before the copy
    updateButton_->setFocusPolicy(Qt::StrongFocus);
    connect(updateButton_, &QPushButton::clicked, commit,
            [this] { commit->commitFromButton(updateButton_); });
    connect(updateEntry_, &QAction::triggered, commit, &CommitCommand::CommitEdits);
    connect(saveEntry_, &QAction::triggered, save, &SaveCommand::SaveDatabase);
    connect(itemLoadButton_, &QPushButton::clicked, itemLoad, &ItemLoadCommand::LoadItemDatabases);
    connect(itemLoadEntry_, &QAction::triggered, itemLoad, &ItemLoadCommand::LoadItemDatabases);

    work = new UnsavedWork(dir_, db_, messages_, this);
    quit = new QuitCommand(
        messages_,
        {[this] { return holdsUncommittedEdits(); },
         [this] { commit->commitFromButton(updateButton_); },
         [this] { return save->SaveDatabase(); }, [this] { return work->unsavedUpdates(); },
         [this] { work->discardJournal(); }},
        this);
    connectAddCommands();

    viewModes = new ViewModes(*this, editors_, unlockButton_, messages_, this);
    viewModes->connectToggle(statusOnlyEntry_, &ViewModes::ToggleStatusOnly);
    viewModes->connectToggle(fullViewEntry_, &ViewModes::ToggleFullView);
    viewModes->connectToggle(advancedModeEntry_, &ViewModes::ToggleAdvancedMode);
    connect(unlockButton_, &QPushButton::clicked, viewModes, &ViewModes::EnableAllEditors);

    about = new AboutCommand(this, messages_);
    about->setWidest([this] {
        return WindowLayout::clientSize(*this, kStatusOnlyView.width(), kStatusOnlyView.height())
            .width();
    });
    connect(aboutEntry_, &QAction::triggered, about, &AboutCommand::ShowAbout);
}

// Each add button and its menu entry run the same Click.
void MainWindow::connectAddCommands() {
    addEntries = new AddEntryCommands(dir_, db_, messages_, this);
    for (const EditorRegistry::Entry& entry : editors_.entries()) {
        const DependentEditor* editor = entry.editor;
        const auto click = [this, editor] { addEntries->add(*editor, status->shownKey()); };
        connect(editor->addButton(), &QPushButton::clicked, addEntries, click);
        connect(entry.addEntry, &QAction::triggered, addEntries, click);
    }
}

// Every update goes into the undo history and the journal; undoing one shows its monster
// afresh; a save first makes sure no file changed under the editor.
void MainWindow::connectUnsavedWork() {
    undoEntry_ = new QAction(u"元に戻す"_s, this);
    undoEntry_->setObjectName(u"mnuUndo"_s);
    undoEntry_->setShortcut(QKeySequence(u"Ctrl+Z"_s));
    redoEntry_ = new QAction(u"やり直し"_s, this);
    redoEntry_->setObjectName(u"mnuRedo"_s);
    redoEntry_->setShortcut(QKeySequence(u"Ctrl+Y"_s));
    QAction* first = functionsMenu_->actions().value(0);
    functionsMenu_->insertActions(first, {undoEntry_, redoEntry_});
    functionsMenu_->insertSeparator(first);
    pendingChangesEntry_ = new QAction(u"未保存の変更"_s, this);
    pendingChangesEntry_->setObjectName(u"mnuPendingChanges"_s);
    pendingChangesEntry_->setShortcut(QKeySequence(Qt::Key_F8));
    fileMenu_->insertAction(quitEntry_, pendingChangesEntry_);
    fileMenu_->insertSeparator(quitEntry_);

    QUndoStack& stack = work->undoStack();
    undoEntry_->setEnabled(false);
    redoEntry_->setEnabled(false);
    connect(&stack, &QUndoStack::canUndoChanged, undoEntry_, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redoEntry_, &QAction::setEnabled);
    connect(undoEntry_, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(redoEntry_, &QAction::triggered, &stack, &QUndoStack::redo);
    connect(pendingChangesEntry_, &QAction::triggered, this, [this] {
        if (!pendingWindow) {
            pendingWindow =
                new PendingChangesWindow(*work, db_, changeWords(db_, *status, editors_), this);
        }
        pendingWindow->show();
        pendingWindow->raise();
        pendingWindow->activateWindow();
    });

    connect(commit, &CommitCommand::updated, work, &UnsavedWork::recordUpdate);
    connect(work, &UnsavedWork::showMonster, this, &MainWindow::showMonsterAfresh);
    // a restored update arms the save as an update does
    connect(work, &UnsavedWork::pendingChanged, this, [this] {
        if (work->hasUnsavedChanges()) saveEntry_->setEnabled(true);
    });
    save->setWriteCheck(
        [this](std::vector<FileIdentity>& seen) { return work->confirmOverwrite(&seen); });
    connect(save, &SaveCommand::wrote, work, &UnsavedWork::noteSaveAttempt);
    connect(addEntries, &AddEntryCommands::lineAdded, work, &UnsavedWork::noteAppended);
    // the title's marker and the quit question follow what the tables hold against the files
    connect(work, &UnsavedWork::cleanChanged, quit, [this](bool clean) {
        if (clean) {
            quit->noteSaved();
        } else {
            quit->noteUpdated();
        }
    });
}

void MainWindow::showMonsterAfresh(qint32 record) {
    const bool monster = record >= 2 && record <= db_.StatusTable.Count();
    status->showAfresh(monster ? record - 1 : 0);
}

void MainWindow::endSession() {
    quit->endAtOnce();
    close();
    // also ends a message box's own loop, which would otherwise keep the program running
    QCoreApplication::exit(0);
}

bool MainWindow::holdsUncommittedEdits() const {
    return status->hasUncommittedEdits() || editors_.hasUncommittedEdits();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (quit->mayQuit()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::LookupDependentEntries() {
    MDB_CHAIN("Text2A.Change LookupDependentEntries");
    editors_.keyLookup(status->shownKey());
}

void MainWindow::setOuterSizeTwips(int width, int height) {
    mdb::setOuterSizeTwips(*this, width, height);
}

}  // namespace mdb
