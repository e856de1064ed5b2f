#pragma once

#include <QFont>
#include <QLabel>

namespace mdb {

// A one-line caption beside a control. A label works out its size three times over (the
// natural size, the height of one line, the width of its longest word), each time laying its
// text out afresh; a caption of plain text on one line has one size for all three, so it lays
// its text out once and keeps the result for as long as its text and font stay the same. The
// size is the one a label of the same text, font and alignment asks for; a caption that is
// empty or given rich text, word wrap, a frame, a margin, an indent or a minimum width measures as
// any label does.
class Caption : public QLabel {
public:
    explicit Caption(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    bool measuresAsOneLine() const;
    QSize oneLineSize() const;

    mutable QString measuredText_;
    mutable QFont measuredFont_;
    mutable int measuredFlags_ = 0;
    mutable QSize measured_;
    mutable bool measuredOnce_ = false;
};

}  // namespace mdb
