#pragma once

#include <QObject>
#include <array>

#include "model/MonsterDatabase.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/MirrorModels.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace mdb {

// The MVP reward record of the shown monster, or of any monster picked in Combo8A.
class MvpEditor : public QObject {
    Q_OBJECT
public:
    MvpEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    QGroupBox* Frame5 = nullptr;
    QComboBox* Combo8A = nullptr;        // MVP monster by display name
    std::array<QLineEdit*, 5> Text8A{};  // item IDs
    std::array<QLineEdit*, 5> Text8{};   // numbers
    std::array<QComboBox*, 5> Combo8{};  // item names
    QPushButton* Command9 = nullptr;

    QGroupBox* Frame6 = nullptr;   // debug panel, never shown
    HiddenList* List8B = nullptr;  // status Names, row for row with Combo8A
    HiddenList* List8A = nullptr;  // MVP keys
    std::array<HiddenList*, 5> List8{};
    HiddenLabel* Label8A = nullptr;

private:
    MonsterDatabase& db_;
};

}  // namespace mdb
