#pragma once

#include <QStyledItemDelegate>

namespace mdb {

// Draws a cell's text on one line, elided, with the style's background and selection. The
// style's own item text goes through a full text layout per cell, which made every repaint of a
// long list (a row that comes or goes repaints all rows shown) several times dearer than the
// update behind it.
class PlainTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace mdb
