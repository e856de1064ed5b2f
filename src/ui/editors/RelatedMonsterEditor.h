#pragma once

#include <array>

#include "model/MonsterDatabase.h"
#include "ui/controls/HiddenList.h"
#include "ui/editors/DependentEditor.h"
#include "ui/models/MirrorModels.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace mdb {

// What the user is told when a count was brought down to kRelationCountLimit (the form and
// the grid say the same).
QString limitedCountMessage();

class MessageSink;

// One editor of a record that names a monster, up to five related monsters and a count:
// metamorphosis, slaves or summons. The three instances differ only in what Names holds.
class RelatedMonsterEditor : public DependentEditor {
    Q_OBJECT
public:
    // Everything in which the three editors differ beyond their table's descriptor (captions,
    // frame title and the count's rule come from there).
    struct Names {
        QString instance;  // "morph", for traces
        TableId table;
        QString frame;                        // "Frame7"
        QString nameCombo, idCombo, keyList;  // "Combo6", "Combo6A", "List9"
        QString tableKeys, keyLabel;          // "List9A", "Label9A"
        QString countBox, addButton;          // "Text2", "Command11"
        QString debugFrame;                   // "Frame8", or empty when the lists have no panel
        AddMessages add;
    };
    static Names morphNames();
    static Names slaveNames();
    static Names summonNames();

    RelatedMonsterEditor(const Names& names, MonsterDatabase& db, MirrorModels& models,
                         MessageSink& messages, QWidget* window);

private:
    static constexpr int Rows = 1 + RelationField::Slots;  // the owner, then the related ones

    void buildFrame(const Names& names, MirrorModels& models, QWidget* window);
    void bindFields();
    void connectControls();
    void RelationRowChosen(int i);  // List9(i).Click
    void NormalizeCount();          // Text2.Change: NormalizeMorphCount or NormalizeLimitedCount
    void onNameChosen(int i, int index);
    void onIdChosen(int i, int index);

    MessageSink& messages_;
    CountRule countRule_;
    std::array<QComboBox*, Rows> nameCombos_{};  // Combo6(0..5): owner, then related #1..#5
    std::array<QComboBox*, Rows> idCombos_{};    // Combo6A(0..5)
    std::array<HiddenList*, Rows> keyLists_{};   // List9(0..5): status Names
    QLineEdit* countBox_ = nullptr;
};

}  // namespace mdb
