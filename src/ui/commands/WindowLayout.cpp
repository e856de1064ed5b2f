#include "ui/commands/WindowLayout.h"

#include <QBoxLayout>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

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

// The design stacks three bands of frames: the status frame with its commands and the MVP
// frame, the drop and emotion frames, and the bottom row. Each band grows by its own factor,
// so that one crowded frame does not stretch the whole window.
constexpr int kBandTops[] = {0, 3840, 6720};

struct Scale {
    double x = 1;
    std::array<double, 3> bands{1, 1, 1};

    int mapX(int twips) const { return int(std::lround(twips * x / 15.0)); }
    int mapY(int twips) const {
        double pixels = 0;
        for (size_t b = 0; b < bands.size(); ++b) {
            const int top = kBandTops[b];
            const int bottom = b + 1 < bands.size() ? kBandTops[b + 1] : INT_MAX;
            pixels += std::clamp(twips - top, 0, bottom - top) * bands[b] / 15.0;
        }
        return int(std::lround(pixels));
    }
    QRect map(const QRect& twips) const {
        // from the mapped far edge, so that frames that meet in twips meet in pixels
        const int left = mapX(twips.left()), top = mapY(twips.top());
        return QRect(left, top, mapX(twips.left() + twips.width()) - left,
                     mapY(twips.top() + twips.height()) - top);
    }
    static size_t bandOf(const QRect& twips) {
        size_t band = 0;
        while (band + 1 < std::size(kBandTops) && twips.top() >= kBandTops[band + 1]) ++band;
        return band;
    }
    QVariantList toVariant() const { return {x, bands[0], bands[1], bands[2]}; }
    static Scale fromVariant(const QVariant& value) {
        const QVariantList list = value.toList();
        Scale scale;
        if (list.size() != 4) return scale;
        scale.x = list[0].toDouble();
        for (size_t b = 0; b < 3; ++b) scale.bands[b] = list[int(b) + 1].toDouble();
        return scale;
    }
};

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

void WindowLayout::arrange(QMainWindow& window, const Parts& parts) {
    QWidget* central = window.centralWidget();
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
    struct Placed {
        QWidget* widget;
        QRect twips;
        bool ownHeight = false;
    };
    std::vector<Placed> placed;
    for (const Designed& designed : designedFrames()) {
        const QString name = QString::fromUtf16(designed.frame);
        auto* frame = central->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (frame) placed.push_back({frame, designed.twips, name == u"Frame2"_s});
    }
    placed.push_back({row, designedCommandRow()});
    const auto place = [&placed](const Scale& scale) {
        for (const Placed& part : placed) {
            QRect rect = scale.map(part.twips);
            if (part.ownHeight) {
                rect.setHeight(std::max(rect.height(), part.widget->minimumSizeHint().height()));
            }
            part.widget->setGeometry(rect);
        }
    };

    // The controls that only some modes show need their room all the same: measured shown.
    QList<QWidget*> shownToMeasure;
    for (QWidget* widget : parts.sometimesShown) {
        if (widget->isHidden()) {
            shownToMeasure << widget;
            widget->setVisible(true);
        }
    }

    QWidget* drop = central->findChild<QWidget*>(u"Frame2"_s, Qt::FindDirectChildrenOnly);
    // Every frame needs its controls' room; the emotion frame's room depends on the size of
    // the drop frame over it, so the scale is found again until it holds.
    Scale scale;
    for (int pass = 0; pass < 4; ++pass) {
        place(scale);
        if (drop && parts.keepClearOfDrop) {
            parts.keepClearOfDrop(drop->size() + QSize(kClearance, kClearance));
        }
        Scale needed = scale;
        for (const Placed& part : placed) {
            if (part.ownHeight) continue;
            const QSize minimum = part.widget->minimumSizeHint();
            const QSize designed = Scale().map(part.twips).size();
            qCDebug(lcLayout) << part.widget->objectName() << "needs" << minimum << "designed"
                              << designed;
            needed.x = std::max(needed.x, roundedUp(double(minimum.width()) / designed.width()));
            double& band = needed.bands[Scale::bandOf(part.twips)];
            band = std::max(band, roundedUp(double(minimum.height()) / designed.height()));
        }
        if (needed.x == scale.x && needed.bands == scale.bands) break;
        scale = needed;
    }
    place(scale);
    for (QWidget* widget : shownToMeasure) widget->setVisible(false);
    if (drop) drop->raise();
    window.setProperty(kScaleProperty, scale.toVariant());
    qCDebug(lcLayout) << "scale" << scale.x << scale.bands[0] << scale.bands[1] << scale.bands[2];
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
