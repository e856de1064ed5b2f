#pragma once

#include <QWidget>

#include "ui/commands/PendingChangesModel.h"

class QLabel;
class QPushButton;
class QTableView;

namespace mdb {

class MonsterDatabase;
class UnsavedWork;

// "未保存の変更": every field that differs from the files, with the monster and the field in
// the form's words, the text on disk and the text a save would write. A chosen change can be
// put back to the text on disk, as one more undoable step. An ordinary window of the program:
// it may lie under the form, and ends with it.
class PendingChangesWindow : public QWidget {
    Q_OBJECT
public:
    PendingChangesWindow(UnsavedWork& work, const MonsterDatabase& db,
                         PendingChangesModel::Words words, QWidget* owner);

    // The change of the chosen row back to the text on disk.
    void revertChosen();
    PendingChangesModel& model() { return *model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showEmptiness();

    UnsavedWork& work_;
    PendingChangesModel* model_;
    QTableView* changeList_;
    QLabel* emptyNote_;
    QPushButton* revertButton_;
};

}  // namespace mdb
