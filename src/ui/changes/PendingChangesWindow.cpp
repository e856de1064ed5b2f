#include "ui/changes/PendingChangesWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/MonsterDatabase.h"
#include "ui/commands/UnsavedWork.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

constexpr int kChangeRole = Qt::UserRole + 1;  // index into the changes shown, on leaves only

}  // namespace

PendingChangesWindow::PendingChangesWindow(UnsavedWork& work, const MonsterDatabase& db,
                                           QWidget* parent)
    : QDialog(parent), work_(work), db_(db) {
    setObjectName(u"PendingChangesWindow"_s);
    setWindowTitle(u"未保存の変更"_s);
    changeList = new QTreeWidget(this);
    changeList->setObjectName(u"changeList"_s);
    changeList->setHeaderLabels({u"ファイル / モンスター / 項目"_s, u"変更前"_s, u"変更後"_s});
    changeList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    revertButton = new QPushButton(u"選んだ変更を元に戻す(&R)"_s, this);
    revertButton->setObjectName(u"revertButton"_s);
    auto* close = new QPushButton(u"閉じる"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(revertButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(changeList);
    layout->addLayout(buttons);
    resize(720, 420);

    connect(revertButton, &QPushButton::clicked, this, &PendingChangesWindow::revertChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(changeList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        revertButton->setEnabled(item && item->data(0, kChangeRole).isValid());
    });
    connect(&work_, &UnsavedWork::pendingChanged, this, [this] {
        if (isVisible()) refresh();
    });
    refresh();
}

QString PendingChangesWindow::monsterText(const FieldChange& change) const {
    if (change.table == &db_.StatusTable) {
        return u"ID %1 / %2"_s.arg(db_.StatusTable.field(change.record, StatusField::Id),
                                   db_.StatusTable.field(change.record, StatusField::Name));
    }
    return u"%1（%2 件目）"_s.arg(change.table->field(change.record, 1)).arg(change.record);
}

void PendingChangesWindow::refresh() {
    shown_ = work_.pendingChanges();
    changeList->clear();
    QTreeWidgetItem* file = nullptr;
    QTreeWidgetItem* monster = nullptr;
    const Table* lastTable = nullptr;
    qint32 lastRecord = -1;
    for (size_t i = 0; i < shown_.size(); ++i) {
        const FieldChange& c = shown_[i];
        if (c.table != lastTable) {
            file = new QTreeWidgetItem(changeList, {c.table->name()});
            file->setExpanded(true);
            lastTable = c.table;
            lastRecord = -1;
        }
        if (c.record != lastRecord) {
            monster = new QTreeWidgetItem(file, {monsterText(c)});
            monster->setExpanded(true);
            lastRecord = c.record;
        }
        auto* leaf = new QTreeWidgetItem(
            monster, {c.table->fieldNames().value(c.field - 1), c.before, c.after});
        leaf->setData(0, kChangeRole, int(i));
    }
    changeList->expandAll();
    revertButton->setEnabled(false);
}

void PendingChangesWindow::revertChosen() {
    const QTreeWidgetItem* item = changeList->currentItem();
    if (!item || !item->data(0, kChangeRole).isValid()) return;
    const int index = item->data(0, kChangeRole).toInt();
    if (index < 0 || size_t(index) >= shown_.size()) return;
    work_.revert(shown_[size_t(index)]);
    refresh();
}

}  // namespace mdb
