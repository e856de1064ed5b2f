#include "ui/grid/GridColumns.h"

#include "model/MonsterDatabase.h"
#include "model/NumericText.h"
#include "model/FieldText.h"
#include "model/ValueLimits.h"
#include "model/ValueRules.h"
#include "ui/editors/RelatedMonsterEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kDisplayName = u"表示モンスター名"_s;

QString fullWidthDigit(int n) {
    return QString(QChar(u'０' + n));
}

std::vector<GridColumn> statusColumns() {
    using namespace StatusField;
    const QString captions[] = {
        u"ID"_s,           u"Name"_s,     kDisplayName,      u"Mobレベル"_s,   u"ＨＰ"_s,
        u"ＳＰ"_s,         u"ＥＸＰ"_s,   u"ＪｏｂＥＸＰ"_s, u"射程"_s,        u"最低攻撃力"_s,
        u"最大攻撃力"_s,   u"ＤＥＦ"_s,   u"ＭＤＥＦ"_s,     u"ＳＴＲ"_s,      u"ＡＧＩ"_s,
        u"ＶＩＴ"_s,       u"ＩＮＴ"_s,   u"ＤＥＸ"_s,       u"ＬＵＫ"_s,      u"目標捕捉距離"_s,
        u"最大追尾距離"_s, u"大きさ"_s,   u"種族"_s,         u"属性"_s,        u"モード"_s,
        u"移動速度"_s,     u"攻撃速度"_s, u"攻撃動作速度"_s, u"被害動作速度"_s};
    std::vector<GridColumn> columns{{Name, captions[Name - 1], CellKind::Text, CellRule::ReadOnly},
                                    {DisplayName, kDisplayName, CellKind::Text, CellRule::FreeText},
                                    {Id, captions[Id - 1], CellKind::Number, CellRule::ReadOnly}};
    for (int f = Level; f <= Width; ++f) {
        // size, race and element are codes picked from lists, the mode a sum of flags
        const bool code = f == Size || f == Race || f == Element || f == Mode;
        columns.push_back(
            {f, captions[f - 1], CellKind::Number, code ? CellRule::ReadOnly : CellRule::Number});
    }
    return columns;
}

std::vector<GridColumn> dropColumns() {
    std::vector<GridColumn> columns{
        {DropField::Name, u"NameID"_s, CellKind::Text, CellRule::ReadOnly},
        {0, kDisplayName, CellKind::Text, CellRule::ReadOnly}};
    for (int i = 0; i < DropField::Slots; ++i) {
        columns.push_back({DropField::Item(i), u"ドロップアイテム"_s + fullWidthDigit(i + 1),
                           CellKind::Number, CellRule::Number});
        columns.push_back({DropField::Rate(i), u"確率"_s + fullWidthDigit(i + 1), CellKind::Number,
                           CellRule::DropRate});
    }
    return columns;
}

std::vector<GridColumn> mvpColumns() {
    const QString captions[] = {u"MVPモンスター名"_s,  u"取得アイテム１"_s,   u"取得アイテム２"_s,
                                u"特別経験値"_s,       u"経験値獲得率"_s,     u"特別アイテム＃１"_s,
                                u"獲得率＃１"_s,       u"特別アイテム＃２"_s, u"獲得率＃２"_s,
                                u"特別アイテム＃３"_s, u"獲得率＃３"_s};
    std::vector<GridColumn> columns{{1, captions[0], CellKind::Text, CellRule::ReadOnly},
                                    {0, kDisplayName, CellKind::Text, CellRule::ReadOnly}};
    // the MVP form's number boxes have no upper limit, its rates included
    for (int f = 2; f <= MvpField::Width; ++f) {
        columns.push_back({f, captions[f - 1], CellKind::Number, CellRule::Number});
    }
    return columns;
}

std::vector<GridColumn> relationColumns(const QString& owner, const QString& related,
                                        const QString& count, CellRule countRule) {
    std::vector<GridColumn> columns{
        {RelationField::Name, owner, CellKind::Text, CellRule::ReadOnly},
        {0, kDisplayName, CellKind::Text, CellRule::ReadOnly}};
    for (int i = 0; i < RelationField::Slots; ++i) {
        columns.push_back({RelationField::Related(i), related + fullWidthDigit(i + 1),
                           CellKind::Text, CellRule::ReadOnly});
    }
    columns.push_back({RelationField::Count, count, CellKind::Number, countRule});
    return columns;
}

std::vector<GridColumn> emoteColumns() {
    return {{EmoteField::Name, u"名前"_s, CellKind::Text, CellRule::ReadOnly},
            {0, kDisplayName, CellKind::Text, CellRule::ReadOnly},
            {EmoteField::State, u"状況"_s, CellKind::Text, CellRule::ReadOnly},
            {EmoteField::Emotion, u"エモーション"_s, CellKind::Number, CellRule::Emotion}};
}

}  // namespace

std::vector<GridColumn> gridColumnsOf(const MonsterDatabase& db, const Table& table) {
    if (&table == &db.StatusTable) return statusColumns();
    if (&table == &db.DropTable) return dropColumns();
    if (&table == &db.MvpTable) return mvpColumns();
    if (&table == &db.MorphTable) {
        return relationColumns(u"変態元"_s, u"変態後#"_s, u"総変態数？"_s, CellRule::MorphCount);
    }
    if (&table == &db.SummonTable) {
        return relationColumns(u"召喚主"_s, u"召喚＃"_s, u"召喚数"_s, CellRule::LimitedCount);
    }
    if (&table == &db.SlaveTable) {
        return relationColumns(u"基本Ｍｏｂ"_s, u"取り巻き＃"_s, u"取り巻き数"_s,
                               CellRule::LimitedCount);
    }
    return emoteColumns();
}

qint32 firstShownRecord(const MonsterDatabase& db, const Table& table) {
    return &table == &db.StatusTable ? 2 : 1;
}

CellVerdict judgeCellText(CellRule rule, const QString& typed) {
    CellVerdict verdict;
    if (rule == CellRule::ReadOnly) {
        verdict.refusal = u"この列は一覧では編集できません"_s;
        return verdict;
    }
    if (rule == CellRule::FreeText) {
        // as the display name box settles on leaving it
        verdict.text = trimBlanks(typed);
        if (verdict.text.isEmpty()) verdict.text = u"0"_s;
        verdict.accepted = true;
        return verdict;
    }
    QString text = trimBlanks(typed);
    // an emptied box becomes 0 at once in every form
    if (text.isEmpty()) text = u"0"_s;
    // The forms turn anything else that is not a number into 0 when the box is left; in a grid
    // of many cells a slip of the finger would zero a value unseen, so it is refused instead.
    if (!isValidNumber(text)) {
        verdict.refusal = u"「%1」は数値ではありません。数値を入力して下さい"_s.arg(typed);
        return verdict;
    }
    if (numericValue(text) < 0) {
        verdict.refusal = u"「%1」は負の数です。0 以上の数値を入力して下さい"_s.arg(typed);
        return verdict;
    }
    verdict.accepted = true;
    switch (rule) {
        case CellRule::DropRate:
            if (numericValue(text) > kRateLimit) text = QString::number(kRateLimit);
            break;
        case CellRule::MorphCount:
            text = NormalizeMorphCount(text);
            break;
        case CellRule::LimitedCount: {
            const LimitedCount settled = NormalizeLimitedCount(text);
            text = settled.text;
            verdict.limited = settled.limited;
            if (settled.limited) verdict.refusal = limitedCountMessage();
            break;
        }
        case CellRule::Emotion:
            text = NormalizeEmotion(text).text;
            break;
        default:
            break;
    }
    verdict.text = text;
    return verdict;
}

}  // namespace mdb
