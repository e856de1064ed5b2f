// The 48 emotion pictures: faces with their own eyes, mouth and mark, and signs in a speech
// bubble, each drawn with a painter so that nothing has to be shipped or licensed.
#include "ui/editors/EmotePictures.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QtMath>
#include <array>
#include <variant>

#include "ui/editors/EmotePainting.h"

namespace mdb {

namespace emote {

QPainterPath heartPath(QPointF c, qreal s) {
    QPainterPath path;
    const qreal h = s / 2;
    path.moveTo(c.x(), c.y() + h * 0.95);
    path.cubicTo(c.x() - h * 1.9, c.y() - h * 0.1, c.x() - h * 0.8, c.y() - h * 1.45, c.x(),
                 c.y() - h * 0.45);
    path.cubicTo(c.x() + h * 0.8, c.y() - h * 1.45, c.x() + h * 1.9, c.y() - h * 0.1, c.x(),
                 c.y() + h * 0.95);
    return path;
}

QPainterPath starPath(QPointF c, qreal outer, qreal inner, int points) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / points;
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath dropPath(QPointF c, qreal s) {
    QPainterPath path;
    path.moveTo(c.x(), c.y() - s * 0.6);
    path.cubicTo(c.x() + s * 0.15, c.y() - s * 0.25, c.x() + s * 0.45, c.y() + s * 0.05, c.x(),
                 c.y() + s * 0.45);
    path.cubicTo(c.x() - s * 0.45, c.y() + s * 0.05, c.x() - s * 0.15, c.y() - s * 0.25, c.x(),
                 c.y() - s * 0.6);
    return path;
}

QPainterPath spiralPath(QPointF c, qreal radius, qreal turns) {
    QPainterPath path(c);
    const int steps = int(turns * 24);
    for (int i = 1; i <= steps; ++i) {
        const qreal t = qreal(i) / steps;
        const qreal a = t * turns * 2 * M_PI;
        path.lineTo(c.x() + radius * t * qCos(a), c.y() + radius * t * qSin(a));
    }
    return path;
}

void fillOutlined(QPainter& p, const QPainterPath& path, const QColor& fill, qreal width) {
    p.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

void stroke(QPainter& p, const QPainterPath& path, const QColor& color, qreal width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

}  // namespace emote

namespace {

using namespace emote;

enum class Eyes {
    Dot,
    Happy,
    Closed,
    Wide,
    Cross,
    Heart,
    Star,
    Spiral,
    Angry,
    Wink,
    Sad,
    Shades,
    Tall
};
enum class Mouth { Smile, Grin, Frown, Flat, Round, Wavy, Tongue, Teeth, Small, Cat, Kiss, None };
enum class Mark { None, Blush, Sweat, Tear, Tears, Anger, Sleep, Heart, Steam, Sparkle };

struct Face {
    Eyes eyes;
    Mouth mouth;
    Mark mark;
    QRgb skin;
};
struct Signed {
    Sign sign;
    QRgb color;
};
using Picture = std::variant<Face, Signed>;

constexpr QRgb yellow = 0xffffd84a, red = 0xffe53935, blue = 0xff1e88e5, green = 0xff43a047;
constexpr QRgb orange = 0xfffb8c00, purple = 0xff8e24aa, pink = 0xffec407a, grey = 0xff78909c;

// One entry per emotion number, in number order.
const std::array<Picture, EmotionCount>& pictures() {
    static const std::array<Picture, EmotionCount> table{{
        Signed{Sign::Exclaim, red},                                // 0 surprise
        Signed{Sign::Question, blue},                              // 1 puzzled
        Signed{Sign::Heart, pink},                                 // 2 fond
        Face{Eyes::Dot, Mouth::Flat, Mark::Sweat, yellow},         // 3 nervous
        Signed{Sign::Note, purple},                                // 4 humming
        Face{Eyes::Angry, Mouth::Frown, Mark::Anger, yellow},      // 5 annoyed
        Signed{Sign::Ellipsis, grey},                              // 6 speechless
        Signed{Sign::Bulb, orange},                                // 7 idea
        Face{Eyes::Closed, Mouth::Small, Mark::Sleep, yellow},     // 8 asleep
        Signed{Sign::Star, orange},                                // 9 sparkling
        Face{Eyes::Sad, Mouth::Frown, Mark::Tear, 0xffa8d8ff},     // 10 sad
        Face{Eyes::Dot, Mouth::Smile, Mark::None, yellow},         // 11 smiling
        Face{Eyes::Happy, Mouth::Grin, Mark::None, yellow},        // 12 laughing
        Face{Eyes::Angry, Mouth::Teeth, Mark::Steam, 0xffff8a65},  // 13 furious
        Face{Eyes::Wide, Mouth::Round, Mark::None, yellow},        // 14 shocked
        Face{Eyes::Wink, Mouth::Smile, Mark::Sparkle, yellow},     // 15 winking
        Face{Eyes::Happy, Mouth::Tongue, Mark::None, yellow},      // 16 teasing
        Face{Eyes::Cross, Mouth::Wavy, Mark::None, 0xffb5e08a},    // 17 dizzy
        Face{Eyes::Happy, Mouth::Smile, Mark::Blush, yellow},      // 18 shy
        Face{Eyes::Shades, Mouth::Smile, Mark::None, yellow},      // 19 cool
        Face{Eyes::Heart, Mouth::Grin, Mark::None, 0xffffc1d6},    // 20 in love
        Face{Eyes::Closed, Mouth::Wavy, Mark::Tears, 0xffa8d8ff},  // 21 crying
        Face{Eyes::Closed, Mouth::Kiss, Mark::Heart, yellow},      // 22 kiss
        Face{Eyes::Sad, Mouth::Wavy, Mark::Sweat, yellow},         // 23 worried
        Signed{Sign::BrokenHeart, red},                            // 24 heartbroken
        Signed{Sign::Lightning, orange},                           // 25 jolted
        Signed{Sign::Sun, orange},                                 // 26 cheerful
        Signed{Sign::Rain, blue},                                  // 27 gloomy
        Signed{Sign::Check, green},                                // 28 agreed
        Signed{Sign::Cross, red},                                  // 29 refused
        Signed{Sign::Coin, orange},                                // 30 money
        Signed{Sign::Gift, pink},                                  // 31 present
        Signed{Sign::Flower, pink},                                // 32 calm
        Signed{Sign::Swirl, purple},                               // 33 confused
        Signed{Sign::Fire, red},                                   // 34 fired up
        Signed{Sign::Snowflake, blue},                             // 35 chilled
        Signed{Sign::Moon, orange},                                // 36 night
        Signed{Sign::Paw, grey},                                   // 37 playful
        Signed{Sign::ExclaimQuestion, purple},                     // 38 startled
        Signed{Sign::DoubleExclaim, red},                          // 39 alarmed
        Face{Eyes::Star, Mouth::Grin, Mark::None, yellow},         // 40 amazed
        Face{Eyes::Spiral, Mouth::Round, Mark::Sweat, yellow},     // 41 bewildered
        Face{Eyes::Dot, Mouth::Cat, Mark::Blush, yellow},          // 42 pleased
        Face{Eyes::Tall, Mouth::Small, Mark::None, yellow},        // 43 wondering
        Signed{Sign::Cloud, grey},                                 // 44 thinking
        Signed{Sign::Drop, blue},                                  // 45 embarrassed
        Face{Eyes::Closed, Mouth::Smile, Mark::None, yellow},      // 46 content
        Face{Eyes::Tall, Mouth::Flat, Mark::None, yellow},         // 47 blank
    }};
    return table;
}

constexpr QPointF leftEye(8.5, 9), rightEye(15.5, 9);

void drawEye(QPainter& p, Eyes eyes, QPointF e, bool left) {
    QPainterPath path;
    switch (eyes) {
        case Eyes::Dot:
        case Eyes::Angry:
        case Eyes::Sad:
            path.addEllipse(e, 1.3, 1.6);
            fillOutlined(p, path, ink, 0.1);
            break;
        case Eyes::Wink:
            drawEye(p, left ? Eyes::Dot : Eyes::Happy, e, left);
            break;
        case Eyes::Happy:
            path.moveTo(e.x() - 2, e.y() + 1);
            path.quadTo(e.x(), e.y() - 2, e.x() + 2, e.y() + 1);
            stroke(p, path, ink, 1.3);
            break;
        case Eyes::Closed:
            path.moveTo(e.x() - 2, e.y());
            path.quadTo(e.x(), e.y() + 2, e.x() + 2, e.y());
            stroke(p, path, ink, 1.3);
            break;
        case Eyes::Wide:
            path.addEllipse(e, 2.4, 2.4);
            fillOutlined(p, path, Qt::white, 0.9);
            path.clear();
            path.addEllipse(e, 1, 1);
            fillOutlined(p, path, ink, 0.1);
            break;
        case Eyes::Cross:
            path.moveTo(e.x() - 1.6, e.y() - 1.6);
            path.lineTo(e.x() + 1.6, e.y() + 1.6);
            path.moveTo(e.x() + 1.6, e.y() - 1.6);
            path.lineTo(e.x() - 1.6, e.y() + 1.6);
            stroke(p, path, ink, 1.3);
            break;
        case Eyes::Heart:
            fillOutlined(p, heartPath(e, 4.6), QColor(red), 0.6);
            break;
        case Eyes::Star:
            fillOutlined(p, starPath(e, 2.8, 1.2), QColor(orange), 0.6);
            break;
        case Eyes::Spiral:
            stroke(p, spiralPath(e, 2.4, 2), ink, 0.9);
            break;
        case Eyes::Shades:
            path.addRoundedRect(QRectF(e.x() - 3.2, e.y() - 2, 6.4, 4), 1.5, 1.5);
            fillOutlined(p, path, ink, 0.5);
            break;
        case Eyes::Tall:
            path.addEllipse(e, 1.1, 2.6);
            fillOutlined(p, path, ink, 0.1);
            break;
    }
    // brows tilted towards the nose read as anger, raised at the nose as sorrow
    const qreal inner = left ? 1 : -1;
    if (eyes == Eyes::Angry || eyes == Eyes::Sad) {
        const qreal tilt = eyes == Eyes::Angry ? 1.4 : -1.4;
        QPainterPath brow;
        brow.moveTo(e.x() - 2.2 * inner, e.y() - 3.4);
        brow.lineTo(e.x() + 2 * inner, e.y() - 3.4 + tilt);
        stroke(p, brow, ink, 1.1);
    }
}

void drawMouth(QPainter& p, Mouth mouth) {
    QPainterPath path;
    switch (mouth) {
        case Mouth::Smile:
        case Mouth::Tongue:
            path.moveTo(8, 13.5);
            path.quadTo(12, 17.5, 16, 13.5);
            stroke(p, path, ink, 1.2);
            if (mouth == Mouth::Tongue) {
                QPainterPath tongue;
                tongue.addEllipse(QPointF(13.2, 16.3), 1.6, 1.8);
                fillOutlined(p, tongue, QColor(pink), 0.7);
            }
            break;
        case Mouth::Grin:
            path.moveTo(7.5, 13);
            path.lineTo(16.5, 13);
            path.quadTo(12, 20.5, 7.5, 13);
            fillOutlined(p, path, QColor(0xff8b2e2e), 0.9);
            break;
        case Mouth::Frown:
            path.moveTo(8.5, 17);
            path.quadTo(12, 13, 15.5, 17);
            stroke(p, path, ink, 1.2);
            break;
        case Mouth::Flat:
            path.moveTo(9, 15.2);
            path.lineTo(15, 15.2);
            stroke(p, path, ink, 1.2);
            break;
        case Mouth::Round:
            path.addEllipse(QPointF(12, 15.3), 2, 2.4);
            fillOutlined(p, path, QColor(0xff8b2e2e), 0.8);
            break;
        case Mouth::Wavy:
            path.moveTo(8, 15.5);
            for (int i = 0; i < 4; ++i) path.quadTo(9 + 2 * i, i % 2 ? 17 : 14, 10 + 2 * i, 15.5);
            stroke(p, path, ink, 1.1);
            break;
        case Mouth::Teeth:
            path.addRect(QRectF(8, 13.2, 8, 3.6));
            fillOutlined(p, path, Qt::white, 0.9);
            path.clear();
            path.moveTo(8, 15);
            path.lineTo(16, 15);
            for (qreal x : {10.0, 12.0, 14.0}) {
                path.moveTo(x, 13.2);
                path.lineTo(x, 16.8);
            }
            stroke(p, path, ink, 0.6);
            break;
        case Mouth::Small:
            path.addEllipse(QPointF(12, 15.3), 1, 1.1);
            stroke(p, path, ink, 1);
            break;
        case Mouth::Cat:
            path.moveTo(8.5, 14);
            path.quadTo(10.25, 16.8, 12, 14);
            path.quadTo(13.75, 16.8, 15.5, 14);
            stroke(p, path, ink, 1.1);
            break;
        case Mouth::Kiss:
            path.moveTo(11, 13.4);
            path.quadTo(13.8, 14.2, 11.6, 15);
            path.quadTo(13.8, 15.8, 11, 16.6);
            stroke(p, path, ink, 1.1);
            break;
        case Mouth::None:
            break;
    }
}

void drawMark(QPainter& p, Mark mark) {
    QPainterPath path;
    switch (mark) {
        case Mark::None:
            break;
        case Mark::Blush:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 110, 140, 150));
            p.drawEllipse(QPointF(5.8, 13), 2, 1.2);
            p.drawEllipse(QPointF(18.2, 13), 2, 1.2);
            break;
        case Mark::Sweat:
            fillOutlined(p, dropPath(QPointF(20, 5), 5), QColor(0xff90caf9), 0.7);
            break;
        case Mark::Tear:
            fillOutlined(p, dropPath(QPointF(7.2, 13.2), 3.6), QColor(0xff42a5f5), 0.6);
            break;
        case Mark::Tears:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xff42a5f5));
            p.drawRoundedRect(QRectF(6.9, 10.5, 2.2, 9), 1, 1);
            p.drawRoundedRect(QRectF(14.9, 10.5, 2.2, 9), 1, 1);
            break;
        case Mark::Anger:
            for (int q = 0; q < 4; ++q) {
                const qreal sx = q % 2 ? 1 : -1, sy = q / 2 ? 1 : -1;
                path.moveTo(19.5 + sx * 0.8, 4 + sy * 3);
                path.quadTo(19.5 + sx * 0.8, 4 + sy * 0.8, 19.5 + sx * 3, 4 + sy * 0.8);
            }
            stroke(p, path, QColor(red), 1.3);
            break;
        case Mark::Sleep:
            for (auto [x, y, s] : {std::array<qreal, 3>{15.2, 2.2, 3.4}, {19.6, 1, 2.6}}) {
                path.moveTo(x, y);
                path.lineTo(x + s, y);
                path.lineTo(x, y + s);
                path.lineTo(x + s, y + s);
            }
            stroke(p, path, QColor(blue), 0.9);
            break;
        case Mark::Heart:
            fillOutlined(p, heartPath(QPointF(20, 4.5), 5), QColor(red), 0.6);
            break;
        case Mark::Steam:
            for (qreal x : {3.2, 20.8}) path.addEllipse(QPointF(x, 3.2), 2.4, 2);
            fillOutlined(p, path, QColor(0xffeceff1), 0.7);
            break;
        case Mark::Sparkle:
            fillOutlined(p, starPath(QPointF(20.5, 3.5), 3.2, 0.9, 4), QColor(orange), 0.5);
            break;
    }
}

void drawFace(QPainter& p, const Face& face) {
    QPainterPath head;
    head.addEllipse(QPointF(12, 11), 9.5, 9.5);
    fillOutlined(p, head, QColor(face.skin), 1.2);
    drawEye(p, face.eyes, leftEye, true);
    drawEye(p, face.eyes, rightEye, false);
    if (face.eyes == Eyes::Shades) {
        QPainterPath bridge(QPointF(11.7, 8.4));
        bridge.lineTo(12.3, 8.4);
        stroke(p, bridge, ink, 1);
    }
    drawMouth(p, face.mouth);
    drawMark(p, face.mark);
}

}  // namespace

QSize emotionPictureSize() {
    return QSize(24, 22);
}

QImage emotionPicture(int number, qreal scale) {
    if (number < 0 || number >= EmotionCount || scale <= 0) return {};
    const QSize size = emotionPictureSize();
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 24.0, size.height() / 22.0);
    const Picture& picture = pictures()[size_t(number)];
    if (const auto* face = std::get_if<Face>(&picture)) {
        drawFace(p, *face);
    } else {
        const auto& sign = std::get<Signed>(picture);
        drawSign(p, sign.sign, QColor(sign.color));
    }
    return image;
}

namespace {

// Draws an emotion's picture when a button first shows it, not when the button is made: the
// status-only view never shows the 48 pictures, and drawing them with paths is most of what
// the emotion editor costs to build. Each picture is drawn once into the pixmap cache, at each
// density asked for, and taken from there by every later look.
class EmotionIconEngine : public QIconEngine {
public:
    explicit EmotionIconEngine(int number) : number_(number) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return drawn().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return drawn().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return drawn().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {emotionPictureSize(), emotionPictureSize() * 2};
    }
    bool isNull() override { return false; }
    QIconEngine* clone() const override { return new EmotionIconEngine(number_); }

private:
    const QIcon& drawn() {
        if (icon_.isNull()) {
            for (qreal scale : {1.0, 2.0}) icon_.addPixmap(cachedPicture(number_, scale));
        }
        return icon_;
    }
    static QPixmap cachedPicture(int number, qreal scale) {
        const QString key = QStringLiteral("mdb-emotion-%1@%2").arg(number).arg(scale);
        QPixmap pixmap;
        if (!QPixmapCache::find(key, &pixmap)) {
            pixmap = QPixmap::fromImage(emotionPicture(number, scale));
            QPixmapCache::insert(key, pixmap);
        }
        return pixmap;
    }

    int number_;
    QIcon icon_;
};

}  // namespace

QIcon emotionIcon(int number) {
    if (number < 0 || number >= EmotionCount) return {};
    return QIcon(new EmotionIconEngine(number));
}

}  // namespace mdb
