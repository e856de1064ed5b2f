#include "ui/grid/GridColumns.h"

#include "model/FieldText.h"
#include "model/NumericText.h"
#include "model/TableDescriptor.h"
#include "model/ValueRules.h"
#include "ui/editors/RelatedMonsterEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The rule of a field's form box, told by its role: the forms settle typed values by role, so
// a table added to the registry gets the same rules here with no word in this file.
GridColumn columnFor(const TableDescriptor& table, int field) {
    const FieldDescriptor& described = table.field(field);
    GridColumn column{field, described.caption,
                      described.isNumeric() ? CellKind::Number : CellKind::Text, CellRule::ReadOnly,
                      described.limit};
    if (described.picked) return column;
    switch (described.role) {
        case FieldRole::Key:
        case FieldRole::MonsterReference:
            break;  // chosen from the monster lists
        case FieldRole::Text:
            column.rule = CellRule::FreeText;
            break;
        case FieldRole::ItemReference:
            column.rule = CellRule::Number;
            break;
        case FieldRole::Rate:
        case FieldRole::Number:
            column.rule = described.limit > 0 ? CellRule::UpToLimit : CellRule::Number;
            break;
        case FieldRole::Count:
            column.rule = described.countRule == CountRule::AtLeastOne  ? CellRule::AtLeastOne
                          : described.countRule == CountRule::UpToLimit ? CellRule::LimitedCount
                                                                        : CellRule::Number;
            break;
    }
    return column;
}

}  // namespace

std::vector<GridColumn> gridColumnsOf(TableId id) {
    const TableDescriptor& table = Tables::of(id);
    const TableDescriptor& status = Tables::of(TableId::Status);
    const int key = table.fieldsOf(FieldRole::Key).front();
    // the status table shows its own display name; the others look up their monster's
    const int ownName = id == TableId::Status ? int(StatusField::DisplayName) : 0;
    std::vector<GridColumn> columns{columnFor(table, key)};
    if (ownName) {
        columns.push_back(columnFor(table, ownName));
    } else {
        columns.push_back(
            {0, status.caption(StatusField::DisplayName), CellKind::Text, CellRule::ReadOnly});
    }
    for (int f = 1; f <= table.fieldCount(); ++f) {
        if (f != key && f != ownName) columns.push_back(columnFor(table, f));
    }
    return columns;
}

qint32 firstShownRecord(TableId id) {
    return id == TableId::Status ? 2 : 1;
}

CellVerdict judgeCellText(const GridColumn& column, const QString& typed) {
    const CellRule rule = column.rule;
    CellVerdict verdict;
    if (rule == CellRule::ReadOnly) {
        verdict.refusal = u"この列は一覧では編集できません"_s;
        return verdict;
    }
    if (rule == CellRule::FreeText) {
        // as the display name box settles on leaving it
        verdict.text = trimBlanks(typed);
        if (verdict.text.isEmpty()) verdict.text = u"0"_s;
        verdict.accepted = true;
        return verdict;
    }
    QString text = trimBlanks(typed);
    // an emptied box becomes 0 at once in every form
    if (text.isEmpty()) text = u"0"_s;
    // The forms turn anything else that is not a number into 0 when the box is left; in a grid
    // of many cells a slip of the finger would zero a value unseen, so it is refused instead.
    if (!isValidNumber(text)) {
        verdict.refusal = u"「%1」は数値ではありません。数値を入力して下さい"_s.arg(typed);
        return verdict;
    }
    if (numericValue(text) < 0) {
        verdict.refusal = u"「%1」は負の数です。0 以上の数値を入力して下さい"_s.arg(typed);
        return verdict;
    }
    verdict.accepted = true;
    switch (rule) {
        case CellRule::UpToLimit:
            if (numericValue(text) > column.limit) text = QString::number(column.limit);
            break;
        case CellRule::AtLeastOne:
            text = NormalizeMorphCount(text);
            break;
        case CellRule::LimitedCount: {
            const LimitedCount settled = NormalizeLimitedCount(text);
            text = settled.text;
            verdict.limited = settled.limited;
            if (settled.limited) verdict.refusal = limitedCountMessage();
            break;
        }
        default:
            break;
    }
    verdict.text = text;
    return verdict;
}

}  // namespace mdb
