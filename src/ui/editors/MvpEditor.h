#pragma once

#include <QObject>
#include <array>

#include "model/MonsterDatabase.h"
#include "ui/controls/BindingTable.h"
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

    // The shown monster's key changed: shows its first MVP record, or disables the editor.
    void keyLookup(const QString& key);
    // The update: the boxes' texts, unchanged, into the MVP record selected in List8A; nothing
    // when no record is selected.
    void commitInto(MonsterDatabase& db) const;
    // Whether the boxes hold edits not yet committed into the shown MVP record.
    bool hasUncommittedEdits() const;
    const BindingTable& bindings() const { return bindings_; }
    // A new MVP line: the monster chosen in Combo8A, then the boxes in field order.
    QStringList newEntryFields() const;

    // Event handlers.
    void ShowMvpRecord();      // List8A.Click
    void RefreshMvpEnabled();  // Label8A.Change

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
    void buildFrame(MirrorModels& models, QWidget* window);
    void connectControls();
    void onCombo8AClick(int index);
    void onList8BClick();
    void onText8AChange(int i);
    void onList8Click(int i);
    void onCombo8Click(int i, int index);
    qint32 shownRecord() const { return List8A->listIndex() + 1; }

    MonsterDatabase& db_;
    BindingTable bindings_;
    // The shown monster's key (Text2A), which the key label must equal to enable the editor.
    QString currentKey_;
};

}  // namespace mdb
