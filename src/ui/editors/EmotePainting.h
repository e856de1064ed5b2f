#pragma once

// Drawing pieces shared by the face and the sign pictures of the emotions. Every picture is
// drawn in a 24 x 22 unit space whatever its pixel size.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

namespace mdb::emote {

inline const QColor ink{0x3a, 0x2a, 0x1a};

QPainterPath heartPath(QPointF centre, qreal size);
QPainterPath starPath(QPointF centre, qreal outer, qreal inner, int points = 5);
QPainterPath dropPath(QPointF centre, qreal size);
QPainterPath spiralPath(QPointF centre, qreal radius, qreal turns);

// Fills `path` with `fill` and outlines it with the ink pen.
void fillOutlined(QPainter& p, const QPainterPath& path, const QColor& fill, qreal width = 1.0);
// Strokes `path` with round caps and joins.
void stroke(QPainter& p, const QPainterPath& path, const QColor& color, qreal width);

enum class Sign {
    Exclaim,
    Question,
    ExclaimQuestion,
    DoubleExclaim,
    Heart,
    BrokenHeart,
    Note,
    Ellipsis,
    Bulb,
    Star,
    Sun,
    Cloud,
    Rain,
    Lightning,
    Check,
    Cross,
    Coin,
    Gift,
    Flower,
    Swirl,
    Fire,
    Snowflake,
    Moon,
    Paw,
    Drop
};

// A sign in a speech bubble, in the colour `color`.
void drawSign(QPainter& p, Sign sign, const QColor& color);

}  // namespace mdb::emote
