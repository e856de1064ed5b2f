#include "ui/editors/DropEditor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/controls/ComboBox.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

DropEditor::DropEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : QObject(window), db_(db) {
    Frame2 =
        makeFrame(u"Frame2"_s, u"モンスタードロップＤＢ 編集項目　(mob_drop_db.txt)"_s, window);
    makeLabel(u"NameID"_s, Frame2, 8, 18, 50);
    Text13 = makeTextBox(u"Text13"_s, Frame2, 60, 18, 180);
    Text13->setReadOnly(true);
    makeLabel(u"ドロップ率は１／１００００計算です"_s, Frame2, 250, 18, 240);
    const QStringList digits{u"１"_s, u"２"_s, u"３"_s, u"４"_s,
                             u"５"_s, u"６"_s, u"７"_s, u"８"_s};
    for (int i = 0; i < 8; ++i) {
        const int column = i / 4;
        const int x = 8 + column * 392;
        const int y = 40 + (i % 4) * 20;
        makeLabel(digits[i], Frame2, x, y, 16);
        Combo1[i] = makeComboBox(indexed(u"Combo1"_s, i), models.itemNames, Frame2, 10);
        Combo1[i]->setGeometry(x + 18, y, 200, 20);
        Text5[i] = makeTextBox(indexed(u"Text5"_s, i), Frame2, x + 222, y, 70);
        Text6[i] = makeTextBox(indexed(u"Text6"_s, i), Frame2, x + 296, y, 60);
    }
    Command6 = makeButton(u"Command6"_s, u"このMobをDropData項目に追加"_s, Frame2, 560, 16, 220);
    Command6->hide();

    Frame3 = makeFrame(u"Frame3"_s, u"Frame3"_s, window);
    Frame3->hide();
    List1 = new HiddenList(u"List1"_s, Frame3, models.dropKeys);
    for (int i = 0; i < 8; ++i) {
        List2[i] = new HiddenList(indexed(u"List2"_s, i), Frame3, models.itemIds);
        Label5[i] = new HiddenLabel(indexed(u"Label5"_s, i), Frame3);
    }
    Label3 = new HiddenLabel(u"Label3"_s, Frame3);

    connect(List1, &HiddenList::Click, this, &DropEditor::showSelectedRecord);
    for (int i = 0; i < 8; ++i) {
        selectAllOnFocus(Text5[i]);
        selectAllOnFocus(Text6[i]);
    }
}

void DropEditor::showSelectedRecord() {
    const qint32 last = db_.DropTable.Count() - 1;
    if (List1->listIndex() > last) List1->setListIndex(last);
    const qint32 record = List1->listIndex() + 1;  // 0, the empty slot, when nothing is selected
    for (int i = 0; i < 8; ++i) {
        Text5[i]->setText(db_.DropTable.field(record, 2 + 2 * i));
        Text6[i]->setText(db_.DropTable.field(record, 3 + 2 * i));
    }
}

}  // namespace mdb
