#include "ui/editors/MvpEditor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/controls/ComboBox.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

MvpEditor::MvpEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : QObject(window), db_(db) {
    Frame5 = makeFrame(u"Frame5"_s, u"モンスターＭＶＰ ＤＢ 編集項目　(mob_mvp_db.txt)"_s, window);
    makeLabel(u"MVPモンスター名"_s, Frame5, 8, 20, 110);
    Combo8A = makeComboBox(u"Combo8A"_s, models.statusDisplayNamesClear, Frame5, 12);
    Combo8A->setGeometry(120, 20, 200, 20);

    // rows top to bottom in the field order of the record
    struct Row {
        QString caption;
        bool isItem;
        int index;
        QString unit;
    };
    const std::array<Row, 10> rows{{{u"取得アイテム１"_s, true, 0, {}},
                                    {u"取得アイテム２"_s, true, 1, {}},
                                    {u"特別経験値"_s, false, 0, {}},
                                    {u"経験値獲得率"_s, false, 1, u"/100000 ?"_s},
                                    {u"特別アイテム＃１"_s, true, 2, {}},
                                    {u"獲得率＃１"_s, false, 2, u"/10000"_s},
                                    {u"特別アイテム＃２"_s, true, 3, {}},
                                    {u"獲得率＃２"_s, false, 3, u"/10000"_s},
                                    {u"特別アイテム＃３"_s, true, 4, {}},
                                    {u"獲得率＃３"_s, false, 4, u"/10000"_s}}};
    int y = 44;
    for (const Row& row : rows) {
        makeLabel(row.caption, Frame5, 8, y, 110);
        if (row.isItem) {
            Text8A[row.index] = makeTextBox(indexed(u"Text8A"_s, row.index), Frame5, 120, y, 60);
            Combo8[row.index] =
                makeComboBox(indexed(u"Combo8"_s, row.index), models.itemNames, Frame5, 10);
            Combo8[row.index]->setGeometry(184, y, 140, 20);
        } else {
            Text8[row.index] = makeTextBox(indexed(u"Text8"_s, row.index), Frame5, 120, y, 90);
            if (!row.unit.isEmpty()) makeLabel(row.unit, Frame5, 214, y, 100);
        }
        y += 21;
    }
    Command9 = makeButton(u"Command9"_s, u"新しい項目を追加"_s, Frame5, 184, y + 2, 140);
    Command9->hide();

    Frame6 = makeFrame(u"Frame6"_s, u"Frame6"_s, window);
    Frame6->hide();
    List8B = new HiddenList(u"List8B"_s, Frame6, models.statusNames);
    List8A = new HiddenList(u"List8A"_s, Frame6, models.mvpKeys);
    for (int i = 0; i < 5; ++i)
        List8[i] = new HiddenList(indexed(u"List8"_s, i), Frame6, models.itemIds);
    Label8A = new HiddenLabel(u"Label8A"_s, Frame6);

    for (int i = 0; i < 5; ++i) {
        selectAllOnFocus(Text8A[i]);
        selectAllOnFocus(Text8[i]);
    }
}

}  // namespace mdb
