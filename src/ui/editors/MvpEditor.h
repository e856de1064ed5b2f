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
    void onCombo8AClick(int index);
    void onList8BClick();
    void onText8AChange(int i);
    void onList8Click(int i);
    void onCombo8Click(int i, int index);

    static constexpr int Items = 2 + MvpField::Specials;
    QComboBox* Combo8A = nullptr;            // MVP monster by display name
    std::array<QLineEdit*, Items> Text8A{};  // item IDs
    std::array<QLineEdit*, Items> Text8{};   // numbers
    std::array<QComboBox*, Items> Combo8{};  // item names
    HiddenList* List8B = nullptr;            // status Names, row for row with Combo8A
    std::array<HiddenList*, Items> List8{};
};

}  // namespace mdb
