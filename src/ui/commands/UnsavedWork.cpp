#include "ui/commands/UnsavedWork.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cstdlib>

#include "ui/commands/UndoCommands.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

UnsavedWork::UnsavedWork(const QDir& dir, MonsterDatabase& db, MessageSink& messages,
                         QObject* parent)
    : QObject(parent),
      dir_(dir),
      db_(db),
      messages_(messages),
      journal_(Journal::pathFor(dir.absolutePath())) {}

void UnsavedWork::noteLoaded() {
    known_.clear();
    for (const Table* table : db_.saveOrder()) {
        // taken by the load while it had the bytes; a table never read from a file is empty
        known_.push_back(table->hasSource() ? identityOf(dir_, table->name(), table->sourceSize(),
                                                         table->sourceHash())
                                            : identityOfBytes(dir_, table->name(), {}));
    }
}

FileIdentity* UnsavedWork::known(const QString& fileName) {
    for (FileIdentity& id : known_) {
        if (id.fileName == fileName) return &id;
    }
    return nullptr;
}

Table* UnsavedWork::tableNamed(const QString& fileName) {
    for (Table* table : db_.loadOrder()) {
        if (table->name() == fileName) return table;
    }
    return nullptr;
}

void UnsavedWork::recordUpdate(const ChangeSet& changes) {
    if (changes.empty()) return;
    applied(changes);
    pushStep(changes, u"更新"_s);
}

void UnsavedWork::revert(const FieldChange& change) {
    const ChangeSet back{{change.table, change.record, change.field, change.after, change.before}};
    if (!applyChanges(back)) return;  // the field no longer holds what the list showed
    applied(back);
    pushStep(back, u"変更の取り消し"_s);
    emit showMonster(monsterOf(back));
}

void UnsavedWork::applyStep(const ChangeSet& changes) {
    if (!applyChanges(changes)) {
        // only the history changes the tables between steps, so this cannot happen; say so
        // rather than write over texts the step did not expect
        messages_.warning(u"元に戻せません"_s,
                          u"表の内容が記録と一致しないため、この操作は行いませんでした"_s);
        return;
    }
    applied(changes);
    emit showMonster(monsterOf(changes));
}

void UnsavedWork::pushStep(const ChangeSet& changes, const QString& text) {
    stack_.push(new UpdateStep(*this, changes, text));
}

void UnsavedWork::applied(const ChangeSet& changes) {
    pending_.note(changes);
    journal(changes);
    notePending();
}

void UnsavedWork::notePending() {
    emit pendingChanged();
    const bool clean = pending_.isEmpty();
    if (clean != clean_) {
        clean_ = clean;
        emit cleanChanged(clean);
    }
}

void UnsavedWork::journal(const ChangeSet& changes) {
    std::optional<QString> error;
    if (!journal_.isStarted()) error = journal_.start(dir_.absolutePath(), known_);
    if (!error) {
        JournalUpdate update;
        update.reserve(changes.size());
        for (const FieldChange& c : changes) {
            update.push_back({c.table->name(), c.record, c.field, c.before, c.after});
        }
        error = journal_.appendUpdate(update);
    }
    if (error && !journalWarned_) {
        journalWarned_ = true;  // once a run: the update itself is in the tables all the same
        messages_.warning(
            u"復旧用の記録エラー"_s,
            MessageSink::joinLines(
                {u"更新を復旧用の記録に書き込めませんでした"_s,
                 u"記録: %1"_s.arg(QDir::toNativeSeparators(journal_.path())),
                 u"理由: %1"_s.arg(*error),
                 u"更新は反映しましたが、上書き保存する前にプログラムが終了すると失われます"_s}));
    }
}

bool UnsavedWork::confirmOverwrite(std::vector<FileIdentity>* seen) {
    QStringList changed;
    if (seen) seen->clear();
    for (const Table* table : db_.saveOrder()) {
        const FileIdentity now = identityOnDisk(dir_, table->name());
        if (seen) seen->push_back(now);
        const FileIdentity* before = known(table->name());
        if (!before) continue;
        // a file gone (or no longer readable) holds nothing a save could overwrite; writing it
        // reports its own failure
        if (!now.exists() || now.sameContent(*before)) continue;
        const QString when = QLocale(QLocale::Japanese)
                                 .toString(QDateTime::fromMSecsSinceEpoch(now.modifiedMsecs),
                                           u"yyyy/MM/dd HH:mm:ss"_s);
        changed << u"  %1（%2 に変更されています）"_s.arg(table->name(), when);
    }
    if (changed.isEmpty()) return true;
    QStringList lines{u"次のファイルは、読み込んだ後に他のプログラムによって変更されています"_s};
    lines << changed << u"上書き保存すると、他のプログラムによる変更は失われます"_s
          << u"それでも上書き保存しますか？"_s;
    return messages_.ask(MessageSink::joinLines(lines), {u"上書き保存"_s, u"キャンセル"_s}, 1, 1) ==
           0;
}

void UnsavedWork::noteSaveAttempt(bool succeeded, const std::vector<FileIdentity>& written) {
    // No file is read back: the save hashed what it wrote. The file a failed save stopped at
    // may hold another program's change, which the next save must still ask about, and the
    // files after it were not touched: they keep what the editor knew of them.
    for (FileIdentity& id : known_) {
        const auto same = std::find_if(written.begin(), written.end(), [&](const FileIdentity& w) {
            return w.fileName == id.fileName;
        });
        if (same != written.end()) id = *same;
    }
    if (!succeeded) {
        // the files the save replaced are the editor's own now; a journal must say so
        if (journal_.isStarted()) {
            for (const FileIdentity& id : known_) journal_.appendIdentity(id);
        }
        return;
    }
    pending_.markSaved();
    stack_.setClean();
    journal_.remove();
    notePending();
}

void UnsavedWork::noteAppended(const QString& fileName, const FileIdentity& before,
                               const FileIdentity& after) {
    FileIdentity* id = known(fileName);
    if (!id || id->exists() != before.exists() || !id->sameContent(before)) return;
    *id = after;
    if (journal_.isStarted()) journal_.appendIdentity(*id);
}

ChangeSet UnsavedWork::pendingChanges() const {
    const auto order = db_.saveOrder();
    return pending_.list(std::vector<const Table*>(order.begin(), order.end()));
}

int UnsavedWork::unsavedUpdates() const {
    if (pending_.isEmpty()) return 0;
    const int clean = stack_.cleanIndex();
    // the saved state undone and replaced by new steps: every step is unsaved work
    const int steps = clean >= 0 ? std::abs(stack_.index() - clean) : stack_.index();
    return std::max(steps, 1);
}

qint32 UnsavedWork::monsterOf(const ChangeSet& changes) const {
    if (changes.empty()) return 0;
    const FieldChange& first = changes.front();
    if (first.table == &db_.StatusTable) return first.record;
    const QStringView key = first.table->fieldView(first.record, 1);
    for (qint32 r = 2; r <= db_.StatusTable.Count(); ++r) {
        if (db_.StatusTable.fieldView(r, StatusField::Name) == key) return r;
    }
    return 0;
}

}  // namespace mdb
