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
    void onCombo1Click(int i, int index);
    void onList2Click(int i);
    void onLabel5Change(int i);
    void onText5LostFocus(int i);
    void onText6Change(int i);
    void onText6LostFocus(int i);

    QLineEdit* Text13 = nullptr;  // display name of the shown monster
    std::array<QComboBox*, DropField::Slots> Combo1{};
    std::array<QLineEdit*, DropField::Slots> Text5{};  // item IDs
    std::array<QLineEdit*, DropField::Slots> Text6{};  // rates per 10000
    std::array<HiddenList*, DropField::Slots> List2{};
    std::array<HiddenLabel*, DropField::Slots> Label5{};
};

}  // namespace mdb
