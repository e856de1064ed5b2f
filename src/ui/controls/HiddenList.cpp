#include "ui/controls/HiddenList.h"

namespace mdb {

namespace {

ColumnModel* modelOrOwn(ColumnModel* model, QObject* owner) {
    return model ? model : new ColumnModel(owner);
}

}  // namespace

HiddenList::HiddenList(const QString& objectName, QObject* parent, ColumnModel* model)
    : QObject(parent), ListCore(modelOrOwn(model, this)) {
    setObjectName(objectName);
    // rows are only appended, but a reset (clearRows) drops the selection with them
    connect(columnModel(), &QAbstractItemModel::modelReset, this, [this] { storeIndex(-1); });
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
