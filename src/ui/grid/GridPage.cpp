#include "ui/grid/GridPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "model/NumericText.h"
#include "ui/grid/FrozenGrid.h"
#include "ui/grid/GridModel.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

struct OpName {
    NumberCondition::Op op;
    QString text;
};
const std::vector<OpName>& opNames() {
    static const std::vector<OpName> names{
        {NumberCondition::Op::Equal, u"＝"_s},    {NumberCondition::Op::NotEqual, u"≠"_s},
        {NumberCondition::Op::Less, u"＜"_s},     {NumberCondition::Op::LessEqual, u"≦"_s},
        {NumberCondition::Op::Greater, u"＞"_s},  {NumberCondition::Op::GreaterEqual, u"≧"_s},
        {NumberCondition::Op::Between, u"範囲"_s}};
    return names;
}

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

}  // namespace

GridPage::GridPage(GridModel* model, QWidget* parent)
    : QWidget(parent), model_(model), grid_(new FrozenGrid(model, this)) {
    filterBox_ = new QLineEdit(this);
    filterBox_->setObjectName(u"gridFilter"_s);
    filterBox_->setClearButtonEnabled(true);
    scope_ = new QComboBox(this);
    scope_->setObjectName(u"gridScope"_s);
    scope_->addItems({u"キーと名前"_s, u"すべての列"_s});
    auto* filterLabel = new QLabel(u"絞り込み(&F)"_s, this);
    filterLabel->setBuddy(filterBox_);

    conditionColumn_ = new QComboBox(this);
    conditionColumn_->setObjectName(u"gridConditionColumn"_s);
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->kindOf(c) == CellKind::Number) conditionColumn_->addItem(model->captionOf(c), c);
    }
    conditionOp_ = new QComboBox(this);
    conditionOp_->setObjectName(u"gridConditionOp"_s);
    for (const OpName& name : opNames()) conditionOp_->addItem(name.text, int(name.op));
    conditionValue_ = new QLineEdit(this);
    conditionValue_->setObjectName(u"gridConditionValue"_s);
    conditionUpTo_ = new QLineEdit(this);
    conditionUpTo_->setObjectName(u"gridConditionUpTo"_s);
    conditionUpTo_->setPlaceholderText(u"上限（範囲のとき）"_s);
    auto* add = new QPushButton(u"条件を追加(&A)"_s, this);
    add->setObjectName(u"gridConditionAdd"_s);
    auto* clear = new QPushButton(u"条件を解除(&C)"_s, this);
    clear->setObjectName(u"gridConditionClear"_s);
    auto* conditionLabel = new QLabel(u"数値の条件(&N)"_s, this);
    conditionLabel->setBuddy(conditionColumn_);
    conditions_ = new QLabel(this);
    conditions_->setObjectName(u"gridConditions"_s);
    count_ = new QLabel(this);
    count_->setObjectName(u"gridCount"_s);
    auto* bulk = new QPushButton(u"一括編集(&B)..."_s, this);
    bulk->setObjectName(u"gridBulkEdit"_s);
    auto* exportButton = new QPushButton(u"CSV出力(&E)..."_s, this);
    exportButton->setObjectName(u"gridExport"_s);
    const bool conditionsPossible = conditionColumn_->count() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{
             conditionColumn_, conditionOp_, conditionValue_, conditionUpTo_, add, clear}) {
        w->setEnabled(conditionsPossible);
    }

    auto* controls = new QGridLayout;
    controls->addWidget(filterLabel, 0, 0);
    controls->addWidget(filterBox_, 0, 1, 1, 3);
    controls->addWidget(scope_, 0, 4);
    controls->addWidget(count_, 0, 5, 1, 2);
    controls->addWidget(conditionLabel, 1, 0);
    controls->addWidget(conditionColumn_, 1, 1);
    controls->addWidget(conditionOp_, 1, 2);
    controls->addWidget(conditionValue_, 1, 3);
    controls->addWidget(conditionUpTo_, 1, 4);
    controls->addWidget(add, 1, 5);
    controls->addWidget(clear, 1, 6);
    controls->addWidget(conditions_, 2, 1, 1, 4);
    controls->addWidget(bulk, 2, 5);
    controls->addWidget(exportButton, 2, 6);
    controls->setColumnStretch(1, 1);
    controls->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(grid_, 1);

    connect(filterBox_, &QLineEdit::textChanged, this, &GridPage::applyFilter);
    connect(scope_, &QComboBox::currentIndexChanged, this, &GridPage::applyFilter);
    connect(add, &QPushButton::clicked, this, &GridPage::addCondition);
    connect(conditionValue_, &QLineEdit::returnPressed, this, &GridPage::addCondition);
    connect(conditionUpTo_, &QLineEdit::returnPressed, this, &GridPage::addCondition);
    connect(clear, &QPushButton::clicked, this, &GridPage::clearConditions);
    connect(bulk, &QPushButton::clicked, this, &GridPage::bulkEditRequested);
    connect(exportButton, &QPushButton::clicked, this, &GridPage::exportRequested);
    connect(model, &GridModel::shownCountChanged, this, &GridPage::showCount);
    setTabOrder(filterBox_, scope_);
    setTabOrder(scope_, grid_->mainView());
    setFocusProxy(filterBox_);
    showCount(model->shownCount(), model->totalCount());
    conditions_->setText(conditionText());
}

void GridPage::applyFilter() {
    RowFilter filter;
    filter.text = filterBox_->text().trimmed();
    if (scope_->currentIndex() == 1) {
        for (int c = 0; c < model_->columnCount(); ++c) filter.textColumns.push_back(c);
    } else {
        filter.textColumns = {0, 1};
    }
    filter.conditions = conditionList_;
    model_->setFilter(filter);
}

bool GridPage::addCondition() {
    if (conditionColumn_->currentIndex() < 0) return false;
    NumberCondition condition;
    condition.column = conditionColumn_->currentData().toInt();
    condition.op = NumberCondition::Op(conditionOp_->currentData().toInt());
    const QString value = conditionValue_->text().trimmed();
    const QString upTo = conditionUpTo_->text().trimmed();
    if (!isValidNumber(value) ||
        (condition.op == NumberCondition::Op::Between && !isValidNumber(upTo))) {
        conditions_->setText(u"条件の値が数値ではありません"_s);
        return false;
    }
    condition.value = numericValue(value);
    condition.upTo = condition.op == NumberCondition::Op::Between ? numericValue(upTo) : 0;
    conditionList_.push_back(condition);
    conditions_->setText(conditionText());
    applyFilter();
    return true;
}

void GridPage::clearConditions() {
    conditionList_.clear();
    conditions_->setText(conditionText());
    applyFilter();
}

void GridPage::focusFilter() {
    filterBox_->setFocus(Qt::ShortcutFocusReason);
    filterBox_->selectAll();
}

void GridPage::showCount(int shown, int total) {
    count_->setText(u"%1 / %2 件"_s.arg(shown).arg(total));
}

QString GridPage::conditionText() const {
    if (conditionList_.empty()) return u"条件なし"_s;
    QStringList parts;
    for (const NumberCondition& c : conditionList_) {
        const QString caption = model_->captionOf(c.column);
        if (c.op == NumberCondition::Op::Between) {
            parts << u"%1 が %2～%3"_s.arg(caption, numberText(c.value), numberText(c.upTo));
        } else {
            parts << u"%1 %2 %3"_s.arg(caption, opNames()[size_t(c.op)].text, numberText(c.value));
        }
    }
    return parts.join(u"、 "_s);
}

}  // namespace mdb
