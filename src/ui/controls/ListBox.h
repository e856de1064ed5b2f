#pragma once

#include <QListView>

#include "ui/controls/ColumnModel.h"

namespace mdb {

// A visible list box over a shared column. Click is raised whenever the current row changes,
// from the user or from code, clearing to -1 included.
class ListBox : public QListView {
    Q_OBJECT
    Q_PROPERTY(int listIndex READ listIndex WRITE setListIndex NOTIFY Click)
public:
    ListBox(const QString& objectName, ColumnModel* model, QWidget* parent);

    ColumnModel* columnModel() const { return model_; }
    int listIndex() const { return index_; }
    void setListIndex(int index);
    int listCount() const { return model_->count(); }
    QString text() const { return model_->text(index_); }
    Q_INVOKABLE QString list(int row) const { return model_->text(row); }

signals:
    void Click();

private:
    void onCurrentChanged(const QModelIndex& current);

    ColumnModel* model_;
    int index_ = -1;
};

}  // namespace mdb
