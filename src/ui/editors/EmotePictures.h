#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

namespace mdb {

// Emotions are numbered 0..47; each has a small picture of its own, drawn by this program.
constexpr int EmotionCount = 48;

// Size of every emotion picture in device-independent pixels.
QSize emotionPictureSize();

// The picture of emotion `number` (0..47) at `scale` device pixels per logical pixel; a null
// image for any other number.
QImage emotionPicture(int number, qreal scale = 1.0);

// The same picture at normal and at double density, for a button.
QIcon emotionIcon(int number);

}  // namespace mdb
