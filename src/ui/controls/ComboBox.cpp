#include "ui/controls/ComboBox.h"

#include <QApplication>
#include <QEvent>
#include <QListView>
#include <QPointer>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>
#include <algorithm>

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

// A drop-down over a shared column that builds its popup when it is first opened. Setting a
// size policy, a view or the like makes a combo build its popup on the spot (a frame, a list
// view wired to the model, scrollers); for fifty-odd drop-downs, most of them in frames the
// first view does not show, that was most of what the window cost to build. The size it asks
// for is that of the policy AdjustToMinimumContentsLengthWithIcon, worked out here as that
// policy does: the minimum contents length in 'X's with room for an icon, never measuring a
// row, so that a combo over 30,000 rows costs no more than an empty one.
class SharedColumnComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    QSize sizeHint() const override { return minimumContentsSize(); }
    QSize minimumSizeHint() const override { return minimumContentsSize(); }

    void showPopup() override {
        if (!popupPrepared_) {
            popupPrepared_ = true;
            // Rows of one height are placed without measuring any, all of them at once, so
            // that the list can open at the chosen row however far down it is.
            if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
            setStyle(boundedPopupStyle());
            setMaxVisibleItems(kPopupRows);
        }
        QComboBox::showPopup();
        // the chosen row (the shown monster) in the middle of the list, among its neighbours
        const QModelIndex chosen = model()->index(currentIndex(), modelColumn());
        if (chosen.isValid()) view()->scrollTo(chosen, QAbstractItemView::PositionAtCenter);
    }

private:
    QSize minimumContentsSize() const {
        const QFontMetrics fm = fontMetrics();
        const QSize icon = iconSize();
        QSize size(minimumContentsLength() * fm.horizontalAdvance(u'X') + icon.width() + 4, 0);
        if (!placeholderText().isEmpty()) {
            size.setWidth(std::max(size.width(), fm.boundingRect(placeholderText()).width()));
        }
        size.setHeight(
            std::max(std::max(qCeil(QFontMetricsF(fm).height()), 14) + 2, icon.height() + 2));
        QStyleOptionComboBox option;
        initStyleOption(&option);
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, size, this);
    }

    bool popupPrepared_ = false;
};

}  // namespace

QComboBox* makeComboBox(const QString& objectName, ColumnModel* model, QWidget* parent,
                        int minimumChars) {
    auto* combo = new SharedColumnComboBox(parent);
    combo->setObjectName(objectName);
    // A placeholder keeps the combo from selecting row 0 when its empty model gets rows.
    combo->setPlaceholderText(QStringLiteral(" "));
    combo->setModel(model);
    combo->setCurrentIndex(-1);
    combo->setMinimumContentsLength(minimumChars);
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->installEventFilter(new WheelOnlyWithFocus(combo));
    return combo;
}

}  // namespace mdb
