#include <gtest/gtest.h>

#include <QFont>
#include <QLabel>
#include <QWidget>

#include "ui/controls/Caption.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

// A caption and a plain label given the same text, font, alignment and margins.
void expectSameSize(Caption& caption, QLabel& label, const char* step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());
    EXPECT_EQ(caption.minimumSizeHint(), label.minimumSizeHint());
}

}  // namespace

// A caption asks for the size a label of the same text asks for, in the window's type and in the
// frames' small type, and measures again when its text, font, alignment or margins change after
// it was first measured; a caption that wraps its words is measured as a label is.
TEST(Caption, AsksForTheSizeOfALabelThroughChangesOfTextAndFont) {
    QWidget parent;
    QFont small = parent.font();
    small.setPixelSize(11);
    for (const QString& text :
         {u"表示モンスター名"_s, u"ＨＰ"_s, u"/100000 ?"_s, u""_s, u"MVPモンスター名"_s}) {
        SCOPED_TRACE(text.toStdString());
        Caption caption(text, &parent);
        QLabel label(text, &parent);
        for (QLabel* each : {static_cast<QLabel*>(&caption), &label}) {
            each->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        expectSameSize(caption, label, "as made");

        for (QLabel* each : {static_cast<QLabel*>(&caption), &label}) {
            each->setText(text + u"の最大追尾距離"_s);
        }
        expectSameSize(caption, label, "longer text");

        for (QLabel* each : {static_cast<QLabel*>(&caption), &label}) each->setFont(small);
        expectSameSize(caption, label, "small type");

        QFont bold = small;
        bold.setBold(true);
        bold.setPixelSize(17);
        for (QLabel* each : {static_cast<QLabel*>(&caption), &label}) {
            each->setFont(bold);
            each->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            each->setContentsMargins(3, 1, 5, 2);
        }
        expectSameSize(caption, label, "larger bold type with margins");

        for (QLabel* each : {static_cast<QLabel*>(&caption), &label}) {
            each->setText(u"一行に収まらない長い説明 "_s.repeated(6));
            each->setWordWrap(true);
        }
        expectSameSize(caption, label, "wrapped");
    }
}
