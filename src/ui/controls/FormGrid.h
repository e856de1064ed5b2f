#pragma once

#include <QString>
#include <initializer_list>

class QGridLayout;
class QLabel;
class QWidget;

namespace mdb {

// The controls inside a frame, placed by a grid layout instead of pixel positions, so that
// another font never clips a caption. The frame itself keeps its designed place and size;
// rows are filled from a row table, left to right.
class FormGrid {
public:
    // One cell of a row: a control, a caption (made a label of its own) or nothing.
    struct Cell {
        Cell(QWidget* widget, int columnSpan = 1) : widget(widget), columnSpan(columnSpan) {}
        Cell(const QString& caption, int columnSpan = 1)
            : caption(caption), columnSpan(columnSpan) {}
        Cell(const char16_t* caption, int columnSpan = 1)
            : caption(QString::fromUtf16(caption)), columnSpan(columnSpan) {}
        Cell(std::nullptr_t) {}

        QWidget* widget = nullptr;
        QString caption;
        int columnSpan = 1;
    };

    // Lays out `frame` (a group box or any widget) with compact margins and spacing.
    explicit FormGrid(QWidget* frame);

    // Appends a row of cells starting at `column`; returns the row's number.
    int row(std::initializer_list<Cell> cells, int column = 0);
    // The same for a given row, beside cells already placed there.
    void rowAt(int row, int column, std::initializer_list<Cell> cells);
    // Places one control over a block of cells.
    void place(QWidget* widget, int row, int column, int rowSpan = 1, int columnSpan = 1);
    // A caption label, right-aligned towards the control it names.
    QLabel* caption(const QString& text, int row, int column, int columnSpan = 1);
    // A column head or a note: a label aligned to the start of its cells.
    QLabel* heading(const QString& text, int row, int column, int columnSpan = 1);
    // Lets `column` take the spare width (all columns keep their natural width otherwise).
    void stretchColumn(int column, int stretch = 1);
    // Ends the rows: the spare height goes below them.
    void finish();

    // Gives a box room for `chars` digits at least, whatever the font.
    static void fitChars(QWidget* box, int chars);

    QGridLayout* layout() const { return grid_; }
    QWidget* frame() const { return frame_; }

private:
    QWidget* frame_;
    QGridLayout* grid_;
    int nextRow_ = 0;
};

}  // namespace mdb
