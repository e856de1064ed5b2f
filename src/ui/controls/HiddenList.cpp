#include "ui/controls/HiddenList.h"

namespace mdb {

HiddenList::HiddenList(const QString& objectName, QObject* parent, ColumnModel* model)
    : QObject(parent), model_(model ? model : new ColumnModel(this)) {
    setObjectName(objectName);
    // rows are only appended, but a reset (clearRows) drops the selection with them
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { index_ = -1; });
}

void HiddenList::setListIndex(int index) {
    if (index < -1 || index >= listCount()) index = -1;
    if (index == index_) return;
    index_ = index;
    emit Click();
}

HiddenLabel::HiddenLabel(const QString& objectName, QObject* parent) : QObject(parent) {
    setObjectName(objectName);
}

void HiddenLabel::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    emit Change();
}

}  // namespace mdb
