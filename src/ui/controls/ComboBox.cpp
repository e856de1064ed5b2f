#include "ui/controls/ComboBox.h"

#include <QEvent>
#include <QListView>

namespace mdb {

namespace {

// A drop-down changes on the mouse wheel only while it has the keyboard focus: a wheel turn
// meant for the window must not pick another monster or item and drop the edits in the form.
class WheelOnlyWithFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* combo = static_cast<QWidget*>(watched);
        if (combo->hasFocus()) return false;
        event->ignore();  // the frame behind the drop-down may scroll instead
        return true;
    }
};

}  // namespace

QComboBox* makeComboBox(const QString& objectName, ColumnModel* model, QWidget* parent,
                        int minimumChars) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(minimumChars);
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->installEventFilter(new WheelOnlyWithFocus(combo));
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
