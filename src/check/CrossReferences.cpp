#include "check/CrossReferences.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

#include "check/LineIndex.h"
#include "model/NumericText.h"
#include "model/Table.h"
#include "model/TableDescriptor.h"
#include "storage/RecordReader.h"

namespace mdb::check {

using namespace Qt::StringLiterals;

namespace {

// One file's records with the line each begins on.
struct LoadedTable {
    const TableDescriptor* descriptor;
    Table table;
    std::vector<qint32> lines;  // by record - 1

    qint32 lineOf(qint32 record) const { return lines[size_t(record - 1)]; }
};

LoadedTable load(const QDir& dir, const TableDescriptor& descriptor) {
    LoadedTable loaded{&descriptor, Table(descriptor), {}};
    QString text;
    QByteArray bytes;
    std::vector<qsizetype> starts;
    readRecordFile(dir, descriptor.fileName, descriptor.width, text, bytes,
                   [&](const QStringView* fields) {
                       // kept before the first record, so that the fields can be views into it
                       if (starts.empty()) loaded.table.keepBuffer(text);
                       starts.push_back(fields[0].data() - text.constData());
                       return loaded.table.appendRecord(fields);
                   });
    const LineIndex lines{QStringView(text)};
    for (const qsizetype start : starts) loaded.lines.push_back(lines.lineOf(start));
    loaded.table.keepBuffer(std::move(text));
    return loaded;
}

// The fields of a dependent file that hold another monster's key, or an item ID; the rates and
// counts beside them do not.
std::vector<int> monsterFields(const TableDescriptor& d) {
    return d.fieldsOf(FieldRole::MonsterReference);
}
std::vector<int> itemFields(const TableDescriptor& d) {
    return d.fieldsOf(FieldRole::ItemReference);
}

// Every item ID of the three item files, case-folded.
QSet<QString> loadItemIds(const QDir& dir) {
    QSet<QString> ids;
    for (const TableDescriptor* table : Tables::itemTables()) {
        QString text;
        QByteArray bytes;
        readRecordFile(dir, table->fileName, table->width, text, bytes,
                       [&](const QStringView* fields) {
                           ids.insert(fields[ItemField::ItemId - 1].toString().toCaseFolded());
                           return true;
                       });
    }
    return ids;
}

// An item field that names no item: empty, or the number 0 the editor puts there.
bool isNoItem(QStringView id) {
    return id.trimmed().isEmpty() || (isValidNumber(id) && numericValue(id) == 0);
}

// The first record that holds `key` ignoring letter case; notes `record` when none did.
qint32 firstHolder(QHash<QString, qint32>& firsts, QStringView key, qint32 record) {
    const QString folded = key.toString().toCaseFolded();
    const auto it = firsts.constFind(folded);
    if (it != firsts.constEnd()) return it.value();
    firsts.insert(folded, record);
    return record;
}

QString quoted(QStringView text) {
    return u"「"_s + text.toString() + u"」"_s;
}

class ReferenceChecker {
public:
    ReferenceChecker(const QDir& dir, bool checkItems) : checkItems_(checkItems) {
        for (const TableDescriptor* table : Tables::monsterTables()) {
            files_.push_back(load(dir, *table));
        }
        if (checkItems_) itemIds_ = loadItemIds(dir);
        const Table& status = files_[0].table;
        for (qint32 r = 1; r <= status.Count(); ++r) {
            firstHolder(monsters_, status.fieldView(r, StatusField::Name), r);
        }
    }

    std::vector<ReferenceFinding> run() {
        checkStatus(files_[0]);
        for (size_t i = 1; i < files_.size(); ++i) {
            const LoadedTable& file = files_[i];
            checkKeys(file);
            for (const int field : monsterFields(*file.descriptor)) checkMonsterField(file, field);
            if (!checkItems_) continue;
            for (const int field : itemFields(*file.descriptor)) checkItemField(file, field);
        }
        std::stable_sort(found_.begin(), found_.end(), [this](const auto& a, const auto& b) {
            const int fa = fileIndex(a.fileName), fb = fileIndex(b.fileName);
            return fa != fb ? fa < fb : a.finding.line < b.finding.line;
        });
        return std::move(found_);
    }

private:
    void add(const LoadedTable& file, qint32 record, QString text,
             Severity severity = Severity::Warning) {
        found_.push_back({file.table.name(), {severity, file.lineOf(record), 0, text}});
    }
    int fileIndex(const QString& name) const {
        for (size_t i = 0; i < files_.size(); ++i) {
            if (files_[i].table.name() == name) return int(i);
        }
        return int(files_.size());
    }

    // Where a monster key leads: nothing when it is a monster's, else why it is not.
    std::optional<QString> whyNoMonster(QStringView key) const {
        const qint32 record = monsters_.value(key.toString().toCaseFolded(), 0);
        const QString status = files_[0].table.name();
        if (record == 0) {
            return u"%1 のモンスター名（Name）にありません"_s.arg(status);
        }
        if (record == 1) {
            return u"%1 の 1 行目（ダミー行）の名前で、モンスターではありません"_s.arg(status);
        }
        return std::nullopt;
    }

    // A second record for a name or an ID: the editor's look-ups stop at the first.
    void checkStatus(const LoadedTable& file) {
        const Table& t = file.table;
        QHash<QString, qint32> names, ids;
        for (qint32 r = 1; r <= t.Count(); ++r) {
            const QStringView name = t.fieldView(r, StatusField::Name);
            const QStringView id = t.fieldView(r, StatusField::Id);
            if (const qint32 first = name.isEmpty() ? r : firstHolder(names, name, r); first != r) {
                add(file, r,
                    u"モンスター名（Name）%1は %2 行目と同じです。この名前の参照は %2 行目のモンスターを指し、ドロップなどのレコードは 2 体で同じものになります"_s
                        .arg(quoted(name))
                        .arg(file.lineOf(first)));
            }
            if (const qint32 first = id.isEmpty() ? r : firstHolder(ids, id, r); first != r) {
                add(file, r,
                    u"モンスター ID（Id）%1は %2 行目と同じです。ID で探すと %2 行目のモンスターしか見つかりません"_s
                        .arg(quoted(id))
                        .arg(file.lineOf(first)));
            }
        }
    }

    // The record of a dependent file belongs to the monster its key names; the editor shows
    // a monster the first record with its key.
    void checkKeys(const LoadedTable& file) {
        const Table& t = file.table;
        QHash<QString, qint32> keys, keyStates;
        for (qint32 r = 1; r <= t.Count(); ++r) {
            const QStringView key = t.fieldView(r, 1);
            if (key.isEmpty()) {
                add(file, r,
                    u"モンスター名（Name）が空です。このレコードはエディタに表示されません"_s);
                continue;
            }
            if (const std::optional<QString> why = whyNoMonster(key)) {
                add(file, r,
                    u"モンスター名（Name）%1は %2。このレコードはエディタに表示されません"_s.arg(
                        quoted(key), *why));
                continue;
            }
            // the server takes one emotion record per monster and state, so another state is a
            // record of its own there; the editor reaches only the monster's first
            const bool emote = file.descriptor == &Tables::emote();
            const QStringView state = emote ? t.fieldView(r, EmoteField::State) : QStringView();
            const qint32 sameState =
                emote ? firstHolder(keyStates, key.toString() + QChar(0) + state.toString(), r) : r;
            const qint32 first = firstHolder(keys, key, r);
            if (first == r) continue;
            if (emote) {
                if (sameState == r) {
                    add(file, r,
                        u"モンスター名（Name）%1のレコードは %2 行目にもあります。状況（State）が違うのでサーバーには別のレコードですが、エディタが表示し書き換えるのは %2 行目のレコードだけです"_s
                            .arg(quoted(key))
                            .arg(file.lineOf(first)),
                        Severity::Note);
                    continue;
                }
                add(file, r,
                    u"モンスター名（Name）%1の状況（State）%2のレコードは %3 行目にもあります。エディタが表示し書き換えるのは %4 行目のレコードだけです"_s
                        .arg(quoted(key), quoted(state))
                        .arg(file.lineOf(sameState))
                        .arg(file.lineOf(first)));
                continue;
            }
            add(file, r,
                u"モンスター名（Name）%1のレコードは %2 行目にもあります。エディタが表示し書き換えるのは %2 行目のレコードだけです"_s
                    .arg(quoted(key))
                    .arg(file.lineOf(first)));
        }
    }

    void checkMonsterField(const LoadedTable& file, int field) {
        const Table& t = file.table;
        for (qint32 r = 1; r <= t.Count(); ++r) {
            const QStringView key = t.fieldView(r, field);
            if (key.isEmpty()) continue;
            if (const std::optional<QString> why = whyNoMonster(key)) {
                add(file, r,
                    u"%1の %2 項目目（%3）のモンスター%4は %5"_s.arg(
                        quoted(t.fieldView(r, 1)), QString::number(field),
                        t.fieldNames()[field - 1], quoted(key), *why));
            }
        }
    }

    void checkItemField(const LoadedTable& file, int field) {
        const Table& t = file.table;
        for (qint32 r = 1; r <= t.Count(); ++r) {
            const QStringView id = t.fieldView(r, field);
            if (isNoItem(id) || itemIds_.contains(id.toString().toCaseFolded())) continue;
            add(file, r,
                u"%1の %2 項目目（%3）のアイテム ID %4はアイテムの 3 ファイル（item_consume_db.txt、item_drop_db.txt、item_equip_db.txt）にありません"_s
                    .arg(quoted(t.fieldView(r, 1)), QString::number(field),
                         t.fieldNames()[field - 1], quoted(id)));
        }
    }

    bool checkItems_;
    std::vector<LoadedTable> files_;
    QSet<QString> itemIds_;
    QHash<QString, qint32> monsters_;  // case-folded Name to its first status record
    std::vector<ReferenceFinding> found_;
};

}  // namespace

std::vector<ReferenceFinding> checkReferences(const QDir& dir, bool checkItems) {
    return ReferenceChecker(dir, checkItems).run();
}

}  // namespace mdb::check
