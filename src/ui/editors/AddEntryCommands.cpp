#include "ui/editors/AddEntryCommands.h"

#include "model/NumericText.h"
#include "storage/DatabaseFiles.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/FieldText.h"
#include "ui/controls/MessageSink.h"
#include "ui/controls/StorageMessages.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// What the commands differ in: the table, the refusal texts and the first two lines of the
// confirmation.
struct AddTexts {
    const char* click;  // the handler, for the chain trace
    const TableDescriptor& (*descriptor)();
    Table MonsterDatabase::*table;
    const char16_t* exists;
    const char16_t* minimum;  // null: the command checks no values
    const char16_t* added;
    const char16_t* then;
};

const AddTexts& textsOf(const TableDescriptor& table) {
    static const AddTexts texts[] = {
        {"Command6.Click", &Tables::drop, &MonsterDatabase::DropTable,
         u"既にこのモンスターにはドロップデータが存在します", nullptr,
         u"この[NameID]モンスターのドロップデータを追加しました",
         u"このデータを編集するにはプログラムを再起動して下さい"},
        {"Command9.Click", &Tables::mvp, &MonsterDatabase::MvpTable,
         u"既にこのモンスターにはＭＶＰデータが存在します",
         u"最低 ＭＶＰモンスターと特別アイテム＃１を設定して下さい",
         u"モンスターのＭＶＰデータを追加しました",
         u"このデータを編集するにはプログラムを再起動して下さい"},
        {"Command10.Click", &Tables::emote, &MonsterDatabase::EmoteTable,
         u"既にこのモンスターにはエモーションデータが存在します",
         u"モンスター名と状況を設定して下さい",
         u"モンスターのエモーションデータを追加しました。このデータを編集するにはプログラムを再起動"
         u"して下さい",
         u"エモーションを可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターのエモー"
         u"ションスキルを新項目で追加して下さい"},
        {"Command11.Click", &Tables::morph, &MonsterDatabase::MorphTable,
         u"既にこのモンスターには変態データが存在します",
         u"最低 変態元モンスターと変態後＃１を設定して下さい",
         u"モンスターの変態データを追加しました。このデータを編集するにはプログラムを再起動して下"
         u"さい",
         u"変態を可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの変態可能スキル"
         u"を新項目で追加して下さい"},
        {"Command13.Click", &Tables::slave, &MonsterDatabase::SlaveTable,
         u"既にこのモンスターには取り巻きデータが存在します",
         u"最低 基本モンスターと取り巻き＃１を設定して下さい",
         u"モンスターの取り巻きデータを追加しました。このデータを編集するにはプログラムを再起動し"
         u"て下さい",
         u"取り巻きを可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの取り巻きス"
         u"キルを新項目で追加して下さい"},
        {"Command12.Click", &Tables::summon, &MonsterDatabase::SummonTable,
         u"既にこのモンスターには召喚データが存在します",
         u"最低 召喚主モンスターと召喚＃１を設定して下さい",
         u"モンスターの召喚データを追加しました。このデータを編集するにはプログラムを再起動して下"
         u"さい",
         u"召喚を可能にするには、TornakMnsterSkillDatabaseEditorにてこのモンスターの召喚可能スキル"
         u"を新項目で追加して下さい"},
    };
    for (const AddTexts& t : texts) {
        if (&t.descriptor() == &table) return t;
    }
    Q_UNREACHABLE();
}

QString text(const char16_t* literal) {
    return QString::fromUtf16(literal);
}

// Whether the line names its monster and the one value it cannot do without: the MVP line its
// first special item (a text being typed counts by its leading number), the others their
// second field (the emotion's state, the first related monster).
bool hasMinimum(const TableDescriptor& table, const QStringList& fields) {
    if (fields.value(0).isEmpty()) return false;
    if (&table == &Tables::mvp()) {
        return numericValue(fields.value(MvpField::SpecialItem(0) - 1)) != 0;
    }
    return !fields.value(1).isEmpty();
}

}  // namespace

AddEntryCommands::AddEntryCommands(const QDir& dir, MonsterDatabase& db, MessageSink& messages,
                                   QObject* parent)
    : QObject(parent), dir_(dir), db_(db), messages_(messages) {}

bool AddEntryCommands::add(const TableDescriptor& table, const QString& currentKey,
                           const QString& keyCaption, const QStringList& shownFields) {
    const AddTexts& texts = textsOf(table);
    // Numbers, IDs and keys carry no meaningful blanks; a blank kept would make the writer
    // quote the field, and the server would read the quotes as part of the value.
    QStringList fields;
    for (const QString& field : shownFields) fields << trimBlanks(field);
    MDB_CHAIN(texts.click);
    const QString exists = MessageSink::joinLines(
        {text(texts.exists), u"データが存在していないモンスターのみ追加可能です"_s});
    if (keyCaption == currentKey) {
        messages_.notice(exists);
        return false;
    }
    if (texts.minimum) {
        // the picker's first row stands for "no monster": its key is the placeholder record's
        const bool placeholder = fields.value(0) == db_.StatusTable.fieldView(1, StatusField::Name);
        if (placeholder || !hasMinimum(table, fields)) {
            messages_.notice(MessageSink::joinLines(
                {u"入力データ内容が正しくありません"_s, text(texts.minimum)}));
            return false;
        }
        // the monster chosen in the editor may have a record although the shown one has none
        if (!keyCaption.isEmpty() && keyCaption == fields.value(0)) {
            messages_.notice(exists);
            return false;
        }
    }
    // an emotion record stands for one state of its monster, every other record for the monster
    const QString addedKey = &table == &Tables::emote()
                                 ? fields.value(0) + u'\t' + fields.value(EmoteField::State - 1)
                                 : fields.value(0);
    QSet<QString>& added = added_[table.fileName];
    if (added.contains(addedKey)) {
        messages_.notice(exists);
        return false;
    }
    FileIdentity before, after;
    if (auto error = appendDatabaseEntry(dir_, db_, db_.*texts.table, fields, &before, &after)) {
        messages_.warning(u"追加エラー"_s, appendFailureText(*error));
        return false;
    }
    added.insert(addedKey);
    emit lineAdded(table.fileName, before, after);
    // The save writes the added lines again after the records (see MonsterDatabase), so the
    // closing note tells the user they are kept.
    messages_.notice(
        MessageSink::joinLines({text(texts.added), text(texts.then), QString(),
                                u"－－－－－－－－－ご注意－－－－－－－－－"_s, QString(),
                                u"追加した項目はＤＢを上書き保存しても失われません"_s}));
    return true;
}

}  // namespace mdb
