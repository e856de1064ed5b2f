#pragma once

#include <array>

#include "ui/controls/HiddenList.h"
#include "ui/editors/DependentEditor.h"
#include "ui/models/MirrorModels.h"

class QComboBox;
class QLineEdit;

namespace mdb {

// The MVP reward record of the shown monster, or of any monster picked in Combo8A.
class MvpEditor : public DependentEditor {
    Q_OBJECT
public:
    MvpEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

private:
    void buildFrame(MirrorModels& models, QWidget* window);
    void connectControls();
    void onMonsterChosen(int index);
    void onMonsterRowFound();
    void onItemIdChanged(int i);
    void onItemRowFound(int i);
    void onItemNameChosen(int i, int index);

    static constexpr int Items = 2 + MvpField::Specials;
    QComboBox* monsterCombo_ = nullptr;               // Combo8A: MVP monster by display name
    std::array<QLineEdit*, Items> itemIdBoxes_{};     // Text8A: item IDs
    std::array<QLineEdit*, Items> numberBoxes_{};     // Text8: experience and rates
    std::array<QComboBox*, Items> itemNameCombos_{};  // Combo8: item names
    HiddenList* monsterNames_ = nullptr;  // List8B: status Names, row for row with Combo8A
    std::array<HiddenList*, Items> itemIdLists_{};  // List8
};

}  // namespace mdb
