#include "ui/editors/AddEntryCommands.h"

#include <QPushButton>

#include "model/FieldText.h"
#include "model/NumericText.h"
#include "storage/DatabaseFiles.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/MessageSink.h"
#include "ui/editors/DependentEditor.h"
#include "ui/messages/StorageMessages.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Whether the line names its monster and the one value it cannot do without: the MVP line its
// first special item (a text being typed counts by its leading number), the others their
// second field (the emotion's state, the first related monster).
bool hasMinimum(TableId table, const QStringList& fields) {
    if (fields.value(0).isEmpty()) return false;
    if (table == TableId::Mvp) {
        return numericValue(fields.value(MvpField::SpecialItem(0) - 1)) != 0;
    }
    return !fields.value(1).isEmpty();
}

}  // namespace

AddEntryCommands::AddEntryCommands(const QDir& dir, MonsterDatabase& db, MessageSink& messages,
                                   QObject* parent)
    : QObject(parent), dir_(dir), db_(db), messages_(messages) {}

bool AddEntryCommands::add(const DependentEditor& editor, const QString& currentKey) {
    const TableId id = editor.tableId();
    const TableDescriptor& table = editor.descriptor();
    const AddMessages& texts = editor.addMessages();
    const QString keyCaption = editor.keyCaption();
    // Numbers, IDs and keys carry no meaningful blanks; a blank kept would make the writer
    // quote the field, and the server would read the quotes as part of the value.
    QStringList fields;
    for (const QString& field : editor.newEntryFields(currentKey)) fields << trimBlanks(field);
    MDB_CHAIN_ON(editor.addButton(), "Click");
    const QString exists = MessageSink::joinLines(
        {texts.exists, u"データが存在していないモンスターのみ追加可能です"_s});
    if (keyCaption == currentKey) {
        messages_.notice(exists);
        return false;
    }
    if (!texts.minimum.isEmpty()) {
        // the picker's first row stands for "no monster": its key is the placeholder record's
        const bool placeholder = fields.value(0) == db_.StatusTable.fieldView(1, StatusField::Name);
        if (placeholder || !hasMinimum(id, fields)) {
            messages_.notice(
                MessageSink::joinLines({u"入力データ内容が正しくありません"_s, texts.minimum}));
            return false;
        }
        // the monster chosen in the editor may have a record although the shown one has none
        if (!keyCaption.isEmpty() && keyCaption == fields.value(0)) {
            messages_.notice(exists);
            return false;
        }
    }
    // an emotion record stands for one state of its monster, every other record for the monster
    const QString addedKey = id == TableId::Emote
                                 ? fields.value(0) + u'\t' + fields.value(EmoteField::State - 1)
                                 : fields.value(0);
    QSet<QString>& added = added_[table.fileName];
    if (added.contains(addedKey)) {
        messages_.notice(exists);
        return false;
    }
    FileIdentity before, after;
    if (auto error = appendDatabaseEntry(dir_, db_, db_.table(id), fields, &before, &after)) {
        messages_.warning(u"追加エラー"_s, appendFailureText(*error));
        return false;
    }
    added.insert(addedKey);
    emit lineAdded(table.fileName, before, after);
    // The save writes the added lines again after the records (see MonsterDatabase), so the
    // closing note tells the user they are kept.
    messages_.notice(MessageSink::joinLines(
        {texts.added, texts.then, QString(), u"－－－－－－－－－ご注意－－－－－－－－－"_s,
         QString(), u"追加した項目はＤＢを上書き保存しても失われません"_s}));
    return true;
}

}  // namespace mdb
