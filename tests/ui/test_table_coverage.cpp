// Every table of the registry reaches the user whole: an editor whose frame carries the table's
// title at a designed place, an add command with its messages and menu entry, a binding for
// every field, and each box captioned with its field's caption.
#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <map>

#include "EditorFixture.h"
#include "ui/editors/DependentEditor.h"
#include "ui/layout/WindowLayout.h"
#include "ui/status/StatusEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

// The caption the user reads beside a control: the label in the grid cell to its left.
QString captionBeside(const QWidget* control) {
    const auto* grid = qobject_cast<QGridLayout*>(control->parentWidget()->layout());
    if (!grid) return u"<no grid>"_s;
    const int index = grid->indexOf(control);
    if (index < 0) return u"<not in its frame's grid>"_s;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    const QLayoutItem* item = column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
    const auto* label = item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
    return label ? label->text() : u"<no caption>"_s;
}

std::set<int> boundFields(const BindingTable& bindings) {
    std::set<int> fields;
    for (const BindingTable::Binding& b : bindings.bindings()) fields.insert(b.field);
    return fields;
}

}  // namespace

using TableCoverage = EditorFixture;

// A table forgotten in the window (no editor, no frame, no add message or menu entry, a field
// without a binding) fails here, whatever the rest of the suite does.
TEST_F(TableCoverage, EveryTableHasItsFrameAddCommandAndABindingForEachField) {
    startSample();
    MainWindow& w = *window;
    std::map<TableId, const EditorRegistry::Entry*> entries;
    for (const EditorRegistry::Entry& entry : w.editors().entries()) {
        EXPECT_TRUE(entries.emplace(entry.editor->tableId(), &entry).second)
            << "two editors of one table";
    }
    QStringList designed;
    for (const auto& frame : WindowLayout::designedFrames()) {
        designed << QString::fromUtf16(frame.frame);
    }
    const QList<QAction*> addMenu = control<QMenu>(u"mnuInsMaster"_s)->actions();
    QSet<QAction*> addActions;

    for (const TableId id : kTableIds) {
        SCOPED_TRACE(testing::PrintToString(id));
        const TableDescriptor& d = Tables::of(id);
        QList<QGroupBox*> titled;
        for (QGroupBox* frame : w.findChildren<QGroupBox*>()) {
            if (frame->title() == d.frameTitle) titled << frame;
        }
        ASSERT_EQ(titled.size(), 1) << "frames titled " << d.frameTitle.toStdString();
        EXPECT_TRUE(designed.contains(titled[0]->objectName())) << "frame without a place";

        std::set<int> bound;
        if (id == TableId::Status) {
            EXPECT_EQ(titled[0]->objectName(), u"Frame1"_s);
            bound = boundFields(statusEditor().bindings());
        } else {
            ASSERT_TRUE(entries.count(id)) << "no editor";
            const DependentEditor& editor = *entries[id]->editor;
            EXPECT_EQ(editor.frame(), titled[0]);
            const AddMessages& add = editor.addMessages();
            EXPECT_FALSE(add.exists.isEmpty());
            EXPECT_FALSE(add.added.isEmpty());
            EXPECT_FALSE(add.then.isEmpty());
            EXPECT_NE(editor.addButton(), nullptr);
            QAction* entry = entries[id]->addEntry;
            EXPECT_TRUE(entry && addMenu.contains(entry)) << "no DB項目追加 entry";
            EXPECT_FALSE(addActions.contains(entry)) << "an add entry shared by two tables";
            addActions.insert(entry);
            bound = boundFields(editor.bindings());
            // a new line takes the shown monster's key where the editor does not show its own
            bound.insert(d.fieldsOf(FieldRole::Key).front());
        }
        for (int f = 1; f <= d.fieldCount(); ++f) {
            EXPECT_TRUE(bound.count(f)) << "no control holds " << d.field(f).name.toStdString();
        }
        EXPECT_TRUE(bound.empty() || *bound.rbegin() <= d.fieldCount());
    }
    EXPECT_EQ(entries.size(), kTableCount - 1) << "an editor of no table";
}

// The status form's boxes each sit beside their field's caption, the mode flags in a frame
// titled with the mode's caption: a box placed beside its neighbour's caption fails here.
TEST_F(TableCoverage, StatusBoxesSitBesideTheirFieldsCaptions) {
    startSample();
    const TableDescriptor& d = Tables::status();
    QWidget* form = control<QWidget>(u"Frame1"_s);
    int checked = 0;
    for (const BindingTable::Binding& b : statusEditor().bindings().bindings()) {
        const auto* box = qobject_cast<const QLineEdit*>(b.control);
        if (!box || !box->isVisibleTo(form) || !form->isAncestorOf(box)) continue;
        SCOPED_TRACE(box->objectName().toStdString());
        if (b.field == StatusField::Mode) {
            EXPECT_EQ(qobject_cast<QGroupBox*>(box->parentWidget())->title(), d.caption(b.field));
        } else {
            EXPECT_EQ(captionBeside(box), d.caption(b.field));
        }
        ++checked;
    }
    // the codes and the ID are chosen in drop-downs that stand for their hidden boxes
    const std::pair<int, const char16_t*> pickers[] = {{StatusField::Id, u"Combo5"},
                                                       {StatusField::Size, u"Combo4"},
                                                       {StatusField::Race, u"Combo2"},
                                                       {StatusField::Element, u"Combo3"}};
    for (const auto& [field, name] : pickers) {
        EXPECT_EQ(captionBeside(control<QWidget>(QString::fromUtf16(name))), d.caption(field));
        ++checked;
    }
    EXPECT_EQ(checked, d.fieldCount()) << "a field of the form left unchecked";
}

}  // namespace mdb::test
