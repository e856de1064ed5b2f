#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <vector>

#include "model/MonsterDatabase.h"
#include "ui/controls/BindingTable.h"
#include "ui/editors/AddMessages.h"

class QGroupBox;
class QPushButton;
class QWidget;

namespace mdb {

class HiddenLabel;
class HiddenList;

// What every editor of a dependent table shares: the look-up of the shown monster's key, the
// record its key list selects, the enable rule, the update, the edit check and the fields of
// a new line. All of it walks the editor's rows, which say which field each control holds;
// the editor class itself only builds its frame and adds the rules of its own controls.
class DependentEditor : public QObject {
    Q_OBJECT
public:
    // What a row is to the commands that walk it.
    enum class Role {
        Key,     // the record's monster (field 1): chosen by a picker, written on an update only
                 // by the editors that may move a record to another monster
        Value,   // a value of the record, written by the update
        Number,  // the record's closing number (a count, the emotion), which the unlock command
                 // reaches after the other editors' pickers
    };
    // One field of the record as the editor shows it.
    struct Row {
        int field;  // 1-based field of the table
        Role role;
        QString caption;                 // the field's caption
        QObject* holder;                 // QLineEdit or HiddenList whose text is the field
        std::vector<QWidget*> controls;  // the visible controls that edit it
        bool committed = true;           // written by the update
    };

    TableId tableId() const { return table_; }
    const TableDescriptor& descriptor() const { return Tables::of(table_); }
    const AddMessages& addMessages() const { return addMessages_; }
    // "drop", "mvp", "emote", "morph", "slave", "summon": names the instance in traces.
    const QString& instanceName() const { return instance_; }
    QGroupBox* frame() const { return frame_; }
    QPushButton* addButton() const { return addButton_; }

    // The shown monster's key changed: selects its first record in the key list (whose Click
    // shows it) and writes the key found, or the empty text, into the key label (whose Change
    // runs the enable rule).
    void keyLookup(const QString& key);
    // The key of the record shown as the table spells it, empty when the monster has none.
    QString keyCaption() const;
    // The record the key list selects, 0 for none.
    qint32 shownRecord() const;

    // The update: the committed rows' texts, unchanged, into the shown record; nothing when
    // no record is shown.
    void commitInto(MonsterDatabase& db) const;
    // Whether the controls hold edits not yet committed into the shown record.
    bool hasUncommittedEdits() const;
    // A new line for the table: every field as its row's control reads it; a field no row
    // holds (the drop table's monster) is `currentKey`, the shown monster's key.
    QStringList newEntryFields(const QString& currentKey) const;

    const std::vector<Row>& rows() const { return rows_; }
    const BindingTable& bindings() const { return bindings_; }
    // The controls the enable rule switches, in the order the unlock command reaches them.
    const std::vector<QWidget*>& controls() const { return controls_; }
    // The same without (or only) the controls of Number rows.
    std::vector<QWidget*> controlsOf(bool numbers) const;

protected:
    DependentEditor(const QString& instance, TableId table, AddMessages addMessages,
                    MonsterDatabase& db, QObject* parent);

    // The frame, the add button, the key list (List1) and the key label (Label3), set while the
    // frame is built.
    void setParts(QGroupBox* frame, QPushButton* addButton, HiddenList* keyList,
                  HiddenLabel* keyLabel);
    // Rows are added in the order a record is shown (each assignment raises the control's own
    // events, so the order is part of the editor's rules).
    // A text box: shows the field and commits its text.
    void addBoxRow(int field, Role role, QLineEdit* box, std::vector<QWidget*> pickers = {});
    // A hidden list: shows the field by selecting the row that reads it. Committed, it writes
    // the record's own text back until the user picks another row (markChosen).
    void addListRow(int field, Role role, HiddenList* list, std::vector<QWidget*> pickers,
                    bool committed);
    // The controls the enable rule switches, in the unlock order, added array by array.
    template <class Array>
    void addControls(const Array& array) {
        for (QWidget* control : array) controls_.push_back(control);
    }
    void addControl(QWidget* control) { controls_.push_back(control); }
    // Connects the key list and the key label; runs the enable rule once for "no record".
    void connectKeyControls();

    // The user picked a row of a field's list: from now on its row's text is committed.
    void markChosen(int field);
    // A record is being shown: the lists it moves are no choice of the user's.
    bool showing() const { return showing_; }
    const Table& table() const { return db_.table(table_); }

    // Hooks of the editors with more to do.
    virtual void beforeShow(qint32 record) { Q_UNUSED(record); }
    virtual void enabledChanged(bool enabled) { Q_UNUSED(enabled); }

    HiddenList* keyList_ = nullptr;
    HiddenLabel* keyLabel_ = nullptr;

private:
    void ShowSelectedRecord();  // the key list's Click
    void RefreshEnabled();      // the key label's Change
    void setControlsEnabled(bool enabled);

    QString instance_;
    TableId table_;
    AddMessages addMessages_;
    MonsterDatabase& db_;
    QGroupBox* frame_ = nullptr;
    QPushButton* addButton_ = nullptr;
    std::vector<Row> rows_;
    BindingTable bindings_;
    std::vector<QWidget*> controls_;
    // The shown monster's key (Text2A), which the key label must equal to enable the editor.
    QString currentKey_;
    bool showing_ = false;
    // Fields whose row the user picked since the record was shown (see keptUnlessChosen).
    QSet<int> chosen_;
};

}  // namespace mdb
