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

// The shown monster's eight drop slots (item ID and rate), with item names picked by name.
class DropEditor : public QObject {
    Q_OBJECT
public:
    DropEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // The Click of the key list: shows the drop record of the selected row, or empty slots.
    void showSelectedRecord();

    QGroupBox* Frame2 = nullptr;
    QLineEdit* Text13 = nullptr;  // display name of the shown monster
    std::array<QComboBox*, 8> Combo1{};
    std::array<QLineEdit*, 8> Text5{};  // item IDs
    std::array<QLineEdit*, 8> Text6{};  // rates per 10000
    QPushButton* Command6 = nullptr;    // add, advanced mode only

    QGroupBox* Frame3 = nullptr;  // debug panel, never shown
    HiddenList* List1 = nullptr;  // drop keys
    std::array<HiddenList*, 8> List2{};
    std::array<HiddenLabel*, 8> Label5{};
    HiddenLabel* Label3 = nullptr;  // key found for the shown monster

private:
    MonsterDatabase& db_;
};

}  // namespace mdb
