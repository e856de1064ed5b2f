#pragma once

#include <QWidget>

class QTableView;

namespace mdb {

class GridModel;

// Two views of one grid side by side: the key and the name on the left, which stay in view,
// and every other column on the right, which scrolls sideways. They share the model, the
// selection and the vertical scroll, so they read as one table.
class FrozenGrid : public QWidget {
    Q_OBJECT
public:
    FrozenGrid(GridModel* model, QWidget* parent = nullptr);

    QTableView* frozenView() const { return frozen_; }
    QTableView* mainView() const { return main_; }
    // Fits the left view to its two columns.
    void fitFrozenWidth();

signals:
    // Enter on a row, or a double click on a column that is not edited in place.
    void rowActivated(int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GridModel* model_;
    QTableView* frozen_;
    QTableView* main_;
};

}  // namespace mdb
