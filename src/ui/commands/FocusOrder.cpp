#include "ui/commands/FocusOrder.h"

#include <QGridLayout>
#include <QLayout>
#include <QMainWindow>
#include <QWidget>
#include <algorithm>
#include <tuple>

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

bool isTabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Whether `layout` holds `widget`, directly or in a layout inside it; `index` counts the
// widgets met before it, so that cells shared by a row of controls keep their order.
bool holds(QLayout* layout, const QWidget* widget, int& index) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) return true;
        if (item->widget() && item->widget()->isAncestorOf(widget)) return true;
        if (item->layout() && holds(item->layout(), widget, index)) return true;
        if (item->widget()) ++index;
    }
    return false;
}

// The status form keeps the order its editor gave it: the stops inside `frame` as the chain
// meets them from its first.
QList<QWidget*> chainOrder(QWidget* frame) {
    QList<QWidget*> stops;
    QList<QWidget*> inside = frame->findChildren<QWidget*>();
    auto first = std::find_if(inside.begin(), inside.end(), isTabStop);
    if (first == inside.end()) return stops;
    // the first stop of the frame in the chain: the one no stop of the frame leads to
    QWidget* start = *first;
    for (QWidget* w = start->previousInFocusChain(); w != start; w = w->previousInFocusChain()) {
        if (frame->isAncestorOf(w) && isTabStop(w)) start = w;
        if (!frame->isAncestorOf(w) && isTabStop(w)) break;
    }
    QWidget* w = start;
    do {
        if (frame->isAncestorOf(w) && isTabStop(w) && !stops.contains(w)) stops << w;
        w = w->nextInFocusChain();
    } while (w != start);
    return stops;
}

}  // namespace

QList<QWidget*> FocusOrder::readingOrder(QWidget* frame, int splitColumn) {
    auto* grid = qobject_cast<QGridLayout*>(frame->layout());
    using Key = std::tuple<int, int, int, int>;  // half, row, column, place in the cell
    QList<std::pair<Key, QWidget*>> keyed;
    for (QWidget* widget : frame->findChildren<QWidget*>()) {
        if (!isTabStop(widget)) continue;
        Key key{0, 0, 0, 0};
        if (grid) {
            for (int i = 0; i < grid->count(); ++i) {
                int index = 0;
                QLayoutItem* item = grid->itemAt(i);
                const bool inCell =
                    item->widget()
                        ? (item->widget() == widget || item->widget()->isAncestorOf(widget))
                        : item->layout() && holds(item->layout(), widget, index);
                if (!inCell) continue;
                int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
                grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
                const int half = splitColumn >= 0 && column >= splitColumn ? 1 : 0;
                key = Key{half, row, column, index};
                break;
            }
        }
        keyed.append({key, widget});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QWidget*> stops;
    for (const auto& [key, widget] : keyed) stops << widget;
    return stops;
}

void FocusOrder::followThePage(QMainWindow& window) {
    QWidget* central = window.centralWidget();
    const auto part = [central](const QString& name) { return central->findChild<QWidget*>(name); };
    QList<QWidget*> stops;
    if (QWidget* status = part(u"Frame1"_s)) stops << chainOrder(status);
    if (QWidget* row = part(u"commandRow"_s)) {
        // the page box, the slider and the step buttons, then the commands, as they stand
        QList<QWidget*> inRow = row->findChildren<QWidget*>();
        inRow.removeIf([](QWidget* w) { return !isTabStop(w); });
        std::stable_sort(inRow.begin(), inRow.end(), [row](QWidget* a, QWidget* b) {
            int ia = 0, ib = 0;
            holds(row->layout(), a, ia);
            holds(row->layout(), b, ib);
            return ia < ib;
        });
        stops << inRow;
    }
    // advanced mode's unlock button, at the menu bar's end, is one of the commands
    if (auto* unlock = window.findChild<QWidget*>(u"Command8"_s); unlock && isTabStop(unlock)) {
        stops << unlock;
    }
    // the top band's right, the middle band (the emotion frame reads right of the drop frame),
    // the bottom row from the left
    for (const auto& [name, split] :
         {std::pair{u"Frame5"_s, -1}, std::pair{u"Frame2"_s, 5}, std::pair{u"Frame1A"_s, -1},
          std::pair{u"Frame7"_s, -1}, std::pair{u"Frame11"_s, -1}, std::pair{u"Frame9"_s, -1}}) {
        if (QWidget* frame = part(name)) stops << readingOrder(frame, split);
    }
    for (qsizetype i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
}

}  // namespace mdb
