#include "ui/changes/PendingChangesWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/changes/PlainTextDelegate.h"
#include "ui/commands/UnsavedWork.h"

namespace mdb {

using namespace Qt::StringLiterals;

PendingChangesWindow::PendingChangesWindow(UnsavedWork& work, const MonsterDatabase& db,
                                           PendingChangesModel::Words words, QWidget* owner)
    : QWidget(owner, Qt::Window),
      work_(work),
      model_(new PendingChangesModel(work, db, std::move(words), this)),
      changeList_(new QTableView(this)),
      emptyNote_(new QLabel(u"未保存の変更はありません"_s, this)),
      revertButton_(new QPushButton(u"選んだ変更を元に戻す(&R)"_s, this)) {
    setObjectName(u"PendingChangesWindow"_s);
    setWindowTitle(u"未保存の変更"_s);
    // closing the main window ends the program even while this one is open
    setAttribute(Qt::WA_QuitOnClose, false);

    changeList_->setObjectName(u"changeList"_s);
    changeList_->setModel(model_);
    changeList_->setItemDelegate(new PlainTextDelegate(changeList_));
    // A table of rows of one height: a row that comes or goes moves the rows below it by
    // arithmetic, where a tree view lays out all 10,000 again
    changeList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    changeList_->setSelectionMode(QAbstractItemView::SingleSelection);
    changeList_->setTextElideMode(Qt::ElideMiddle);
    changeList_->setWordWrap(false);
    changeList_->setShowGrid(false);
    changeList_->setTabKeyNavigation(false);
    QHeaderView* rows = changeList_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    // widths from the font, never from the rows: measuring every row is what made it slow
    QHeaderView* header = changeList_->horizontalHeader();
    header->setStretchLastSection(true);
    const int em = fontMetrics().horizontalAdvance(u"あ"_s);
    const int widths[] = {9, 14, 8, 10};  // in characters, the last column takes the rest
    for (int column = 0; column < 4; ++column) header->resizeSection(column, em * widths[column]);
    emptyNote_->setObjectName(u"emptyNote"_s);
    emptyNote_->setAlignment(Qt::AlignCenter);
    revertButton_->setObjectName(u"revertButton"_s);
    auto* close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(u"closeButton"_s);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(revertButton_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(changeList_, 1);
    layout->addWidget(emptyNote_, 1);
    layout->addLayout(buttons);
    resize(em * 60, em * 26);

    connect(revertButton_, &QPushButton::clicked, this, &PendingChangesWindow::revertChosen);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(changeList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { revertButton_->setEnabled(current.isValid()); });
    connect(model_, &QAbstractItemModel::modelReset, this, &PendingChangesWindow::showEmptiness);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &PendingChangesWindow::showEmptiness);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &PendingChangesWindow::showEmptiness);
    showEmptiness();
}

void PendingChangesWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Qt makes a window with a parent the parent's transient, which keeps it above the form;
    // this is a window of its own that the form may cover
    if (QWindow* handle = windowHandle()) handle->setTransientParent(nullptr);
}

void PendingChangesWindow::showEmptiness() {
    const bool empty = model_->rowCount() == 0;
    changeList_->setVisible(!empty);
    emptyNote_->setVisible(empty);
    revertButton_->setEnabled(!empty && changeList_->currentIndex().isValid());
}

void PendingChangesWindow::revertChosen() {
    model_->flush();  // the rows must be those of the tables now
    const QModelIndex current = changeList_->currentIndex();
    if (!current.isValid()) return;
    const FieldChange change = model_->change(current.row());
    if (!change.table) return;
    work_.revert(change);
}

}  // namespace mdb
