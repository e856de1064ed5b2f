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
    void onCombo14Click(int index);
    void onList14Click();
    void onList14BClick();
    void onPictureChosen(int number, bool checked);
    void showPictures();  // Command5.Click
    void hidePictures();  // Command7.Click
    void setPicturesEnabled(bool enabled);
    void enabledChanged(bool enabled) override;

    ColumnModel* stateLabels_;
    ColumnModel* stateNames_;
    QGridLayout* grid_ = nullptr;
    QSpacerItem* clearance_ = nullptr;  // the corner the drop frame covers

    QComboBox* Combo14 = nullptr;   // monster by display name
    QComboBox* Combo14B = nullptr;  // AI state label
    QLineEdit* Text14 = nullptr;    // emotion number
    std::array<QToolButton*, 48> Option1{};
    QButtonGroup* emotionGroup = nullptr;
    QPushButton* Command5 = nullptr;  // "表示するエモーション": enables the pictures
    QPushButton* Command7 = nullptr;  // the same caption: disables them
    HiddenList* List14 = nullptr;     // status Names, row for row with Combo14
    HiddenList* List14B = nullptr;    // AI state names, row for row with Combo14B
};

}  // namespace mdb
