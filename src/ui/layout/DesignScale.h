#pragma once

#include <QRect>
#include <QVariant>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace mdb {

// The design stacks three bands of frames: the status frame with its commands and the MVP
// frame, the drop and emotion frames, and the bottom row. Each band grows by its own factor,
// so that one crowded frame does not stretch the whole window.
constexpr int kBandTops[] = {0, 3840, 6720};

// Twips to pixels: one factor across, one down for each band.
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

}  // namespace mdb
