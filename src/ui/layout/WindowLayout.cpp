#include "ui/layout/WindowLayout.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLayout>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QResizeEvent>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "ui/layout/DesignScale.h"

namespace mdb {

using namespace Qt::StringLiterals;

// which frame needs what, and the scale chosen: QT_LOGGING_RULES="mdb.layout.debug=true"
Q_LOGGING_CATEGORY(lcLayout, "mdb.layout", QtWarningMsg)

namespace {

// title bar, borders and menu bar of the designed window, in twips
constexpr int kDesignedChromeWidth = 105;
constexpr int kDesignedChromeHeight = 675;
constexpr const char* kScaleProperty = "mdbDesignScale";
// room between the drop frame and what the emotion frame shows beside and below it
constexpr int kClearance = 4;

// a little over the bare need, so that rounding to pixels never takes a pixel back
double roundedUp(double factor) {
    return std::ceil(factor * 100) / 100;
}

}  // namespace

// As designed, less the overlaps of the design: the frames met with one pixel to spare, the MVP
// frame reached seven pixels into the emotion frame (whose caption then sat on its border), the
// emotion frame as far into the bottom row, and the right column one pixel past the window.
const QList<WindowLayout::Designed>& WindowLayout::designedFrames() {
    static const QList<Designed> frames{
        {u"Frame1", QRect(0, 0, 10140, 3345)},       {u"Frame5", QRect(10140, 0, 4980, 3840)},
        {u"Frame1A", QRect(0, 3840, 15120, 2880)},   {u"Frame2", QRect(0, 3840, 11895, 1860)},
        {u"Frame7", QRect(0, 6720, 4950, 2655)},     {u"Frame11", QRect(4950, 6720, 5100, 2655)},
        {u"Frame9", QRect(10050, 6720, 5070, 2655)},
    };
    return frames;
}

QRect WindowLayout::designedCommandRow() {
    return QRect(0, 3345, 10140, 3840 - 3345);
}

namespace {

// One part of the window at its designed place: a frame, or the row of commands.
struct Placed {
    QWidget* widget;
    QRect twips;
    bool ownHeight = false;  // the drop frame takes the height its rows need
    bool measured = false;   // counted in the scale
};

// The frames and their scale, kept with the window. The first view shows only the status
// frame: measuring every frame's controls (their captions' glyphs, in two sizes of two fonts)
// was a third of what the window cost to build. So the scale is first found from the frames
// of the first view's band, whose heights decide it, and the other frames wait, hidden and
// unmeasured, until a wider view or a larger window shows them; then the scale is found
// again from all frames, exactly as it would have been from the start. Only a font in which a
// waiting frame needs more width than the status frame starts the first view narrower than it
// is after that frame was measured: never narrower than the status frame needs.
class Arrangement : public QObject {
public:
    Arrangement(QMainWindow& window, WindowLayout::Parts parts, std::vector<Placed> placed)
        : QObject(&window), window_(window), parts_(std::move(parts)), placed_(std::move(placed)) {
        setObjectName(QString::fromLatin1(kArrangementName));
    }

    static Arrangement* of(const QWidget& window) {
        return dynamic_cast<Arrangement*>(window.findChild<QObject*>(
            QString::fromLatin1(kArrangementName), Qt::FindDirectChildrenOnly));
    }

    // Measures the frames of the first view's band and hides the frames outside that view.
    void start() {
        if (!parts_.firstView.isValid()) {
            for (Placed& part : placed_) part.measured = true;
            fit();
            return;
        }
        const QSize area = designedArea(parts_.firstView);
        for (Placed& part : placed_) {
            part.measured = kBandTops[Scale::bandOf(part.twips)] < area.height();
            const bool inView =
                part.twips.left() < area.width() && part.twips.top() < area.height();
            if (!inView && !part.widget->isHidden()) {
                part.widget->hide();
                waiting_ << part.widget;
            }
        }
        fit();
        if (waiting_.isEmpty() && allMeasured()) return;
        complete_ = false;
        window_.centralWidget()->installEventFilter(this);
    }

    // A view of this outer size is about to be shown.
    void prepareView(int outerWidthTwips, int outerHeightTwips) {
        if (outerWidthTwips > parts_.firstView.width() ||
            outerHeightTwips > parts_.firstView.height()) {
            complete();
        }
    }

    void complete() {
        if (complete_) return;
        complete_ = true;
        window_.centralWidget()->removeEventFilter(this);
        for (Placed& part : placed_) part.measured = true;
        fit();
        for (QWidget* frame : std::as_const(waiting_)) {
            frame->show();
            if (QLayout* layout = frame->layout()) layout->activate();
            if (parts_.laidOutLater) parts_.laidOutLater(frame);
        }
        waiting_.clear();
    }

protected:
    // A window made larger by hand, or by the window manager, shows what lies beyond the first
    // view as it is.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && watched == window_.centralWidget()) {
            const QSize first = WindowLayout::clientSize(window_, parts_.firstView.width(),
                                                         parts_.firstView.height());
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            if (size.width() > first.width() || size.height() > first.height()) complete();
        }
        return false;
    }

private:
    static constexpr const char* kArrangementName = "frameArrangement";

    static QSize designedArea(const QSize& outerTwips) {
        return outerTwips - QSize(kDesignedChromeWidth, kDesignedChromeHeight);
    }

    bool allMeasured() const {
        return std::all_of(placed_.begin(), placed_.end(),
                           [](const Placed& part) { return part.measured; });
    }

    void place(const Scale& scale, bool measuredOnly) {
        for (const Placed& part : placed_) {
            if (measuredOnly && !part.measured) continue;
            QRect rect = scale.map(part.twips);
            if (part.ownHeight && part.measured) {
                rect.setHeight(std::max(rect.height(), part.widget->minimumSizeHint().height()));
            }
            part.widget->setGeometry(rect);
        }
    }

    // Finds the scale from the measured parts and places every part with it.
    void fit() {
        // The controls that only some modes show need their room all the same: measured shown.
        QList<QWidget*> shownToMeasure;
        for (QWidget* widget : parts_.sometimesShown) {
            if (widget->isHidden()) {
                shownToMeasure << widget;
                widget->setVisible(true);
            }
        }
        const Placed* drop = nullptr;
        for (const Placed& part : placed_) {
            if (part.ownHeight && part.measured) drop = &part;
        }
        // Every frame needs its controls' room; the emotion frame's room depends on the size of
        // the drop frame over it, so the scale is found again until it holds.
        Scale scale;
        for (int pass = 0; pass < 4; ++pass) {
            place(scale, true);
            if (drop && parts_.keepClearOfDrop) {
                parts_.keepClearOfDrop(drop->widget->size() + QSize(kClearance, kClearance));
            }
            Scale needed = scale;
            for (const Placed& part : placed_) {
                if (part.ownHeight || !part.measured) continue;
                const QSize minimum = part.widget->minimumSizeHint();
                const QSize designed = Scale().map(part.twips).size();
                qCDebug(lcLayout) << part.widget->objectName() << "needs" << minimum << "designed"
                                  << designed;
                needed.x =
                    std::max(needed.x, roundedUp(double(minimum.width()) / designed.width()));
                double& band = needed.bands[Scale::bandOf(part.twips)];
                band = std::max(band, roundedUp(double(minimum.height()) / designed.height()));
            }
            if (needed.x == scale.x && needed.bands == scale.bands) break;
            scale = needed;
        }
        place(scale, false);
        for (QWidget* widget : shownToMeasure) widget->setVisible(false);
        if (drop) drop->widget->raise();
        window_.setProperty(kScaleProperty, scale.toVariant());
        qCDebug(lcLayout) << "scale" << scale.x << scale.bands[0] << scale.bands[1]
                          << scale.bands[2];
    }

    QMainWindow& window_;
    WindowLayout::Parts parts_;
    std::vector<Placed> placed_;
    QList<QWidget*> waiting_;  // hidden until a view shows more than the first
    bool complete_ = true;
};

}  // namespace

QWidget* WindowLayout::client(const QMainWindow& window) {
    auto* scroll = qobject_cast<QScrollArea*>(window.centralWidget());
    return scroll && scroll->widget() ? scroll->widget() : window.centralWidget();
}

void WindowLayout::arrange(QMainWindow& window, const Parts& parts) {
    // The frames lie in a client of the view's size inside a scroll area: a screen smaller than
    // the view scrolls it, a larger window (maximised) shows it whole, centred at the top.
    QWidget* central = window.takeCentralWidget();
    auto* scroll = new QScrollArea(&window);
    scroll->setObjectName(u"clientScroll"_s);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes through the controls, not the area
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll->setWidget(central);
    window.setCentralWidget(scroll);
    auto* row = new QWidget(central);
    row->setObjectName(u"commandRow"_s);
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 2, 4, 2);
    box->setSpacing(4);
    box->addWidget(parts.navigationBar, 1);
    for (QWidget* command : parts.commands) {
        command->setParent(row);
        box->addWidget(command);
    }

    // The drop frame lies over the emotion frame's corner and takes the height its rows need:
    // the emotion frame, in the same band, grows around it.
    std::vector<Placed> placed;
    for (const Designed& designed : designedFrames()) {
        const QString name = QString::fromUtf16(designed.frame);
        auto* frame = central->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (frame) placed.push_back({frame, designed.twips, name == u"Frame2"_s});
    }
    placed.push_back({row, designedCommandRow()});
    auto* arrangement = new Arrangement(window, parts, std::move(placed));
    arrangement->start();
}

void WindowLayout::prepareView(QMainWindow& window, int outerWidthTwips, int outerHeightTwips) {
    if (Arrangement* arrangement = Arrangement::of(window)) {
        arrangement->prepareView(outerWidthTwips, outerHeightTwips);
    }
}

void WindowLayout::showAllFrames(QMainWindow& window) {
    if (Arrangement* arrangement = Arrangement::of(window)) arrangement->complete();
}

QSize WindowLayout::clientSize(const QWidget& window, int outerWidthTwips, int outerHeightTwips) {
    const Scale scale = Scale::fromVariant(window.property(kScaleProperty));
    const int widthTwips = outerWidthTwips - kDesignedChromeWidth;
    const int heightTwips = outerHeightTwips - kDesignedChromeHeight;
    QSize size(scale.mapX(widthTwips), scale.mapY(heightTwips));
    QList<QRect> parts{designedCommandRow()};
    for (const Designed& designed : designedFrames()) parts << designed.twips;
    for (const QRect& twips : parts) {
        if (twips.left() >= widthTwips || twips.top() >= heightTwips) continue;
        const QRect shown = scale.map(twips);
        size = size.expandedTo(QSize(shown.right() + 1, shown.bottom() + 1));
    }
    return size;
}

}  // namespace mdb
