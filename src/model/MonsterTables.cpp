// The seven monster tables: each field's name, caption and role, each table's frame title and
// the fewest records the editor starts with.
#include "model/TableDescriptor.h"
#include "model/ValueLimits.h"

namespace mdb::Tables {

using namespace Qt::StringLiterals;

namespace {

FieldDescriptor fieldOf(const QString& name, const QString& caption, FieldRole role,
                        int limit = 0) {
    return FieldDescriptor{name, caption, role, limit, CountRule::None};
}

FieldDescriptor picked(FieldDescriptor field) {
    field.picked = true;
    return field;
}

TableDescriptor monsterTable(const QString& fileName, const QString& frameTitle,
                             const QString& shortTitle, std::vector<FieldDescriptor> fields,
                             int quoted = 0, int slotCount = 0) {
    TableDescriptor d;
    d.fileName = fileName;
    d.width = int(fields.size());
    for (const FieldDescriptor& f : fields) d.fieldNames << f.name;
    d.fields = std::move(fields);
    d.quotedField = quoted;
    d.slotCount = slotCount;
    d.frameTitle = frameTitle;
    d.shortTitle = shortTitle;
    return d;
}

const QStringList& fullWidthDigits() {
    static const QStringList digits{u"１"_s, u"２"_s, u"３"_s, u"４"_s,
                                    u"５"_s, u"６"_s, u"７"_s, u"８"_s};
    return digits;
}

TableDescriptor status() {
    using R = FieldRole;
    const auto number = [](const QString& name, const QString& caption) {
        return fieldOf(name, caption, R::Number);
    };
    TableDescriptor d =
        monsterTable(u"mob_stat_db.txt"_s,
                     u"モンスターステータスＤＢ 編集項目　(mob_stat_db.txt)"_s, u"ステータス"_s,
                     {picked(number(u"Id"_s, u"ID"_s)),
                      fieldOf(u"Name"_s, u"Name"_s, R::Key),
                      fieldOf(u"DisplayName"_s, u"表示モンスター名"_s, R::Text),
                      number(u"Level"_s, u"Mobレベル"_s),
                      number(u"Hp"_s, u"ＨＰ"_s),
                      number(u"Sp"_s, u"ＳＰ"_s),
                      number(u"Exp"_s, u"ＥＸＰ"_s),
                      number(u"JobExp"_s, u"ＪｏｂＥＸＰ"_s),
                      number(u"Range"_s, u"射程"_s),
                      number(u"AtkMin"_s, u"最低攻撃力"_s),
                      number(u"AtkMax"_s, u"最大攻撃力"_s),
                      number(u"Def"_s, u"ＤＥＦ"_s),
                      number(u"Mdef"_s, u"ＭＤＥＦ"_s),
                      number(u"Str"_s, u"ＳＴＲ"_s),
                      number(u"Agi"_s, u"ＡＧＩ"_s),
                      number(u"Vit"_s, u"ＶＩＴ"_s),
                      number(u"Int"_s, u"ＩＮＴ"_s),
                      number(u"Dex"_s, u"ＤＥＸ"_s),
                      number(u"Luk"_s, u"ＬＵＫ"_s),
                      number(u"SearchRange"_s, u"目標捕捉距離"_s),
                      number(u"ChaseRange"_s, u"最大追尾距離"_s),
                      picked(number(u"Size"_s, u"大きさ"_s)),
                      picked(number(u"Race"_s, u"種族"_s)),
                      picked(number(u"Element"_s, u"属性"_s)),
                      picked(number(u"Mode"_s, u"モード"_s)),
                      number(u"MoveSpeed"_s, u"移動速度"_s),
                      number(u"AttackDelay"_s, u"攻撃速度"_s),
                      number(u"AttackMotion"_s, u"攻撃動作速度"_s),
                      number(u"DamageMotion"_s, u"被害動作速度"_s)},
                     StatusField::DisplayName);
    // the start shows record 2 first: record 1 is the placeholder, never a monster
    d.minRecords = 2;
    d.tooFewRecords = u"モンスターのレコードがありません（先頭のダミー行の後に１件以上必要です）"_s;
    return d;
}

TableDescriptor drop() {
    std::vector<FieldDescriptor> fields{fieldOf(u"Name"_s, u"NameID"_s, FieldRole::Key)};
    for (int i = 0; i < DropField::Slots; ++i) {
        const QString n = QString::number(i + 1);
        fields.push_back(fieldOf(u"Item"_s + n, u"ドロップアイテム"_s + fullWidthDigits()[i],
                                 FieldRole::ItemReference));
        fields.push_back(
            fieldOf(u"Rate"_s + n, u"確率"_s + fullWidthDigits()[i], FieldRole::Rate, kRateLimit));
    }
    return monsterTable(u"mob_drop_db.txt"_s,
                        u"モンスタードロップＤＢ 編集項目　(mob_drop_db.txt)"_s, u"ドロップ"_s,
                        std::move(fields), 0, DropField::Slots);
}

TableDescriptor mvp() {
    using R = FieldRole;
    std::vector<FieldDescriptor> fields{
        fieldOf(u"Name"_s, u"MVPモンスター名"_s, R::Key),
        fieldOf(u"MvpItem1"_s, u"取得アイテム１"_s, R::ItemReference),
        fieldOf(u"MvpItem2"_s, u"取得アイテム２"_s, R::ItemReference),
        fieldOf(u"MvpExp"_s, u"特別経験値"_s, R::Number),
        fieldOf(u"MvpExpRate"_s, u"経験値獲得率"_s, R::Number)};
    for (int i = 0; i < MvpField::Specials; ++i) {
        const QString n = QString::number(i + 1);
        const QString digit = fullWidthDigits()[i];
        fields.push_back(
            fieldOf(u"MvpSpecialItem"_s + n, u"特別アイテム＃"_s + digit, R::ItemReference));
        fields.push_back(
            fieldOf(u"MvpSpecialRate"_s + n, u"獲得率＃"_s + digit, R::Rate, kRateLimit));
    }
    return monsterTable(u"mob_mvp_db.txt"_s, u"モンスターＭＶＰ ＤＢ 編集項目　(mob_mvp_db.txt)"_s,
                        u"ＭＶＰ"_s, std::move(fields), 0, MvpField::Specials);
}

// The owner, five related monsters (`stem`1..`stem`5, captioned `related` and the digit), then
// `stem`Count.
TableDescriptor relationTable(const QString& fileName, const QString& frameTitle,
                              const QString& shortTitle, const QString& stem, const QString& owner,
                              const QString& related, const QString& count, CountRule rule) {
    std::vector<FieldDescriptor> fields{fieldOf(u"Name"_s, owner, FieldRole::Key)};
    for (int i = 0; i < RelationField::Slots; ++i) {
        fields.push_back(fieldOf(stem + QString::number(i + 1), related + fullWidthDigits()[i],
                                 FieldRole::MonsterReference));
    }
    FieldDescriptor countField = fieldOf(stem + u"Count"_s, count, FieldRole::Count);
    countField.countRule = rule;
    if (rule == CountRule::UpToLimit) countField.limit = kRelationCountLimit;
    fields.push_back(countField);
    return monsterTable(fileName, frameTitle, shortTitle, std::move(fields), 0,
                        RelationField::Slots);
}

TableDescriptor morph() {
    TableDescriptor d = relationTable(
        u"mob_morph_db.txt"_s, u"変態モンスターＤＢ　(mob_morph_db.txt)"_s, u"変態"_s, u"Morph"_s,
        u"変態元"_s, u"変態後#"_s, u"総変態数？"_s, CountRule::AtLeastOne);
    // the start shows the first metamorphosis record whether or not the monster has one
    d.minRecords = 1;
    d.tooFewRecords = u"レコードが１件もありません（１件以上必要です）"_s;
    return d;
}

TableDescriptor emote() {
    return monsterTable(
        u"mob_emote_db.txt"_s, u"エモーションDB (mob_emote_db.txt)"_s, u"エモーション"_s,
        {fieldOf(u"Name"_s, u"名前"_s, FieldRole::Key),
         picked(fieldOf(u"State"_s, u"状況"_s, FieldRole::Text)),
         fieldOf(u"Emotion"_s, u"エモーション"_s, FieldRole::Number, kLastEmotion)});
}

TableDescriptor summon() {
    return relationTable(u"summon_monster.txt"_s,
                         u"モンスター召喚DB 編集項目 (summon_monster.txt)"_s, u"召喚"_s,
                         u"Summon"_s, u"召喚主"_s, u"召喚＃"_s, u"召喚数"_s, CountRule::UpToLimit);
}

TableDescriptor slave() {
    return relationTable(
        u"summon_slave.txt"_s, u"モンスター取り巻きDB 編集項目 (summon_slave.txt)"_s, u"取り巻き"_s,
        u"Slave"_s, u"基本Ｍｏｂ"_s, u"取り巻き＃"_s, u"取り巻き数"_s, CountRule::UpToLimit);
}

// Built in kTableIds order; a table without a case here is a compiler warning (-Wswitch) and
// an empty descriptor, which the registry test refuses.
TableDescriptor describe(TableId id) {
    switch (id) {
        case TableId::Status:
            return status();
        case TableId::Drop:
            return drop();
        case TableId::Mvp:
            return mvp();
        case TableId::Morph:
            return morph();
        case TableId::Emote:
            return emote();
        case TableId::Summon:
            return summon();
        case TableId::Slave:
            return slave();
    }
    return {};
}

}  // namespace

const TableDescriptor& of(TableId id) {
    static const auto all = [] {
        std::array<TableDescriptor, kTableCount> descriptors;
        for (const TableId t : kTableIds) descriptors[indexOf(t)] = describe(t);
        return descriptors;
    }();
    return all[indexOf(id)];
}

}  // namespace mdb::Tables
