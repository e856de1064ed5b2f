#include "ui/grid/GridEdits.h"

#include "model/MonsterDatabase.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

GridEdits::GridEdits(MonsterDatabase& db, UnsavedWork& work, MessageSink& messages, QObject* parent)
    : QObject(parent), db_(db), work_(work), messages_(messages) {}

Table* GridEdits::writable(const Table& table) const {
    for (Table* t : db_.loadOrder()) {
        if (t == &table) return t;
    }
    return nullptr;
}

bool GridEdits::mayChange(const std::vector<qint32>& monsters) {
    if (!guard_ || guard_(monsters)) return true;
    messages_.warning(
        u"一覧の編集"_s,
        MessageSink::joinLines(
            {u"メインウィンドウに、このモンスターの反映していない編集があります"_s,
             u"先に「更新」で反映するか、別のモンスターを表示してから編集して下さい"_s}));
    return false;
}

bool GridEdits::editCell(const Table& table, qint32 record, const GridColumn& column,
                         const QString& text, qint32 monster) {
    const int field = column.field;
    Table* target = writable(table);
    if (!target) return false;
    const CellVerdict verdict = judgeCellText(column, text);
    if (!verdict.accepted) {
        messages_.warning(u"入力エラー"_s, verdict.refusal);
        return false;
    }
    if (verdict.text == target->fieldView(record, field)) return false;
    if (!mayChange({monster})) return false;
    ChangeSet changes;
    {
        ChangeRecording recording(db_);
        target->setField(record, field, verdict.text);
        changes = recording.take();
    }
    // the count's form tells the user when the limit brought a number down; so does the grid,
    // once the value is in
    if (verdict.limited) messages_.notice(verdict.refusal);
    if (changes.empty()) return false;
    work_.recordUpdate(changes);
    emit updated(changes);
    return true;
}

bool GridEdits::applyPlan(const Table& table, int field, const BulkPlan& plan,
                          const std::vector<qint32>& monsters) {
    Table* target = writable(table);
    if (!target || plan.cells.empty()) return false;
    if (!mayChange(monsters)) return false;
    ChangeSet changes;
    {
        ChangeRecording recording(db_);
        for (const BulkPlan::Cell& cell : plan.cells)
            target->setField(cell.record, field, cell.after);
        changes = recording.take();
    }
    if (changes.empty()) return false;
    work_.recordUpdate(changes);
    emit updated(changes);
    return true;
}

}  // namespace mdb
