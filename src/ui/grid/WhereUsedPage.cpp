#include "ui/grid/WhereUsedPage.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "model/TableQuery.h"
#include "ui/controls/KeyIndex.h"

namespace mdb {

using namespace Qt::StringLiterals;

WhereUsedPage::WhereUsedPage(const MonsterDatabase& db, const ItemDatabase& items, QWidget* parent)
    : QWidget(parent), db_(db), items_(items) {
    itemBox_ = new QLineEdit(this);
    itemBox_->setObjectName(u"whereItem"_s);
    itemBox_->setPlaceholderText(u"アイテムID または アイテム名"_s);
    monsterBox_ = new QLineEdit(this);
    monsterBox_->setObjectName(u"whereMonster"_s);
    monsterBox_->setPlaceholderText(u"モンスターのキー（Name）"_s);
    auto* itemLabel = new QLabel(u"アイテム(&I)"_s, this);
    itemLabel->setBuddy(itemBox_);
    auto* monsterLabel = new QLabel(u"モンスター(&M)"_s, this);
    monsterLabel->setBuddy(monsterBox_);
    auto* findItemButton = new QPushButton(u"ドロップする場所を検索"_s, this);
    findItemButton->setObjectName(u"whereItemFind"_s);
    auto* findMonsterButton = new QPushButton(u"召喚・変態・取り巻きを検索"_s, this);
    findMonsterButton->setObjectName(u"whereMonsterFind"_s);
    summary_ = new QLabel(this);
    summary_->setObjectName(u"whereSummary"_s);
    results_ = new QTableWidget(0, 6, this);
    results_->setObjectName(u"whereResults"_s);
    results_->setHorizontalHeaderLabels(
        {u"モンスター"_s, u"表示モンスター名"_s, u"ファイル"_s, u"枠"_s, u"値"_s, u"確率"_s});
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->setTabKeyNavigation(false);
    results_->verticalHeader()->hide();
    results_->installEventFilter(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(itemLabel, 0, 0);
    layout->addWidget(itemBox_, 0, 1);
    layout->addWidget(findItemButton, 0, 2);
    layout->addWidget(monsterLabel, 1, 0);
    layout->addWidget(monsterBox_, 1, 1);
    layout->addWidget(findMonsterButton, 1, 2);
    layout->addWidget(summary_, 2, 0, 1, 3);
    layout->addWidget(results_, 3, 0, 1, 3);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(1, 1);

    connect(itemBox_, &QLineEdit::returnPressed, this, &WhereUsedPage::findItem);
    connect(findItemButton, &QPushButton::clicked, this, &WhereUsedPage::findItem);
    connect(monsterBox_, &QLineEdit::returnPressed, this, &WhereUsedPage::findMonster);
    connect(findMonsterButton, &QPushButton::clicked, this, &WhereUsedPage::findMonster);
    connect(results_, &QTableWidget::cellDoubleClicked, this, [this](int row) { choose(row); });
    setFocusProxy(itemBox_);
}

QString WhereUsedPage::itemName(QStringView id) const {
    double wanted = 0;
    const bool number = cellNumber(id, wanted);
    for (const ItemTable* table : items_.loadOrder()) {
        for (qint32 r = 1; r <= table->Count(); ++r) {
            double v = 0;
            const QStringView itemId = table->ItemIdView(r);
            if (number ? cellNumber(itemId, v) && v == wanted : itemId == id) {
                return table->ItemNameView(r).toString();
            }
        }
    }
    return {};
}

void WhereUsedPage::findItem() {
    QString id = itemBox_->text().trimmed();
    double unused = 0;
    if (!id.isEmpty() && !cellNumber(id, unused)) {
        // a name: the first item of the loaded tables that bears it, else the first whose name
        // contains it
        QString found;
        for (int pass = 0; pass < 2 && found.isEmpty(); ++pass) {
            for (const ItemTable* table : items_.loadOrder()) {
                for (qint32 r = 1; r <= table->Count() && found.isEmpty(); ++r) {
                    const QStringView name = table->ItemNameView(r);
                    const bool hit = pass == 0 ? name.compare(id, Qt::CaseInsensitive) == 0
                                               : name.contains(id, Qt::CaseInsensitive);
                    if (hit) found = table->ItemIdView(r).toString();
                }
            }
        }
        if (found.isEmpty()) {
            show(items_.totalCount() == 0
                     ? u"アイテム名で探すには、先にアイテムDBを読み込んで下さい"_s
                     : u"「%1」という名前のアイテムはありません"_s.arg(id),
                 {});
            return;
        }
        id = found;
    }
    const QString name = itemName(id);
    const QString what = name.isEmpty() ? id : u"%1 %2"_s.arg(id, name);
    std::vector<SlotUse> uses = itemUses(db_, id);
    show(u"アイテム %1: %2 か所"_s.arg(what).arg(uses.size()), std::move(uses));
}

void WhereUsedPage::findMonster() {
    const QString key = monsterBox_->text().trimmed();
    std::vector<SlotUse> uses = monsterUses(db_, key);
    show(u"モンスター %1: %2 か所"_s.arg(key).arg(uses.size()), std::move(uses));
}

qint32 WhereUsedPage::monsterOfUse(const SlotUse& use) const {
    const QStringView key = use.table->fieldView(use.record, 1);
    const Table& status = db_.StatusTable;
    for (qint32 r = 2; r <= status.Count(); ++r) {
        if (status.fieldView(r, StatusField::Name).compare(key, Qt::CaseInsensitive) == 0) return r;
    }
    return 0;
}

void WhereUsedPage::show(const QString& summary, std::vector<SlotUse> uses) {
    summary_->setText(summary);
    uses_ = std::move(uses);
    results_->setRowCount(int(uses_.size()));
    const Table& status = db_.StatusTable;
    const auto nameOf = [&status](int record) {
        return status.fieldView(record, StatusField::Name);
    };
    KeyIndex index;
    index.add(2, status.Count() + 1, nameOf);
    for (int row = 0; row < int(uses_.size()); ++row) {
        const SlotUse& use = uses_[size_t(row)];
        const int monster = index.find(use.table->fieldView(use.record, 1), nameOf);
        QString caption;
        for (const TableId id : kTableIds) {
            if (&db_.table(id) == use.table) caption = Tables::of(id).caption(use.field);
        }
        const QStringList texts{
            use.table->field(use.record, 1),
            monster > 0 ? status.field(monster, StatusField::DisplayName) : QString(),
            use.table->name(),
            caption,
            use.table->field(use.record, use.field),
            use.rateField ? use.table->field(use.record, use.rateField) : QString()};
        for (int c = 0; c < texts.size(); ++c)
            results_->setItem(row, c, new QTableWidgetItem(texts[c]));
    }
    results_->resizeColumnsToContents();
    if (!uses_.empty()) results_->setCurrentCell(0, 0);
}

void WhereUsedPage::choose(int row) {
    if (row < 0 || row >= int(uses_.size())) return;
    const SlotUse& use = uses_[size_t(row)];
    emit slotChosen(monsterOfUse(use), use.table, use.field);
}

bool WhereUsedPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == results_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose(results_->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace mdb
