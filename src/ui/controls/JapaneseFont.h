#pragma once

class QWidget;

namespace mdb {

// Draws every Japanese text of `widget` in one installed Japanese font. Left to itself, each
// run of text falls back on a font of its own: a line of kanji and digits alone
// ("2004年12月16日作成") is taken for Chinese and drawn in another font than the lines around
// it. Latin letters and digits keep the widget's font.
void preferJapaneseFont(QWidget* widget);

}  // namespace mdb
