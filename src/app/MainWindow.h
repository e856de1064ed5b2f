#pragma once

#include <QDir>
#include <QMainWindow>
#include <memory>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "ui/editors/EditorRegistry.h"
#include "ui/models/MirrorModels.h"

class QAction;
class QMenu;
class QPushButton;

namespace mdb {

class AboutCommand;
class AddEntryCommands;
class CommitCommand;
class DropEditor;
class GridEdits;
class GridWindow;
class EmoteEditor;
class InstanceGuard;
class ItemLoadCommand;
class MessageSink;
class MonsterPreload;
class MvpEditor;
class PendingChangesWindow;
class QuitCommand;
class RelatedMonsterEditor;
class SaveCommand;
class Table;
class StatusReport;
class StatusEditor;
class UnsavedWork;
class ViewModes;
struct StorageError;

// The single window of the editor. It owns the tables, the shared list models and every
// editor, and is the one place where the chains between editors are connected.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `databaseDir` holds the database files; `guard` may be null (no single-instance check).
    MainWindow(const QDir& databaseDir, MessageSink& messages, InstanceGuard* guard = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's load step: guard, load the seven files, fill the lists, show the first
    // monster. Anything but Started means the program must end without showing the window (a
    // failure has then been reported; another instance is left alone). With `preload`, the
    // tables it read are taken instead of reading the files again, when it read this window's
    // folder without a failure, no file was put back since and the files still hold what it
    // read; it has always finished reading on return, unless another instance runs.
    enum class StartResult { Started, AnotherInstance, Failed };
    StartResult startUp(MonsterPreload* preload = nullptr);

    // The Change of Text2A: shows the entries of the monster named there in the six editors.
    void LookupDependentEntries();

    // Whether the status form or a dependent editor showing a record differs from that record.
    bool holdsUncommittedEdits() const;

    // Shows status record `record` afresh in every editor, as choosing a monster does, even
    // when it is the one shown (after undo, redo, a revert or a restore).
    void showMonsterAfresh(qint32 record);
    // Shows status record `record` as choosing it does, in a view that shows the editor of
    // `table`, with the control of `field` focused (from the grid window).
    void showMonsterSlot(qint32 record, const Table* table, int field);
    // Ends the program without a question (a signal, the session ending); edits the forms
    // hold are updated first, so that the recovery journal keeps them.
    void endSession();

    // Sets the outer size of the window, in twips (15 twips are one pixel).
    void setOuterSizeTwips(int width, int height);

    MonsterDatabase& database() { return db_; }
    ItemDatabase& items() { return items_; }
    MirrorModels& models() { return *models_; }
    const QDir& databaseDir() const { return dir_; }
    MessageSink& messages() { return messages_; }
    // The six dependent editors and what the commands need to know of each.
    const EditorRegistry& editors() const { return editors_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void addKeyboardAccess();
    void explainCommands();
    void buildFrames();
    void connectChains();
    void connectCommands();
    void connectAddCommands();
    void connectUnsavedWork();
    void connectReports();
    StartResult refuseFolderInUse();
    void connectGrid();
    void reportStartFailure(const StorageError& error);
    void reportStartRefusal(const QString& fileName, const QString& reason);
    void reportRefusedFolder(const QString& refused);

    StatusEditor* status = nullptr;
    DropEditor* drop = nullptr;
    MvpEditor* mvp = nullptr;
    EmoteEditor* emote = nullptr;
    RelatedMonsterEditor* morph = nullptr;
    RelatedMonsterEditor* slave = nullptr;
    RelatedMonsterEditor* summon = nullptr;

    // The commands, and the controls that run them, named for what they do; each control's
    // object name is the design's name (in the comments), which tests and tools use.
    CommitCommand* commit = nullptr;
    SaveCommand* save = nullptr;
    ItemLoadCommand* itemLoad = nullptr;
    ViewModes* viewModes = nullptr;
    AboutCommand* about = nullptr;
    AddEntryCommands* addEntries = nullptr;
    QuitCommand* quit = nullptr;  // and closing the window
    UnsavedWork* work = nullptr;  // undo history, pending changes, journal
    PendingChangesWindow* pendingWindow = nullptr;
    StatusReport* report = nullptr;  // the status bar and the title's modified marker

    QPushButton* updateButton_ = nullptr;    // Command1 "更新"
    QPushButton* itemLoadButton_ = nullptr;  // Command2 "アイテムデータベース読込"
    QPushButton* unlockButton_ = nullptr;    // Command8: every editor control, advanced mode only

    // Menu bar.
    QMenu* fileMenu_ = nullptr;               // MunFile
    QAction* saveAsEntry_ = nullptr;          // mnuFileSaveAsItem, no action
    QAction* saveEntry_ = nullptr;            // MunFileSave
    QAction* pendingChangesEntry_ = nullptr;  // mnuPendingChanges "未保存の変更"
    QAction* quitEntry_ = nullptr;            // MunFileQuit
    QMenu* functionsMenu_ = nullptr;          // mnuEdit
    QAction* undoEntry_ = nullptr;            // mnuUndo "元に戻す"
    QAction* redoEntry_ = nullptr;            // mnuRedo "やり直し"
    QAction* itemLoadEntry_ = nullptr;        // mnuIdbLoad
    QAction* nextEntry_ = nullptr;            // mnuNext
    QAction* backEntry_ = nullptr;            // mnuBack
    QAction* updateEntry_ = nullptr;          // mnuRenw
    QMenu* viewMenu_ = nullptr;               // mnuMenu
    QAction* statusOnlyEntry_ = nullptr;      // mnuStatMenu
    QAction* fullViewEntry_ = nullptr;        // mnuMenu2
    QAction* skillEditEntry_ = nullptr;       // mnuMenuMobSkill, no action
    QMenu* professionalMenu_ = nullptr;       // mnuFPro
    QAction* advancedModeEntry_ = nullptr;    // mnuProf
    QMenu* addMenu_ = nullptr;                // mnuInsMaster
    QAction* addDropEntry_ = nullptr;         // mnuDdrIns
    QAction* addMvpEntry_ = nullptr;          // mnuMvpIns
    QAction* addEmoteEntry_ = nullptr;        // mnuEmoIns
    QAction* addMorphEntry_ = nullptr;        // mnuMorpIns
    QAction* addSlaveEntry_ = nullptr;        // mnuSlaveIns
    QAction* addSummonEntry_ = nullptr;       // mnuSumIns
    QAction* debugWindow1Entry_ = nullptr;    // mnuDbwin1
    QAction* debugWindow2Entry_ = nullptr;    // mnuDbwin2
    QAction* debugWindow3Entry_ = nullptr;    // mnuDbwin3
    QMenu* otherMenu_ = nullptr;              // mnuOther
    QAction* helpEntry_ = nullptr;            // mnuHelp, no action
    QAction* aboutEntry_ = nullptr;           // mnuHelpAbout

    QDir dir_;
    MessageSink& messages_;
    InstanceGuard* guard_;
    MonsterDatabase db_;
    ItemDatabase items_;
    MirrorModels* models_;
    EditorRegistry editors_;
    QAction* mnuGrid_ = nullptr;  // "一覧" (Ctrl+T)
    GridEdits* gridEdits_ = nullptr;
    GridWindow* gridWindow_ = nullptr;
};

}  // namespace mdb
