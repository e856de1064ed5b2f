#include "ui/controls/Caption.h"

#include <QStyle>
#include <QTextDocument>

namespace mdb {

namespace {

// the width a label lays its text out in when it asks for its natural size
constexpr int kNaturalWidth = 2000;

}  // namespace

Caption::Caption(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QSize Caption::sizeHint() const {
    return measuresAsOneLine() ? oneLineSize() : QLabel::sizeHint();
}

QSize Caption::minimumSizeHint() const {
    return measuresAsOneLine() ? oneLineSize() : QLabel::minimumSizeHint();
}

bool Caption::measuresAsOneLine() const {
    // Anything that makes a label's three sizes differ, or lay its text out by another route,
    // leaves the measuring to the label.
    if (text().isEmpty() || wordWrap() || margin() != 0 || indent() > 0 || frameWidth() != 0)
        return false;
    if (minimumWidth() > 0 || !pixmap().isNull() || buddy()) return false;
    if (textFormat() == Qt::RichText || textFormat() == Qt::MarkdownText) return false;
    if (textFormat() == Qt::AutoText && Qt::mightBeRichText(text())) return false;
    return true;
}

QSize Caption::oneLineSize() const {
    ensurePolished();  // the style may set the font the label measures with
    const QMargins margins = contentsMargins();
    // Centring is left out, as a label leaves it out, so that no rounding of a half enters.
    const Qt::LayoutDirection direction =
        text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const int flags = int(QStyle::visualAlignment(direction, alignment())) &
                      ~(Qt::AlignVCenter | Qt::AlignHCenter);
    const QFont& shownFont = font();
    if (!measuredOnce_ || measuredFlags_ != flags || measuredText_ != text() ||
        measuredFont_ != shownFont) {
        const int width = kNaturalWidth - margins.left() - margins.right();
        measured_ = fontMetrics().boundingRect(0, 0, width, kNaturalWidth, flags, text()).size();
        measuredText_ = text();
        measuredFont_ = shownFont;
        measuredFlags_ = flags;
        measuredOnce_ = true;
    }
    const QSize withMargins =
        measured_ + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    return withMargins.expandedTo(minimumSize());
}

}  // namespace mdb
