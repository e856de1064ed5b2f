#include "ui/controls/ListBox.h"

#include <QItemSelectionModel>

namespace mdb {

ListBox::ListBox(const QString& objectName, ColumnModel* model, QWidget* parent)
    : QListView(parent), model_(model) {
    setObjectName(objectName);
    // a list of tens of thousands of monsters must not measure every row
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= listCount()) index = -1;
    if (index == index_) return;
    if (index < 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        // clearCurrentIndex does not always report a change; a Click raised by it may already
        // have moved the list on, so report what is current now
        onCurrentChanged(selectionModel()->currentIndex());
        return;
    }
    const QModelIndex target = model_->index(index);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void ListBox::onCurrentChanged(const QModelIndex& current) {
    const int index = current.isValid() ? current.row() : -1;
    if (index == index_) return;
    index_ = index;
    emit Click();
}

}  // namespace mdb
