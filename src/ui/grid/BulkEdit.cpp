#include "ui/grid/BulkEdit.h"

#include <algorithm>

#include "model/NumericText.h"
#include "model/Table.h"
#include "model/TableQuery.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

void widen(bool& any, double& lo, double& hi, double v) {
    lo = any ? std::min(lo, v) : v;
    hi = any ? std::max(hi, v) : v;
    any = true;
}

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

}  // namespace

BulkPlan planBulkEdit(const Table& table, const std::vector<qint32>& records,
                      const GridColumn& column, BulkOp op, double operand) {
    BulkPlan plan;
    plan.selected = int(records.size());
    for (qint32 record : records) {
        const QStringView before = table.fieldView(record, column.field);
        double value = 0;
        const bool isNumber = cellNumber(before, value);
        if (isNumber) widen(plan.anyBefore, plan.minBefore, plan.maxBefore, value);
        if (!isNumber && op != BulkOp::Set) {
            ++plan.skipped;
            continue;
        }
        double result = op == BulkOp::Set   ? operand
                        : op == BulkOp::Add ? value + operand
                                            : value * operand;
        qint64 whole = roundHalfEven(result);
        bool clamped = false;
        if (whole < 0) {
            whole = 0;  // no number box of the forms takes a negative value
            clamped = true;
        }
        const CellVerdict verdict = judgeCellText(column, QString::number(whole));
        QString after = verdict.accepted ? verdict.text : QString::number(whole);
        if (verdict.accepted && after != QString::number(whole)) clamped = true;
        if (clamped) ++plan.clamped;
        widen(plan.anyAfter, plan.minAfter, plan.maxAfter, numericValue(after));
        if (after != before) plan.cells.push_back({record, after});
    }
    return plan;
}

QString describePlan(const BulkPlan& plan) {
    QStringList lines;
    lines << u"選択したセル: %1 件（変更されるセル: %2 件）"_s.arg(plan.selected)
                 .arg(plan.cells.size());
    if (plan.anyBefore) {
        lines << u"変更前: 最小 %1 ／ 最大 %2"_s.arg(numberText(plan.minBefore),
                                                     numberText(plan.maxBefore));
    }
    if (plan.anyAfter) {
        lines << u"変更後: 最小 %1 ／ 最大 %2"_s.arg(numberText(plan.minAfter),
                                                     numberText(plan.maxAfter));
    }
    if (plan.clamped) lines << u"上限・下限で値が抑えられるセル: %1 件"_s.arg(plan.clamped);
    if (plan.skipped) lines << u"数値でないため変更しないセル: %1 件"_s.arg(plan.skipped);
    return lines.join(u'\n');
}

}  // namespace mdb
