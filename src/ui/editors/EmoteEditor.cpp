#include "ui/editors/EmoteEditor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "model/CodeTables.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

EmoteEditor::EmoteEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : QObject(window),
      db_(db),
      stateLabels_(new ColumnModel(this)),
      stateNames_(new ColumnModel(this)) {
    // the caption is pushed right so that it shows beside the drop frame drawn over this one
    Frame1A = makeFrame(u"Frame1A"_s, QString(157, u' ') + u"エモーションDB (mob_emote_db.txt)"_s,
                        window);
    const int left = 800;  // right of the drop frame
    makeLabel(u"名前"_s, Frame1A, left, 22, 40);
    Combo14 = makeComboBox(u"Combo14"_s, models.statusDisplayNamesChoose, Frame1A, 10);
    Combo14->setGeometry(left + 40, 22, 160, 20);
    makeLabel(u"状況"_s, Frame1A, left, 46, 40);
    Combo14B = makeComboBox(u"Combo14B"_s, stateLabels_, Frame1A, 8);
    Combo14B->setGeometry(left + 40, 46, 110, 20);
    Text14 = makeTextBox(u"Text14"_s, Frame1A, left + 154, 46, 46);
    Command10 = makeButton(u"Command10"_s, u"新しい項目を追加"_s, Frame1A, left + 40, 70, 160);
    Command10->hide();

    emotionGroup = new QButtonGroup(this);
    emotionGroup->setExclusive(true);
    for (int i = 0; i < 48; ++i) {
        auto* button = new QToolButton(Frame1A);
        button->setObjectName(indexed(u"Option1"_s, i));
        button->setCheckable(true);
        button->setText(QString::number(i));
        button->setGeometry(8 + (i % 24) * 41, 128 + (i / 24) * 34, 40, 32);
        emotionGroup->addButton(button, i);
        Option1[i] = button;
    }

    List14 = new HiddenList(u"List14"_s, Frame1A, models.statusNames);
    List14A = new HiddenList(u"List14A"_s, Frame1A, models.emoteKeys);
    List14B = new HiddenList(u"List14B"_s, Frame1A, stateNames_);
    Label14A = new HiddenLabel(u"Label14A"_s, Frame1A);
    selectAllOnFocus(Text14);
}

void EmoteEditor::fillCodeLists() {
    stateLabels_->appendRows(EmoteStateLabels());
    Combo14B->setCurrentIndex(-1);
    stateNames_->appendRows(EmoteStateNames());
    List14B->setListIndex(-1);
}

}  // namespace mdb
