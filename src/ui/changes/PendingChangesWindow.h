#pragma once

#include <QDialog>

#include "model/ChangeList.h"

class QPushButton;
class QTreeWidget;

namespace mdb {

class MonsterDatabase;
class UnsavedWork;

// "未保存の変更": every field that differs from the files, grouped by file and monster, with
// the text on disk and the text a save would write. A chosen change can be put back to the
// text on disk, as one more undoable step.
class PendingChangesWindow : public QDialog {
    Q_OBJECT
public:
    PendingChangesWindow(UnsavedWork& work, const MonsterDatabase& db, QWidget* parent = nullptr);

    // Fills the list from what is pending now.
    void refresh();
    // The change of the chosen row back to the text on disk.
    void revertChosen();

    QTreeWidget* changeList = nullptr;
    QPushButton* revertButton = nullptr;

private:
    QString monsterText(const FieldChange& change) const;

    UnsavedWork& work_;
    const MonsterDatabase& db_;
    ChangeSet shown_;  // the leaves of the list, by index
};

}  // namespace mdb
