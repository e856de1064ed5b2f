#pragma once

#include <QWidget>
#include <vector>

#include "model/TableQuery.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mdb {

class FrozenGrid;
class GridModel;

// One tab of the grid window: the filter (a text over the key and name or over every column,
// and conditions on number columns), the count of rows shown, and the grid.
class GridPage : public QWidget {
    Q_OBJECT
public:
    GridPage(GridModel* model, QWidget* parent = nullptr);

    GridModel* model() const { return model_; }
    FrozenGrid* grid() const { return grid_; }
    // Applies the filter box, the scope and the conditions to the grid.
    void applyFilter();
    // Adds the condition the condition row holds; false (nothing added) when its numbers are
    // not numbers.
    bool addCondition();
    void clearConditions();
    void focusFilter();

signals:
    void bulkEditRequested();
    void exportRequested();

private:
    void showCount(int shown, int total);
    QString conditionText() const;

    GridModel* model_;
    FrozenGrid* grid_;
    QLineEdit* filterBox_;
    QComboBox* scope_;
    QComboBox* conditionColumn_;
    QComboBox* conditionOp_;
    QLineEdit* conditionValue_;
    QLineEdit* conditionUpTo_;
    QLabel* conditions_;
    QLabel* count_;
    std::vector<NumberCondition> conditionList_;
};

}  // namespace mdb
