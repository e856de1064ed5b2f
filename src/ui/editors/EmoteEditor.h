#pragma once

#include <QObject>
#include <array>

#include "model/MonsterDatabase.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/MirrorModels.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace mdb {

// The emotion record of the shown monster: a monster, an AI state and one of 48 emotions.
class EmoteEditor : public QObject {
    Q_OBJECT
public:
    EmoteEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // Start-up: the AI state labels and names, both left without a selection.
    void fillCodeLists();

    QGroupBox* Frame1A = nullptr;
    QComboBox* Combo14 = nullptr;   // monster by display name
    QComboBox* Combo14B = nullptr;  // AI state label
    QLineEdit* Text14 = nullptr;    // emotion number
    std::array<QToolButton*, 48> Option1{};
    QButtonGroup* emotionGroup = nullptr;
    QPushButton* Command10 = nullptr;

    HiddenList* List14 = nullptr;   // status Names, row for row with Combo14
    HiddenList* List14A = nullptr;  // emotion keys
    HiddenList* List14B = nullptr;  // AI state names, row for row with Combo14B
    HiddenLabel* Label14A = nullptr;

private:
    MonsterDatabase& db_;
    ColumnModel* stateLabels_;
    ColumnModel* stateNames_;
};

}  // namespace mdb
