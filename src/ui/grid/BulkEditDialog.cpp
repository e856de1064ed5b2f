#include "ui/grid/BulkEditDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/NumericText.h"

namespace mdb {

using namespace Qt::StringLiterals;

BulkEditDialog::BulkEditDialog(const QString& columnCaption, int cells, Planner planner,
                               QWidget* parent)
    : QDialog(parent), planner_(std::move(planner)) {
    setObjectName(u"BulkEditDialog"_s);
    setWindowTitle(u"一括編集 — %1"_s.arg(columnCaption));
    op_ = new QComboBox(this);
    op_->setObjectName(u"bulkOp"_s);
    op_->addItem(u"値を設定"_s, int(BulkOp::Set));
    op_->addItem(u"加算"_s, int(BulkOp::Add));
    op_->addItem(u"倍率"_s, int(BulkOp::Multiply));
    operand_ = new QLineEdit(this);
    operand_->setObjectName(u"bulkValue"_s);
    preview_ = new QLabel(this);
    preview_->setObjectName(u"bulkPreview"_s);
    preview_->setTextFormat(Qt::PlainText);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(u"適用"_s);
    buttons_->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);

    auto* form = new QFormLayout(this);
    form->addRow(u"列"_s, new QLabel(u"%1（%2 セル）"_s.arg(columnCaption).arg(cells), this));
    form->addRow(u"操作(&O)"_s, op_);
    form->addRow(u"値(&V)"_s, operand_);
    form->addRow(preview_);
    form->addRow(buttons_);

    connect(op_, &QComboBox::currentIndexChanged, this, &BulkEditDialog::replan);
    connect(operand_, &QLineEdit::textChanged, this, &BulkEditDialog::replan);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    operand_->setFocus();
    replan();
}

void BulkEditDialog::replan() {
    const QString text = operand_->text().trimmed();
    QPushButton* ok = buttons_->button(QDialogButtonBox::Ok);
    if (text.isEmpty() || !isValidNumber(text)) {
        plan_ = {};
        preview_->setText(text.isEmpty() ? u"値を入力して下さい"_s
                                         : u"「%1」は数値ではありません"_s.arg(text));
        ok->setEnabled(false);
        return;
    }
    plan_ = planner_(BulkOp(op_->currentData().toInt()), numericValue(text));
    preview_->setText(describePlan(plan_));
    ok->setEnabled(!plan_.cells.empty());
}

}  // namespace mdb
