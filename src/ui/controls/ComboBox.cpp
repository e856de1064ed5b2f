#include "ui/controls/ComboBox.h"

#include <QListView>

namespace mdb {

QComboBox* makeComboBox(const QString& objectName, ColumnModel* model, QWidget* parent,
                        int minimumChars) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(minimumChars);
    auto* view = new QListView(combo);
    view->setUniformItemSizes(true);
    view->setLayoutMode(QListView::Batched);
    combo->setView(view);
    // a placeholder keeps the combo from selecting row 0 when its empty model gets rows
    combo->setPlaceholderText(QStringLiteral(" "));
    combo->setModel(model);
    combo->setCurrentIndex(-1);
    return combo;
}

}  // namespace mdb
