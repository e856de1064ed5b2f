#pragma once

#include <QObject>
#include <array>

#include "model/MonsterDatabase.h"
#include "ui/controls/BindingTable.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/MirrorModels.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QSpacerItem;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace mdb {

// The emotion record of the shown monster, or of any monster picked in Combo14: in which AI
// state the monster shows which of the 48 emotions.
class EmoteEditor : public QObject {
    Q_OBJECT
public:
    EmoteEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // Start-up: the AI state labels and names, both left without a selection.
    void fillCodeLists();
    // The drop frame lies over the top left of this frame, `size` pixels from its corner:
    // the controls stay to its right and the pictures below it.
    void keepClear(const QSize& size);

    // The shown monster's key changed: shows its first emotion record, or disables the editor.
    void keyLookup(const QString& key);
    // The update: monster, state and emotion into the emotion record selected in List14A;
    // nothing when no record is selected.
    void commitInto(MonsterDatabase& db) const;
    // Whether the controls hold edits not yet committed into the shown emotion record.
    bool hasUncommittedEdits() const;
    const BindingTable& bindings() const { return bindings_; }
    // A new emotion line: the monster and the state as chosen, and the emotion.
    QStringList newEntryFields() const;
    // The emotion record shown, 0 for none.
    qint32 shownRecord() const { return List14A->listIndex() + 1; }

    // Event handlers.
    void ShowEmoteRecord();      // List14A.Click
    void RefreshEmoteEnabled();  // Label14A.Change
    void NormalizeEmotion();     // Text14.Change

    QGroupBox* Frame1A = nullptr;
    QComboBox* Combo14 = nullptr;   // monster by display name
    QComboBox* Combo14B = nullptr;  // AI state label
    QLineEdit* Text14 = nullptr;    // emotion number
    std::array<QToolButton*, 48> Option1{};
    QButtonGroup* emotionGroup = nullptr;
    QPushButton* Command5 = nullptr;   // "表示するエモーション": enables the pictures
    QPushButton* Command7 = nullptr;   // the same caption: disables them
    QPushButton* Command10 = nullptr;  // add, advanced mode only

    HiddenList* List14 = nullptr;   // status Names, row for row with Combo14
    HiddenList* List14A = nullptr;  // emotion keys
    HiddenList* List14B = nullptr;  // AI state names, row for row with Combo14B
    HiddenLabel* Label14A = nullptr;

private:
    void buildFrame(MirrorModels& models, QWidget* window);
    QWidget* buildPictures();
    void bindFields();
    void connectControls();
    void onCombo14Click(int index);
    void onList14Click();
    void onList14BClick();
    void onPictureChosen(int number, bool checked);
    void showPictures();  // Command5.Click
    void hidePictures();  // Command7.Click
    void setPicturesEnabled(bool enabled);

    MonsterDatabase& db_;
    ColumnModel* stateLabels_;
    ColumnModel* stateNames_;
    BindingTable bindings_;
    QGridLayout* grid_ = nullptr;
    QSpacerItem* clearance_ = nullptr;  // the corner the drop frame covers
    QString currentKey_;
    // A record being shown; the lists it moves are no choice of the user's.
    bool showing_ = false;
    // The monster and the state were picked by the user since the record was shown. Until
    // then the commit keeps the record's own texts, so that a key spelled in another letter
    // case or a state that none of the nine names never changes unless the user changes it.
    bool monsterChosen_ = false;
    bool stateChosen_ = false;
};

}  // namespace mdb
