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

// One editor of a record that names up to five related monsters and a count: metamorphosis,
// slaves or summons. The three instances differ only in their names and captions.
class RelatedMonsterEditor : public QObject {
    Q_OBJECT
public:
    struct Names {
        QString frame, caption;  // "Frame7", "変態モンスターＤＢ　(mob_morph_db.txt)"
        QString nameCombo, idCombo, keyList;  // "Combo6", "Combo6A", "List9"
        QString tableKeys, keyLabel;          // "List9A", "Label9A"
        QString countBox, addButton;          // "Text2", "Command11"
        QString debugFrame;                   // "Frame8", or empty when the lists have no panel
        QStringList rowCaptions;              // six captions: the owner, then #1..#5
        QString countCaption;
    };
    static Names morphNames();
    static Names slaveNames();
    static Names summonNames();

    RelatedMonsterEditor(const Names& names, Table& table, MirrorModels& models,
                         ColumnModel* tableKeys, QWidget* window);

    QGroupBox* frame = nullptr;
    QGroupBox* debugFrame = nullptr;         // never shown
    std::array<QComboBox*, 6> nameCombos{};  // Combo6(0..5): owner, then related #1..#5
    std::array<QComboBox*, 6> idCombos{};    // Combo6A(0..5)
    std::array<HiddenList*, 6> keyLists{};   // List9(0..5): status Names
    QLineEdit* countBox = nullptr;
    QPushButton* addButton = nullptr;
    HiddenList* tableKeyList = nullptr;  // List9A
    HiddenLabel* keyLabel = nullptr;     // Label9A

private:
    Table& table_;
};

}  // namespace mdb
