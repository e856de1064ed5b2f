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

// The shown monster's eight drop slots (item ID and rate), with item names picked by name.
class DropEditor : public QObject {
    Q_OBJECT
public:
    DropEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // The shown monster's key changed: shows its first drop record, or empty disabled slots.
    void keyLookup(const QString& key);
    // The display name of the shown monster, under "NameID".
    void showMonsterName(const QString& displayName);
    // The update: the slots' texts, unchanged, into the drop record selected in List1; nothing
    // when the monster has no drop record.
    void commitInto(MonsterDatabase& db) const;
    // Whether the slots hold edits not yet committed into the shown drop record.
    bool hasUncommittedEdits() const;
    const BindingTable& bindings() const { return bindings_; }
    // A new drop line for the monster `key`: the key, then the eight slots as they read.
    QStringList newEntryFields(const QString& key) const;

    // Event handlers.
    void showSelectedRecord();    // List1.Click: the drop key selection
    void RefreshDropEnabled();    // Label3.Change
    void ResolveDropItem(int i);  // Text5(i).Change

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
    void buildFrame(MirrorModels& models, QWidget* window);
    void connectSlots();
    void onCombo1Click(int i, int index);
    void onList2Click(int i);
    void onLabel5Change(int i);
    void onText5LostFocus(int i);
    void onText6Change(int i);
    void onText6LostFocus(int i);
    qint32 shownRecord() const { return List1->listIndex() + 1; }

    MonsterDatabase& db_;
    BindingTable bindings_;
    // The shown monster's key (Text2A), which the key label must equal to enable the slots.
    QString currentKey_;
};

}  // namespace mdb
