#include "ui/controls/FormGrid.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/controls/Caption.h"

namespace mdb {

FormGrid::FormGrid(QWidget* frame) : frame_(frame), grid_(new QGridLayout(frame)) {
    // the frames are small and dense by design: keep the caption's room and little else; the
    // rows touch, as the boxes of the designed window did, so that the full view keeps room
    // for a desktop's panel on a screen 800 pixels high
    grid_->setContentsMargins(4, 1, 4, 1);
    grid_->setHorizontalSpacing(3);
    grid_->setVerticalSpacing(0);
}

int FormGrid::row(std::initializer_list<Cell> cells, int column) {
    const int r = nextRow_++;
    rowAt(r, column, cells);
    return r;
}

void FormGrid::rowAt(int r, int column, std::initializer_list<Cell> cells) {
    for (const Cell& cell : cells) {
        if (cell.widget) {
            place(cell.widget, r, column, 1, cell.columnSpan);
        } else if (!cell.caption.isNull()) {
            caption(cell.caption, r, column, cell.columnSpan);
        }
        column += cell.columnSpan;
    }
}

void FormGrid::fitChars(QWidget* box, int chars) {
    // the frame of a line edit or the arrow of a drop-down come on top of the digits
    const int digits = box->fontMetrics().horizontalAdvance(QString(chars, u'0'));
    box->setMinimumWidth(digits + box->fontMetrics().height());
}

void FormGrid::place(QWidget* widget, int row, int column, int rowSpan, int columnSpan) {
    grid_->addWidget(widget, row, column, rowSpan, columnSpan);
    nextRow_ = std::max(nextRow_, row + rowSpan);
}

QLabel* FormGrid::caption(const QString& text, int row, int column, int columnSpan) {
    auto* label = new Caption(text, frame_);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(label, row, column, 1, columnSpan);
    return label;
}

QLabel* FormGrid::heading(const QString& text, int row, int column, int columnSpan) {
    QLabel* label = caption(text, row, column, columnSpan);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void FormGrid::stretchColumn(int column, int stretch) {
    grid_->setColumnStretch(column, stretch);
}

void FormGrid::finish() {
    grid_->setRowStretch(nextRow_, 1);
}

}  // namespace mdb
