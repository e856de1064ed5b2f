// Offering, at start, the updates a run before this one made but never saved.
#include "ui/commands/JournalRecovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "storage/FileIo.h"
#include "ui/commands/UndoCommands.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"更新の復元"_s;

// The journal's bytes, read only from a regular file of the user's own (never through a
// symlink); nullopt otherwise.
std::optional<QByteArray> readOwnFile(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    QByteArray bytes;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                    fileio::readAll(fd, bytes);
    ::close(fd);
    return ok ? std::optional(bytes) : std::nullopt;
}

// The journal belongs to this folder: the same resolved path and, when it says, the same
// device and inode (another folder later put under the path is not the one it was written for).
bool sameFolder(const JournalContents& contents, const QString& folderPath) {
    if (contents.folder.path != folderPath) return false;
    if (!contents.folderKnown) return true;
    return JournalFolder::of(folderPath) == contents.folder;
}

}  // namespace

QString UnsavedWork::describeConflict(const FieldChange& c, const QString& now) const {
    if (!c.table) return u"  （表のないファイル）"_s;
    QString monster;
    if (c.table == &db_.StatusTable) {
        monster = u"ID %1 / %2"_s.arg(c.table->field(c.record, StatusField::Id),
                                      c.table->field(c.record, StatusField::Name));
    } else {
        monster = c.table->field(c.record, 1);
    }
    const QString field = c.field >= 1 && c.field <= c.table->fieldCount()
                              ? c.table->fieldNames().at(c.field - 1)
                              : QString();
    return u"  %1 %2 件目（%3）%4 番目の項目 %5: 記録「%6」、ファイル「%7」"_s.arg(c.table->name())
        .arg(c.record)
        .arg(monster)
        .arg(c.field)
        .arg(field, c.after, now);
}

void UnsavedWork::offerRecovery() {
    if (!journal_.exists()) return;
    const std::optional<QByteArray> bytes = readOwnFile(journal_.path());
    JournalContents contents;
    if (bytes) {
        contents = readJournal(*bytes);
    } else {
        contents.damaged = true;
    }

    // set-aside journals pile up where the user does not look: say where they are and how long
    const QString keptWhere = u"残した記録は %1 にあり、%2 日を過ぎたものは起動時に削除します"_s
                                  .arg(QDir::toNativeSeparators(QFileInfo(journal_.path()).path()))
                                  .arg(Journal::kKeepAsideDays);
    const auto setAside = [this, &keptWhere](const QString& why) {
        const QString aside = journal_.setAside(why);
        if (aside.isEmpty()) {
            return u"（記録を移せませんでした: %1）"_s.arg(
                QDir::toNativeSeparators(journal_.path()));
        }
        return MessageSink::joinLines(
            {u"記録は次の名前で残してあります: %1"_s.arg(QDir::toNativeSeparators(aside)),
             keptWhere});
    };
    // the journal kept aside, nothing of it applied, and the user told why
    const auto refuse = [this, &setAside](const QString& why, const QString& asideAs,
                                          const QStringList& more = {}) {
        const QString where = setAside(asideAs);
        QStringList lines{u"前回保存されなかった更新の記録が%1ため、復元できません"_s.arg(why)};
        lines << more << u"記録の内容は何も反映せずに起動します"_s << where;
        messages_.warning(kTitle, MessageSink::joinLines(lines));
    };
    if (contents.olderFormat) return refuse(u"以前の版のプログラムの形式の"_s, u"older-version"_s);
    if (contents.damaged) return refuse(u"壊れているか読めない"_s, u"damaged"_s);
    if (!sameFolder(contents, folderPath_)) {
        return refuse(u"別のフォルダ（%1）のものである"_s.arg(contents.folder.path),
                      u"other-folder"_s);
    }

    const JournalVerdict verdict = judgeJournal(
        contents, [this](const QString& name) { return tableNamed(name); }, known_);
    QStringList notes;
    if (!verdict.conflicts.empty()) {
        notes << u"次の項目は、その後に他のプログラムが変更しているため復元しません:"_s;
        for (const auto& c : verdict.conflicts) notes << describeConflict(c.change, c.now);
    }
    if (contents.torn) {
        notes << u"記録の末尾 %1 バイトは書きかけのまま途切れているため使えません"_s.arg(
            bytes->size() - contents.wholeBytes);
    }
    const QString why = verdict.conflicts.empty() ? u"torn"_s : u"changed"_s;
    if (!verdict.changesTables) {
        // nothing to offer that the files do not hold already
        if (notes.isEmpty()) return journal_.remove();
        return refuse(u"ファイルの内容と合わない"_s, why, notes);
    }
    const int count = verdict.updatesToApply();
    QStringList question{u"前回保存されなかった更新が %1 件あります。復元しますか？"_s.arg(count)};
    if (!notes.isEmpty()) {
        question << notes
                 << u"復元または破棄したときは、元の記録を %1 として残します"_s.arg(
                        QDir::toNativeSeparators(journal_.asideName(why)))
                 << keptWhere;
    }
    for (;;) {
        const int answer = messages_.ask(MessageSink::joinLines(question),
                                         {u"復元"_s, u"破棄"_s, u"後で"_s}, 0, 2);
        if (answer == 1) {
            const int sure = messages_.ask(
                u"前回保存されなかった更新 %1 件を破棄します。破棄した更新は元に戻せません。よろしいですか？"_s
                    .arg(count),
                {u"破棄"_s, u"キャンセル"_s}, 1, 1);
            if (sure != 0) continue;
            if (notes.isEmpty()) {
                journal_.remove();
            } else {
                setAside(why);
            }
            return;
        }
        if (answer != 0) {
            // later: the entries stay as they are and this run's own follow them
            journal_.keepEarlier(bytes->left(contents.wholeBytes));
            return;
        }
        break;
    }
    if (!notes.isEmpty()) setAside(why);
    if (!restore(verdict.sets)) refuse(u"表の内容と合わない"_s, u"damaged"_s);
}

bool UnsavedWork::restore(const std::vector<ChangeSet>& sets) {
    // all updates or none: one that does not fit the tables takes back those before it
    QByteArray rewritten = Journal::headerBytes(folderPath_, known_);
    for (size_t i = 0; i < sets.size(); ++i) {
        if (sets[i].empty()) continue;
        if (!applyChanges(sets[i])) {
            while (i-- > 0) applyChanges(reversed(sets[i]));
            return false;
        }
        rewritten += Journal::updateBytes(journalUpdateOf(sets[i]));
    }
    // the journal holds exactly what was restored; the next updates follow it
    if (const auto error = journal_.replace(rewritten)) {
        messages_.warning(
            u"復旧用の記録エラー"_s,
            MessageSink::joinLines({u"復元した更新を復旧用の記録に書き込めませんでした"_s,
                                    u"記録: %1"_s.arg(QDir::toNativeSeparators(journal_.path())),
                                    u"理由: %1"_s.arg(*error)}));
    }
    for (const ChangeSet& set : sets) {
        if (set.empty()) continue;
        pending_.note(set);
        pushStep(set, u"復元した更新"_s);
    }
    notePending();
    for (auto it = sets.rbegin(); it != sets.rend(); ++it) {
        if (!it->empty()) {
            emit showMonster(monsterOf(*it));
            break;
        }
    }
    return true;
}

}  // namespace mdb
