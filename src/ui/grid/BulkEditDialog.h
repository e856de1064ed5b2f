#pragma once

#include <QDialog>
#include <functional>

#include "ui/grid/BulkEdit.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace mdb {

// 値を設定 / 加算 / 倍率 over the chosen cells of one number column, with a preview of what the
// change would do, recomputed as the user types; OK applies exactly the plan previewed.
class BulkEditDialog : public QDialog {
    Q_OBJECT
public:
    using Planner = std::function<BulkPlan(BulkOp op, double operand)>;
    BulkEditDialog(const QString& columnCaption, int cells, Planner planner,
                   QWidget* parent = nullptr);

    // The plan of the operation and operand shown; empty while the operand is no number.
    const BulkPlan& plan() const { return plan_; }

private:
    void replan();

    Planner planner_;
    QComboBox* op_;
    QLineEdit* operand_;
    QLabel* preview_;
    QDialogButtonBox* buttons_;
    BulkPlan plan_;
};

}  // namespace mdb
