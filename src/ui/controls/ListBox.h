#pragma once

#include <QListView>

#include "ui/controls/ColumnModel.h"
#include "ui/controls/ListCore.h"

namespace mdb {

// A visible list box over a shared column. Click is raised whenever the current row changes,
// from the user or from code, clearing to -1 included; the highlighted row is always the
// selected one.
class ListBox : public QListView, public ListCore {
    Q_OBJECT
    Q_PROPERTY(int listIndex READ listIndex WRITE setListIndex NOTIFY Click)
public:
    ListBox(const QString& objectName, ColumnModel* model, QWidget* parent);

    void setListIndex(int index) override;
    Q_INVOKABLE QString list(int row) const { return ListCore::list(row); }
    // Puts the view's current row and highlight on the selected row.
    void showSelection();

signals:
    void Click();

private:
    void raiseClick() override { emit Click(); }
    void onCurrentChanged(const QModelIndex& current);
};

}  // namespace mdb
