// Offering, at start, the updates a run before this one made but never saved.
#include <QFile>

#include "ui/commands/UndoCommands.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"更新の復元"_s;

}  // namespace

void UnsavedWork::offerRecovery() {
    if (!journal_.exists()) return;
    QFile file(journal_.path());
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    const bool readable = file.error() == QFileDevice::NoError && file.isOpen();
    file.close();
    JournalContents contents;
    if (readable) {
        contents = readJournal(bytes);
    } else {
        contents.damaged = true;
    }

    const auto setAside = [this](const QString& why) {
        const QString aside = journal_.setAside(why);
        return aside.isEmpty() ? u"（記録を移せませんでした: %1）"_s.arg(journal_.path())
                               : u"記録は次の名前で残してあります: %1"_s.arg(aside);
    };
    // the journal kept aside, nothing of it applied, and the user told why
    const auto refuse = [this, &setAside](const QString& why,
                                          const QString& asideAs = u"damaged"_s) {
        const QString where = setAside(asideAs);
        messages_.warning(kTitle,
                          MessageSink::joinLines(
                              {u"前回保存されなかった更新の記録が%1ため、復元できません"_s.arg(why),
                               u"記録の内容は何も反映せずに起動します"_s, where}));
    };
    if (contents.olderFormat) {
        refuse(u"以前の版のプログラムの形式の"_s, u"older-version"_s);
        return;
    }
    if (contents.damaged) {
        refuse(u"壊れているか読めない"_s);
        return;
    }
    QStringList changed;
    for (const FileIdentity& then : contents.files) {
        const FileIdentity* now = known(then.fileName);
        if (!now || !now->sameContent(then)) changed << u"  "_s + then.fileName;
    }
    if (!changed.isEmpty()) {
        const QString where = setAside(u"changed"_s);
        QStringList lines{
            u"前回保存されなかった更新がありますが、その後に次のファイルが変更されています"_s};
        lines << changed << u"変更されたファイルに古い更新を重ねないよう、何も復元しません"_s
              << where;
        messages_.warning(kTitle, MessageSink::joinLines(lines));
        return;
    }
    if (contents.updates.empty()) {
        journal_.remove();
        return;
    }
    const QString question =
        u"前回保存されなかった更新が %1 件あります。復元しますか？"_s.arg(contents.updates.size());
    if (messages_.ask(question, {u"復元"_s, u"破棄"_s}, 0, 1) != 0) {
        journal_.remove();
        return;
    }
    if (!restore(contents)) refuse(u"表の内容と合わない"_s);
}

bool UnsavedWork::restore(const JournalContents& contents) {
    std::vector<ChangeSet> sets;
    for (const JournalUpdate& update : contents.updates) {
        ChangeSet set;
        for (const JournalChange& c : update) {
            Table* table = tableNamed(c.fileName);
            if (!table) return false;
            set.push_back({table, c.record, c.field, c.before, c.after});
        }
        sets.push_back(std::move(set));
    }
    // all updates or none: one that does not fit the tables takes back those before it
    for (size_t i = 0; i < sets.size(); ++i) {
        if (!applyChanges(sets[i])) {
            while (i-- > 0) applyChanges(reversed(sets[i]));
            return false;
        }
    }
    // the journal holds these updates already; the next ones follow them
    journal_.adopt();
    for (const ChangeSet& set : sets) {
        if (set.empty()) continue;
        pending_.note(set);
        pushStep(set, u"復元した更新"_s);
    }
    notePending();
    if (!sets.empty()) emit showMonster(monsterOf(sets.back()));
    return true;
}

}  // namespace mdb
