#include "ui/controls/ComboBox.h"

#include <QApplication>
#include <QEvent>
#include <QListView>
#include <QPointer>
#include <QProxyStyle>
#include <QTimer>

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

// How many rows an open drop-down shows: enough to choose from, few enough to read.
constexpr int kPopupRows = 20;

// Some styles open a drop-down as a list as tall as the screen, whatever its number of rows;
// the drop-downs here open below their box with kPopupRows rows.
class BoundedPopupStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* boundedPopupStyle() {
    // one for all drop-downs, over whatever style the application uses
    static QPointer<BoundedPopupStyle> style;
    if (!style) {
        style = new BoundedPopupStyle;
        style->setParent(qApp);
    }
    return style;
}

// An open drop-down shows its chosen row in the middle of the list (the shown monster among
// its neighbours), not the list's first rows.
class OpenAtChosenRow : public QObject {
public:
    OpenAtChosenRow(QComboBox* combo) : QObject(combo), combo_(combo) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            QTimer::singleShot(0, combo_, [combo = combo_] {
                const QModelIndex chosen = combo->model()->index(combo->currentIndex(), 0);
                if (chosen.isValid()) {
                    combo->view()->scrollTo(chosen, QAbstractItemView::PositionAtCenter);
                }
            });
        }
        return false;
    }

private:
    QComboBox* combo_;
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
    // with rows of one height the view places them without measuring any; it must have placed
    // them all to show the chosen row when it opens
    view->setUniformItemSizes(true);
    combo->setView(view);
    combo->setStyle(boundedPopupStyle());
    combo->setMaxVisibleItems(kPopupRows);
    view->installEventFilter(new OpenAtChosenRow(combo));
    // a placeholder keeps the combo from selecting row 0 when its empty model gets rows
    combo->setPlaceholderText(QStringLiteral(" "));
    combo->setModel(model);
    combo->setCurrentIndex(-1);
    return combo;
}

}  // namespace mdb
