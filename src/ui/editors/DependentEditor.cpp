#include "ui/editors/DependentEditor.h"

#include <QLineEdit>
#include <QScopedValueRollback>

#include "model/ValueRules.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/KeyLookup.h"

namespace mdb {

DependentEditor::DependentEditor(const QString& instance, TableId table, AddMessages addMessages,
                                 MonsterDatabase& db, QObject* parent)
    : QObject(parent),
      instance_(instance),
      table_(table),
      addMessages_(std::move(addMessages)),
      db_(db) {}

void DependentEditor::setParts(QGroupBox* frame, QPushButton* addButton, HiddenList* keyList,
                               HiddenLabel* keyLabel) {
    frame_ = frame;
    addButton_ = addButton;
    keyList_ = keyList;
    keyLabel_ = keyLabel;
}

void DependentEditor::addBoxRow(int field, Role role, QLineEdit* box,
                                std::vector<QWidget*> pickers) {
    pickers.insert(pickers.begin(), box);
    rows_.push_back({field, role, descriptor().caption(field), box, std::move(pickers), true});
    bindings_.bind(field, box);
}

void DependentEditor::addListRow(int field, Role role, HiddenList* list,
                                 std::vector<QWidget*> pickers, bool committed) {
    rows_.push_back(
        {field, role, descriptor().caption(field), list, std::move(pickers), committed});
    const auto show = [list](const QString& text) {
        FindListEntry(*list, text, MatchMode::WholeText);
    };
    if (!committed) {
        bindings_.bindShowOnly(field, list, show);
        return;
    }
    bindings_.bind({field, list,
                    [this, list, field] {
                        return keptUnlessChosen(table().field(shownRecord(), field), list->text(),
                                                chosen_.contains(field));
                    },
                    show});
}

void DependentEditor::connectKeyControls() {
    connect(keyList_, &HiddenList::Click, this, &DependentEditor::ShowSelectedRecord);
    connect(keyLabel_, &HiddenLabel::Change, this, &DependentEditor::RefreshEnabled);
    // no record is shown until the first monster's key is looked up
    RefreshEnabled();
}

void DependentEditor::markChosen(int field) {
    if (!showing_) chosen_.insert(field);
}

void DependentEditor::keyLookup(const QString& key) {
    currentKey_ = key;
    lookUpKey(*keyList_, *keyLabel_, key);
}

QString DependentEditor::keyCaption() const {
    return keyLabel_->caption();
}

qint32 DependentEditor::shownRecord() const {
    return keyList_->listIndex() + 1;
}

void DependentEditor::commitInto(MonsterDatabase& db) const {
    bindings_.commitInto(db.table(table_), shownRecord());
}

bool DependentEditor::hasUncommittedEdits() const {
    return shownRecord() >= 1 && bindings_.differsFrom(table(), shownRecord());
}

QStringList DependentEditor::newEntryFields(const QString& currentKey) const {
    QStringList fields;
    for (int f = 1; f <= descriptor().width; ++f) fields << (f == 1 ? currentKey : QString());
    for (const Row& row : rows_) {
        if (const auto* box = qobject_cast<const QLineEdit*>(row.holder)) {
            fields[row.field - 1] = box->text();
        } else if (const auto* list = qobject_cast<const HiddenList*>(row.holder)) {
            fields[row.field - 1] = list->text();
        }
    }
    return fields;
}

std::vector<QWidget*> DependentEditor::controlsOf(bool numbers) const {
    QSet<QWidget*> numberControls;
    for (const Row& row : rows_) {
        if (row.role != Role::Number) continue;
        for (QWidget* control : row.controls) numberControls.insert(control);
    }
    std::vector<QWidget*> result;
    for (QWidget* control : controls_) {
        if (numberControls.contains(control) == numbers) result.push_back(control);
    }
    return result;
}

void DependentEditor::ShowSelectedRecord() {
    MDB_CHAIN_ON(keyList_, "Click ShowSelectedRecord");
    const qint32 last = table().Count() - 1;
    if (keyList_->listIndex() > last) keyList_->setListIndex(last);
    const QScopedValueRollback guard(showing_, true);
    // picks made for the record shown before are no picks for this one
    chosen_.clear();
    beforeShow(shownRecord());
    // with no selection this is position 0, which holds no record: every control shows empty
    bindings_.showRecord(table(), shownRecord());
}

void DependentEditor::RefreshEnabled() {
    MDB_CHAIN_ON(keyLabel_, "Change RefreshEnabled");
    const QString key = keyLabel_->caption();
    if (key.isEmpty()) {
        enabledChanged(false);
        setControlsEnabled(false);
    }
    // a key that is neither empty nor the shown monster's (exactly, letter case too) leaves
    // the editor as it was
    if (!key.isEmpty() && key == currentKey_) {
        enabledChanged(true);
        setControlsEnabled(true);
    }
    if (key.isEmpty()) keyList_->setListIndex(-1);
}

void DependentEditor::setControlsEnabled(bool enabled) {
    for (QWidget* control : controls_) control->setEnabled(enabled);
}

}  // namespace mdb
