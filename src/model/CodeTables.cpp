#include "model/CodeTables.h"

#include <algorithm>

namespace mdb {

using namespace Qt::StringLiterals;

const QStringList& RaceNames() {
    static const QStringList names{u"無"_s,   u"不死"_s, u"動物"_s, u"植物"_s, u"昆虫"_s,
                                   u"魚貝"_s, u"悪魔"_s, u"人間"_s, u"天使"_s, u"竜"_s};
    return names;
}

const QStringList& SizeNames() {
    static const QStringList names{u"小"_s, u"中"_s, u"大"_s, u"不明"_s};
    return names;
}

const QStringList& ElementNames() {
    static const QStringList names = [] {
        const QStringList kinds{u"無"_s, u"水"_s, u"地"_s, u"火"_s, u"風"_s,
                                u"毒"_s, u"聖"_s, u"闇"_s, u"念"_s, u"不死"_s};
        const QStringList levels{u"１"_s, u"２"_s, u"３"_s, u"４"_s};
        QStringList out;
        for (const QString& kind : kinds) {
            for (const QString& level : levels) out << kind + level;
        }
        return out;
    }();
    return names;
}

const QStringList& EmoteStateLabels() {
    static const QStringList labels{u"待機時"_s,   u"移動時"_s, u"戦闘時"_s,
                                    u"ルート時"_s, u"死亡時"_s, u"戦闘終了時"_s,
                                    u"追跡時"_s,   u"怒り時"_s, u"索敵時"_s};
    return labels;
}

const QStringList& EmoteStateNames() {
    static const QStringList names{u"IDLE_ST"_s,     u"BERSERK_ST"_s, u"RUSH_ST"_s,
                                   u"MOVEITEM_ST"_s, u"DEAD_ST"_s,    u"RMOVE_ST"_s,
                                   u"FOLLOW_ST"_s,   u"ANGRY_ST"_s,   u"SEARCH_ST"_s};
    return names;
}

int elementCodeForRow(int row) {
    return (row % 4 + 1) * 20 + row / 4;
}

std::optional<int> elementRowForCode(qint64 code) {
    const qint64 level = code / 20;
    const qint64 kind = code % 20;
    if (code < 0 || level < 1 || level > 4 || kind > 9) return std::nullopt;
    return int(kind * 4 + level - 1);
}

std::array<qint16, 7> ModeBitValues() {
    return {0, 1, 2, 4, 8, 16, 32};
}

const std::array<int, 32>& ListedModeValues() {
    static const std::array<int, 32> values{0,  1,  2,  3,  4,  5,  7,  8,  9,  11, 13,
                                            15, 16, 17, 19, 21, 23, 25, 27, 29, 32, 33,
                                            35, 37, 39, 41, 43, 45, 47, 49, 51, 53};
    return values;
}

bool isListedModeValue(double value) {
    const auto& values = ListedModeValues();
    return std::any_of(values.begin(), values.end(), [&](int v) { return double(v) == value; });
}

std::array<bool, 7> modeBoxPattern(int value) {
    std::array<bool, 7> boxes{};
    boxes[0] = value == 0;
    for (int k = 1; k <= 6; ++k) boxes[size_t(k)] = (value >> (k - 1)) & 1;
    return boxes;
}

}  // namespace mdb
