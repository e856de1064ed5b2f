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

// Choosing the shown monster and editing its status record: the position box (Text0) is the
// one selection state; every selector writes a position into it and its Change loads the record.
class StatusEditor : public QObject {
    Q_OBJECT
public:
    // Builds Frame1, the navigation bar and the hidden controls as children of `window`.
    StatusEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // Frame1 and the navigation row (Text0, Slider1, "<<", ">>"), placed by the main window.
    QGroupBox* frame() const { return frame_; }
    QWidget* navigationBar() const { return navigationBar_; }

    // The update of the status record: the form's texts, unchanged, into the record shown at
    // the position in positionBox_. Returns false, writing nothing, when positionBox_ names no
    // monster.
    bool commitInto(MonsterDatabase& db) const;
    // Whether the form holds edits not yet committed into the shown record.
    bool hasUncommittedEdits() const;
    // The shown monster's key (Name, in keyBox_), which the dependent tables refer to.
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
    // Writes `position` into positionBox_, whose Change clamps it and shows that monster, as every
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
    // The Change of keyBox_: the shown monster's key is now `key`, shown or typed.
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

    // The Change of positionBox_: clamps the position, moves the other selectors, fills the form.
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
    void onPositionBoxLeft();
    void onSliderScrolled(int value);
    void onNameChosen();
    void onIdChosen(int index);
    void onIdFound();
    void onIdSearch();
    void onNameSearch();

    // Event handlers of the form (StatusForm.cpp).
    void onSizeCodeChanged();
    void onDisplayNameLeft();
    void onSizeChosen(int index);
    void onRaceChosen(int index);
    void onElementChosen(int index);

    // The record shown at the position in positionBox_, as the commit computes it; nullopt when the
    // text names no monster.
    std::optional<qint32> shownRecord() const;

    // The controls, named for what they hold; each object name is the design's control name,
    // which tests, tools and the chain trace use.
    QGroupBox* frame_ = nullptr;  // Frame1
    QWidget* navigationBar_ = nullptr;

    QLineEdit* positionBox_ = nullptr;       // Text0
    QSlider* slider_ = nullptr;              // Slider1
    QPushButton* stepBackButton_ = nullptr;  // Command14 "<<"
    QPushButton* stepNextButton_ = nullptr;  // Command15 ">>"
    ListBox* nameList_ = nullptr;            // List4: display names
    QComboBox* idCombo_ = nullptr;           // Combo5: Ids
    QLineEdit* idSearchBox_ = nullptr;       // Text9
    QLineEdit* nameSearchBox_ = nullptr;     // Text10

    // By status field (Text1(1) to Text1(25)): Level to ChaseRange and MoveSpeed to
    // DamageMotion visible, the race and element codes hidden; null for the fields shown
    // otherwise.
    std::array<QLineEdit*, StatusField::Width + 1> numberBoxes_{};
    QLineEdit* keyBox_ = nullptr;                // Text2A: Name; its Change is shownKeyChanged
    QLineEdit* sizeCodeBox_ = nullptr;           // Text3, hidden
    QLineEdit* displayNameBox_ = nullptr;        // Text4
    QLineEdit* modeBox_ = nullptr;               // Text7
    std::array<QCheckBox*, 7> modeFlagBoxes_{};  // Check1
    QComboBox* raceCombo_ = nullptr;             // Combo2
    QComboBox* elementCombo_ = nullptr;          // Combo3
    QComboBox* sizeCombo_ = nullptr;             // Combo4

    // Hidden controls.
    QWidget* hiddenFrame_ = nullptr;
    HiddenList* idList_ = nullptr;           // List3: Ids, searched by the ID search
    HiddenLabel* idFoundLabel_ = nullptr;    // Label7: row found by the ID search
    HiddenLabel* nameFoundLabel_ = nullptr;  // Label10: row found by the name search
    QLabel* idLabel_ = nullptr;              // Label1: Id of the shown record

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
    // BoxesFromMode sets the boxes to the pattern of a value modeBox_ already holds, so the
    // boxes' own clicks must not rebuild modeBox_ from a half-set pattern.
    bool applyingModePattern_ = false;
};

}  // namespace mdb
