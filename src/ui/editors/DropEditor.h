#pragma once

#include <array>

#include "ui/controls/HiddenList.h"
#include "ui/editors/DependentEditor.h"
#include "ui/models/MirrorModels.h"

class QComboBox;
class QLineEdit;

namespace mdb {

// The shown monster's eight drop slots (item ID and rate), with item names picked by name.
class DropEditor : public DependentEditor {
    Q_OBJECT
public:
    DropEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // The display name of the shown monster, under "NameID".
    void showMonsterName(const QString& displayName);

private:
    void buildFrame(MirrorModels& models, QWidget* window);
    void connectSlots();
    void ResolveDropItem(int i);  // Text5(i).Change
    void onItemNameChosen(int i, int index);
    void onItemRowFound(int i);
    void onItemFoundChanged(int i);
    void onItemIdLeft(int i);
    void onRateChanged(int i);
    void onRateLeft(int i);

    QLineEdit* displayNameBox_ = nullptr;  // Text13: display name of the shown monster
    std::array<QComboBox*, DropField::Slots> itemNameCombos_{};     // Combo1
    std::array<QLineEdit*, DropField::Slots> itemIdBoxes_{};        // Text5
    std::array<QLineEdit*, DropField::Slots> rateBoxes_{};          // Text6: rates per 10000
    std::array<HiddenList*, DropField::Slots> itemIdLists_{};       // List2
    std::array<HiddenLabel*, DropField::Slots> itemFoundLabels_{};  // Label5
};

}  // namespace mdb
