#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "ui/editors/EmotePictures.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST(EmotionPictures, FortyEightSmallPicturesAllDifferent) {
    const QSize size = emotionPictureSize();
    EXPECT_TRUE(size.width() >= 16 && size.width() <= 24 && size.height() >= 17 &&
                size.height() <= 22);
    std::set<QByteArray> seen;
    for (int n = 0; n < EmotionCount; ++n) {
        const QImage picture = emotionPicture(n).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(picture.size(), size) << n;
        int drawn = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) drawn += qAlpha(picture.pixel(x, y)) > 128;
        EXPECT_GT(drawn, size.width() * size.height() / 4) << n;  // a picture, not a speck
        seen.insert(
            QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()));
        EXPECT_EQ(emotionPicture(n, 2).size(), size * 2) << n;
    }
    EXPECT_EQ(seen.size(), size_t(EmotionCount));
    EXPECT_TRUE(emotionPicture(-1).isNull());
    EXPECT_TRUE(emotionPicture(EmotionCount).isNull());
}

}  // namespace mdb::test
