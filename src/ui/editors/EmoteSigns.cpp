// The emotion pictures that are a sign in a speech bubble rather than a face.
#include <QtMath>

#include "ui/editors/EmotePainting.h"

namespace mdb::emote {

namespace {

void exclaim(QPainter& p, qreal x, const QColor& color) {
    QPainterPath bar;
    bar.moveTo(x - 1.3, 2.8);
    bar.lineTo(x + 1.3, 2.8);
    bar.lineTo(x + 0.6, 11);
    bar.lineTo(x - 0.6, 11);
    bar.closeSubpath();
    bar.addEllipse(QPointF(x, 13.6), 1.3, 1.3);
    fillOutlined(p, bar, color, 0.4);
}

void question(QPainter& p, qreal x, qreal width, const QColor& color) {
    QPainterPath hook;
    hook.moveTo(x - width, 6);
    hook.cubicTo(x - width, 2.4, x + width, 2.4, x + width, 6);
    hook.cubicTo(x + width, 8.5, x, 8.5, x, 11);
    stroke(p, hook, color, 2.2);
    QPainterPath dot;
    dot.addEllipse(QPointF(x, 13.7), 1.3, 1.3);
    fillOutlined(p, dot, color, 0.4);
}

QPainterPath cloudPath(qreal dy, qreal scale) {
    QPainterPath left, middle, right, base;
    left.addEllipse(QPointF(8.5, 10 * scale + dy), 3.5 * scale, 3 * scale);
    middle.addEllipse(QPointF(12.5, 7.5 * scale + dy), 4 * scale, 4 * scale);
    right.addEllipse(QPointF(16, 10 * scale + dy), 3 * scale, 3 * scale);
    base.addRect(QRectF(8.5, 9 * scale + dy, 7.5, 4 * scale));
    return left.united(middle).united(right).united(base);
}

}  // namespace

void drawSign(QPainter& p, Sign sign, const QColor& color) {
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1, 0.8, 22, 16.4), 5, 5);
    QPainterPath tail;
    tail.moveTo(5.5, 16);
    tail.lineTo(4.5, 21.2);
    tail.lineTo(10.5, 16);
    tail.closeSubpath();
    fillOutlined(p, bubble.united(tail), Qt::white, 1);

    const QPointF c(12, 9);
    QPainterPath path;
    switch (sign) {
        case Sign::Exclaim:
            exclaim(p, 12, color);
            break;
        case Sign::Question:
            question(p, 12, 3, color);
            break;
        case Sign::ExclaimQuestion:
            exclaim(p, 8.5, color);
            question(p, 15, 2.4, color);
            break;
        case Sign::DoubleExclaim:
            exclaim(p, 9.5, color);
            exclaim(p, 14.5, color);
            break;
        case Sign::Heart:
        case Sign::BrokenHeart:
            fillOutlined(p, heartPath(QPointF(12, 9.6), 11), color, 0.8);
            if (sign == Sign::BrokenHeart) {
                path.moveTo(12, 5);
                path.lineTo(10.6, 8);
                path.lineTo(13, 10.5);
                path.lineTo(11.6, 14.5);
                stroke(p, path, Qt::white, 1.5);
            }
            break;
        case Sign::Note:
            path.addEllipse(QPointF(9.6, 12.6), 2.4, 1.8);
            fillOutlined(p, path, color, 0.4);
            path.clear();
            path.moveTo(11.8, 12.4);
            path.lineTo(11.8, 3.2);
            path.quadTo(16.5, 4.8, 15.4, 9);
            stroke(p, path, color, 1.4);
            break;
        case Sign::Ellipsis:
            for (qreal x : {7.0, 12.0, 17.0}) path.addEllipse(QPointF(x, 9.5), 1.4, 1.4);
            fillOutlined(p, path, color, 0.3);
            break;
        case Sign::Bulb:
            path.addEllipse(QPointF(12, 7.4), 4, 4);
            fillOutlined(p, path, QColor(0xffffee58), 0.9);
            path.clear();
            path.addRect(QRectF(10.2, 11.4, 3.6, 3.2));
            fillOutlined(p, path, QColor(0xff90a4ae), 0.8);
            path.clear();
            for (auto [x1, y1, x2, y2] :
                 {std::array<qreal, 4>{5, 4, 6.5, 5}, {19, 4, 17.5, 5}, {12, 1.8, 12, 2.6}}) {
                path.moveTo(x1, y1);
                path.lineTo(x2, y2);
            }
            stroke(p, path, color, 1);
            break;
        case Sign::Star:
            fillOutlined(p, starPath(QPointF(12, 9.3), 6.8, 2.9), color, 0.8);
            break;
        case Sign::Sun:
            path.addEllipse(c, 3.2, 3.2);
            fillOutlined(p, path, QColor(0xffffca28), 0.8);
            path.clear();
            for (int i = 0; i < 8; ++i) {
                const qreal a = i * M_PI / 4;
                path.moveTo(c.x() + 4.6 * qCos(a), c.y() + 4.6 * qSin(a));
                path.lineTo(c.x() + 6.6 * qCos(a), c.y() + 6.6 * qSin(a));
            }
            stroke(p, path, color, 1.2);
            break;
        case Sign::Cloud:
            fillOutlined(p, cloudPath(0, 1), color.lighter(160), 0.9);
            break;
        case Sign::Rain:
            fillOutlined(p, cloudPath(-1.5, 0.8), QColor(0xffb0bec5), 0.8);
            for (qreal x : {8.5, 12.0, 15.5}) {
                path.moveTo(x + 0.8, 11.5);
                path.lineTo(x - 0.4, 14.8);
            }
            stroke(p, path, color, 1.2);
            break;
        case Sign::Lightning:
            path.moveTo(14, 2.4);
            path.lineTo(8, 10);
            path.lineTo(11.6, 10);
            path.lineTo(10, 15.6);
            path.lineTo(16.2, 7.4);
            path.lineTo(12.6, 7.4);
            path.closeSubpath();
            fillOutlined(p, path, QColor(0xffffeb3b), 0.8);
            break;
        case Sign::Check:
            path.moveTo(7, 9);
            path.lineTo(10.5, 13);
            path.lineTo(17, 4.5);
            stroke(p, path, color, 2.6);
            break;
        case Sign::Cross:
            path.moveTo(8, 4.5);
            path.lineTo(16, 13.5);
            path.moveTo(16, 4.5);
            path.lineTo(8, 13.5);
            stroke(p, path, color, 2.6);
            break;
        case Sign::Coin:
            path.addEllipse(c, 5.6, 5.6);
            fillOutlined(p, path, QColor(0xffffca28), 0.9);
            path.clear();
            path.addEllipse(c, 3.8, 3.8);
            path.moveTo(12, 6.6);
            path.lineTo(12, 11.4);
            stroke(p, path, color, 1);
            break;
        case Sign::Gift:
            path.addRect(QRectF(7.2, 8.4, 9.6, 6.6));
            path.addRect(QRectF(6.4, 6, 11.2, 2.4));
            fillOutlined(p, path, color, 0.8);
            path.clear();
            path.moveTo(12, 6);
            path.lineTo(12, 15);
            path.moveTo(12, 6);
            path.quadTo(8, 1.5, 9.5, 6);
            path.moveTo(12, 6);
            path.quadTo(16, 1.5, 14.5, 6);
            stroke(p, path, QColor(0xffffd54f), 1.2);
            break;
        case Sign::Flower:
            for (int i = 0; i < 5; ++i) {
                const qreal a = -M_PI / 2 + i * 2 * M_PI / 5;
                path.addEllipse(QPointF(c.x() + 3.2 * qCos(a), c.y() + 3.2 * qSin(a)), 2.3, 2.3);
            }
            fillOutlined(p, path.simplified(), color, 0.7);
            path.clear();
            path.addEllipse(c, 1.8, 1.8);
            fillOutlined(p, path, QColor(0xffffd54f), 0.5);
            break;
        case Sign::Swirl:
            stroke(p, spiralPath(c, 6, 2.6), color, 1.3);
            break;
        case Sign::Fire:
            path.moveTo(12, 2.4);
            path.cubicTo(17.5, 7, 17.5, 15.2, 12, 15.6);
            path.cubicTo(6.5, 15.2, 6.5, 9, 10, 6.4);
            path.cubicTo(10, 9, 11, 10, 12, 10);
            path.cubicTo(11, 7, 12, 5, 12, 2.4);
            fillOutlined(p, path, color, 0.8);
            path.clear();
            path.addEllipse(QPointF(12.2, 12.6), 2, 2.6);
            fillOutlined(p, path, QColor(0xffffca28), 0.4);
            break;
        case Sign::Snowflake:
            for (int i = 0; i < 3; ++i) {
                const qreal a = i * M_PI / 3 + M_PI / 2;
                const qreal dx = 6.4 * qCos(a), dy = 6.4 * qSin(a);
                path.moveTo(c.x() - dx, c.y() - dy);
                path.lineTo(c.x() + dx, c.y() + dy);
            }
            stroke(p, path, color, 1.5);
            path = QPainterPath();
            path.addEllipse(c, 1.6, 1.6);
            fillOutlined(p, path, Qt::white, 1);
            break;
        case Sign::Moon: {
            path.addEllipse(c, 6, 6);
            QPainterPath bite;
            bite.addEllipse(QPointF(15, 6.8), 5.2, 5.2);
            fillOutlined(p, path.subtracted(bite), QColor(0xffffd54f), 0.9);
            break;
        }
        case Sign::Paw:
            path.addEllipse(QPointF(12, 11.6), 3.4, 2.8);
            for (auto [x, y] : {std::array<qreal, 2>{7.6, 7.6}, {10.4, 5}, {13.6, 5}, {16.4, 7.6}})
                path.addEllipse(QPointF(x, y), 1.4, 1.7);
            fillOutlined(p, path, color, 0.5);
            break;
        case Sign::Drop:
            fillOutlined(p, dropPath(QPointF(12, 9.6), 13), color, 0.9);
            break;
    }
}

}  // namespace mdb::emote
