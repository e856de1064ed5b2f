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

class MessageSink;

// One editor of a record that names a monster, up to five related monsters and a count:
// metamorphosis, slaves or summons. The three instances differ only in what Names holds.
class RelatedMonsterEditor : public QObject {
    Q_OBJECT
public:
    // How the count box settles its text.
    enum class CountRule {
        AtLeastOne,  // metamorphosis: empty, non-numeric or zero becomes "1"
        UpToLimit,   // slaves, summons: empty or non-numeric "0", above 20 "20" with a notice
    };
    // Everything in which the three editors differ.
    struct Names {
        QString frame, caption;  // "Frame7", "変態モンスターＤＢ　(mob_morph_db.txt)"
        QString nameCombo, idCombo, keyList;  // "Combo6", "Combo6A", "List9"
        QString tableKeys, keyLabel;          // "List9A", "Label9A"
        QString countBox, addButton;          // "Text2", "Command11"
        QString debugFrame;                   // "Frame8", or empty when the lists have no panel
        QStringList rowCaptions;              // six captions: the owner, then #1..#5
        QString countCaption;
        CountRule countRule;
        Table MonsterDatabase::*table;
        ColumnModel* MirrorModels::*keys;
    };
    static Names morphNames();
    static Names slaveNames();
    static Names summonNames();

    RelatedMonsterEditor(const Names& names, MonsterDatabase& db, MirrorModels& models,
                         MessageSink& messages, QWidget* window);

    // The shown monster's key changed: shows its first record, or disables the editor.
    void keyLookup(const QString& key);
    // The update: the six monster keys and the count into the record selected in the key
    // list; nothing when no record is selected.
    void commitInto(MonsterDatabase& db) const;
    // Whether the controls hold edits not yet committed into the shown record.
    bool hasUncommittedEdits() const;
    const BindingTable& bindings() const { return bindings_; }
    // A new line: the six monster rows as chosen (empty where none is), then the count.
    QStringList newEntryFields() const;
    // The record shown, 0 for none.
    qint32 shownRecord() const { return tableKeyList->listIndex() + 1; }

    // Event handlers.
    void RelationRowChosen(int i);  // List9(i).Click
    void ShowRelationRecord();      // List9A.Click
    void RefreshRelationEnabled();  // Label9A.Change
    void NormalizeCount();          // Text2.Change: NormalizeMorphCount or NormalizeLimitedCount

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
    void buildFrame(const Names& names, MirrorModels& models, QWidget* window);
    void bindFields();
    void connectControls();
    void onNameComboClick(int i, int index);
    void onIdComboClick(int i, int index);
    const Table& table() const { return db_.*table_; }

    MonsterDatabase& db_;
    MessageSink& messages_;
    Table MonsterDatabase::*table_;
    CountRule countRule_;
    BindingTable bindings_;
    QString currentKey_;
    // A record being shown; the rows it moves are no choice of the user's.
    bool showing_ = false;
    // Rows the user picked since the record was shown; the others commit the record's own
    // keys (see keptUnlessChosen).
    std::array<bool, 6> chosen_{};
};

}  // namespace mdb
