#pragma once

#include <array>

#include "model/MonsterDatabase.h"
#include "ui/controls/HiddenList.h"
#include "ui/editors/DependentEditor.h"
#include "ui/models/MirrorModels.h"

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
class EmoteEditor : public DependentEditor {
    Q_OBJECT
public:
    EmoteEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window);

    // Start-up: the AI state labels and names, both left without a selection.
    void fillCodeLists();
    // The drop frame lies over the top left of this frame, `size` pixels from its corner:
    // the controls stay to its right and the pictures below it.
    void keepClear(const QSize& size);

private:
    void buildFrame(MirrorModels& models, QWidget* window);
    QWidget* buildPictures(QWidget* frame);
    void bindFields();
    void connectControls();
    void NormalizeEmotion();  // Text14.Change
    void onMonsterChosen(int index);
    void onMonsterRowFound();
    void onStateRowFound();
    void onPictureChosen(int number, bool checked);
    void showPictures();  // Command5.Click
    void hidePictures();  // Command7.Click
    void setPicturesEnabled(bool enabled);
    void enabledChanged(bool enabled) override;

    ColumnModel* stateLabels_;
    ColumnModel* stateNames_;
    QGridLayout* grid_ = nullptr;
    QSpacerItem* clearance_ = nullptr;  // the corner the drop frame covers

    QComboBox* monsterCombo_ = nullptr;              // Combo14: monster by display name
    QComboBox* stateCombo_ = nullptr;                // Combo14B: AI state label
    QLineEdit* emotionBox_ = nullptr;                // Text14: emotion number
    std::array<QToolButton*, 48> pictureButtons_{};  // Option1
    QButtonGroup* emotionGroup_ = nullptr;
    QPushButton* showPicturesButton_ =
        nullptr;  // Command5 "表示するエモーション": enables the pictures
    QPushButton* hidePicturesButton_ = nullptr;  // Command7, the same caption: disables them
    HiddenList* monsterNames_ = nullptr;         // List14: status Names, row for row with Combo14
    HiddenList* stateList_ = nullptr;  // List14B: AI state names, row for row with Combo14B
};

}  // namespace mdb
