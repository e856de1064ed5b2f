#pragma once

#include <QHash>
#include <QObject>
#include <array>
#include <optional>

#include "model/MonsterDatabase.h"
#include "ui/controls/BindingTable.h"
#include "ui/controls/ColumnModel.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/ListBox.h"
#include "ui/models/MirrorModels.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

namespace mdb {

// Choosing the shown monster and editing its status record: the position box Text0 is the one
// selection state; every selector writes a position into it and its Change loads the record.
class StatusEditor : public QObject {
    Q_OBJECT
public:
    // Builds Frame1, the navigation bar and the hidden controls as children of `window`.
    StatusEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // Frame1 and the navigation row (Text0, Slider1, "<<", ">>"), placed by the main window.
    QGroupBox* frame() const { return Frame1; }
    QWidget* navigationBar() const { return navigationBar_; }

    // The update of the status record: the form's texts, unchanged, into the record shown at
    // the position in Text0. Returns false, writing nothing, when Text0 names no monster.
    bool commitInto(MonsterDatabase& db) const;
    // Whether the form holds edits not yet committed into the shown record.
    bool hasUncommittedEdits() const;
    // The shown monster's key (Name, in Text2A), which the dependent tables refer to.
    QString shownKey() const;
    // Which box shows which field.
    const BindingTable& bindings() const { return bindings_; }
    // The caption the form shows beside the control of a status field (empty for none).
    QString captionOf(int field) const { return captions_.value(field); }
    // The captions of the fields the form holds edits of, not yet updated, in form order.
    QStringList editedCaptions() const;
    // The visible control that shows a bound control's value (a drop-down for a hidden code
    // box), where its edit is marked.
    QWidget* shownBy(QObject* control) const;
    // The status record the form shows, none before the first monster is shown.
    std::optional<qint32> shownStatusRecord() const { return shownRecord(); }

    // Start-up: the race, element and size lists (race and size then select row 0).
    void fillCodeLists();
    // Start-up: upper bound of the slider, the last selectable position.
    void setSliderMaximum(int maximum);
    // Writes `position` into Text0, whose Change clamps it and shows that monster, as every
    // selector does.
    void showPosition(qint64 position);
    // Shows the monster at `position` (below 1: the one shown) again from its record, even when
    // it is the one shown, its key looked up again by every editor: after an undo.
    void showAfresh(qint64 position);

    // The Click of ">>" and "<<", also run by the menu entries mnuNext and mnuBack.
    void stepNext();
    void stepBack();

signals:
    // A record's display name is being shown; the drop editor shows it under "NameID".
    void displayNameShown(const QString& displayName);
    // The Change of Text2A: the shown monster's key is now `key`, shown or typed.
    void shownKeyChanged(const QString& key);
    // The ID search (byName false) or the name search found no monster for `text`.
    void searchFoundNothing(bool byName, const QString& text);
    // A search found its monster, or its box was emptied.
    void searchFound(bool byName);
    // Another record is about to be shown over the one the form holds (and its edits).
    void leavingRecord();

private:
    // Copies status record `record` into the form, field by field (LoadStatusRecord, step 7).
    void showRecord(qint32 record);

    // The Change of Text0: clamps the position, moves the other selectors, fills the form.
    void LoadStatusRecord();
    void NormaliseNumberField(QLineEdit* box);
    void SyncCombosFromFields();
    void BoxesFromMode();
    void ModeFromBoxes();

    void buildFrame(QWidget* window);
    QGroupBox* buildModeFrame();
    void buildNavigationBar(QWidget* window);
    void buildHiddenControls(QWidget* window);
    void connectNavigation();
    void connectForm();
    void connectModeFlags();

    // Event handlers of the selectors (StatusNavigation.cpp).
    void onText0LostFocus();
    void onSliderValueChanged(int value);
    void onList4Click();
    void onCombo5Click(int index);
    void onList3Click();
    void onIdSearch();
    void onNameSearch();

    // Event handlers of the form (StatusForm.cpp).
    void onText3Change();
    void onText4LostFocus();
    void onCombo4Click(int index);
    void onCombo2Click(int index);
    void onCombo3Click(int index);

    // The record shown at the position in Text0, as the commit computes it; nullopt when the
    // text names no monster.
    std::optional<qint32> shownRecord() const;

    // The controls, named as the form names them (each objectName likewise, for findChild).
    QGroupBox* Frame1 = nullptr;
    QWidget* navigationBar_ = nullptr;

    QLineEdit* Text0 = nullptr;
    QSlider* Slider1 = nullptr;
    QPushButton* Command14 = nullptr;  // "<<"
    QPushButton* Command15 = nullptr;  // ">>"
    ListBox* List4 = nullptr;
    QComboBox* Combo5 = nullptr;
    QLineEdit* Text9 = nullptr;   // ID search
    QLineEdit* Text10 = nullptr;  // name search

    std::array<QLineEdit*, 26> Text1{};  // 1..18 and 22..25 visible; 20, 21 hidden; 0, 19 unused
    QLineEdit* Text2A = nullptr;         // Name; its Change is shownKeyChanged
    QLineEdit* Text3 = nullptr;          // hidden: size code
    QLineEdit* Text4 = nullptr;          // DisplayName
    QLineEdit* Text7 = nullptr;          // Mode
    std::array<QCheckBox*, 7> Check1{};
    QComboBox* Combo2 = nullptr;  // race
    QComboBox* Combo3 = nullptr;  // element
    QComboBox* Combo4 = nullptr;  // size

    // Hidden controls.
    QWidget* hiddenFrame = nullptr;
    HiddenList* List3 = nullptr;     // Ids, searched by the ID search
    HiddenLabel* Label7 = nullptr;   // row found by the ID search
    HiddenLabel* Label10 = nullptr;  // row found by the name search
    QLabel* Label1 = nullptr;        // Id of the shown record

    MonsterDatabase& db_;
    MirrorModels& models_;
    BindingTable bindings_;
    QHash<int, QString> captions_;       // by status field
    QHash<QObject*, QWidget*> shownBy_;  // hidden code boxes and their drop-downs

    ColumnModel* raceNames_ = nullptr;
    ColumnModel* elementNames_ = nullptr;
    ColumnModel* sizeNames_ = nullptr;

    // The slider is moved by LoadStatusRecord itself; only the user's moves are its Scroll.
    bool movingSlider_ = false;
    // BoxesFromMode sets the boxes to the pattern of a value Text7 already holds, so the
    // boxes' own clicks must not rebuild Text7 from a half-set pattern.
    bool applyingModePattern_ = false;
};

}  // namespace mdb
