#include "ui/controls/ListBox.h"

#include <QItemSelectionModel>

namespace mdb {

ListBox::ListBox(const QString& objectName, ColumnModel* model, QWidget* parent)
    : QListView(parent), ListCore(model) {
    setObjectName(objectName);
    // a list of tens of thousands of monsters must not measure every row
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // the list's frame shows where the keyboard is, as a text box's caret does: some styles
    // draw no focus on a list at all
    // (the same room either way, so that the rows never move)
    setStyleSheet(
        QStringLiteral("QListView { border: 1px solid palette(mid); padding: 1px; }"
                       "QListView:focus { border: 2px solid palette(highlight); padding: 0px; }"));
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
}

void ListBox::setListIndex(int index) {
    index = clamped(index);
    if (index == listIndex()) return;
    if (index < 0) {
        // The Click raised by clearing may move the list on at once (a failed search shows
        // the first monster); whatever row it ends on must be the one shown highlighted.
        selectionModel()->clearSelection();
        selectionModel()->clearCurrentIndex();
        onCurrentChanged(selectionModel()->currentIndex());
        showSelection();
        return;
    }
    const QModelIndex target = columnModel()->index(index);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void ListBox::onCurrentChanged(const QModelIndex& current) {
    storeIndex(current.isValid() ? current.row() : -1);
}

void ListBox::showSelection() {
    const int index = listIndex();
    if (index < 0) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex target = columnModel()->index(index);
    if (selectionModel()->currentIndex() != target || !selectionModel()->isSelected(target)) {
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    }
    scrollTo(target);
}

}  // namespace mdb
