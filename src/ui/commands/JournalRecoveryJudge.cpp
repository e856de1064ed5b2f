// Judging a journal of an earlier run against the tables as the files hold them now.
#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "model/Table.h"
#include "ui/commands/JournalRecovery.h"

namespace mdb {

namespace {

using FieldKey = std::tuple<const Table*, qint32, int>;
// A change of the journal: its update and its place in it.
using StepRef = std::pair<size_t, size_t>;

class Judge {
public:
    Judge(const JournalContents& contents, const std::function<Table*(const QString&)>& tableNamed,
          const std::vector<FileIdentity>& known)
        : contents_(contents), tableNamed_(tableNamed), known_(known) {
        verdict_.sets.resize(contents.updates.size());
    }

    JournalVerdict run() {
        std::vector<size_t> starts = contents_.partStarts;
        if (starts.empty()) starts.push_back(0);
        starts.push_back(contents_.updates.size());
        for (size_t p = 0; p + 1 < starts.size(); ++p) judgePart(starts[p], starts[p + 1]);
        for (const auto& [key, text] : now_) {
            const auto& [table, record, field] = key;
            if (table->fieldView(record, field) != text) verdict_.changesTables = true;
        }
        return std::move(verdict_);
    }

private:
    QString current(Table* table, qint32 record, int field) const {
        const auto found = now_.find({table, record, field});
        return found != now_.end() ? found->second : table->field(record, field);
    }

    bool fileUnchanged(const QString& fileName) const {
        const auto then =
            std::find_if(contents_.files.begin(), contents_.files.end(),
                         [&](const FileIdentity& id) { return id.fileName == fileName; });
        const auto now = std::find_if(known_.begin(), known_.end(), [&](const FileIdentity& id) {
            return id.fileName == fileName;
        });
        return then != contents_.files.end() && now != known_.end() && now->sameContent(*then);
    }

    void conflict(const JournalChange& c, Table* table, const QString& now) {
        verdict_.conflicts.push_back({{table, c.record, c.field, c.before, c.after}, now});
    }

    // The updates [first, last) are one run's: each field's changes form a chain from the text
    // the field held when that run began.
    void judgePart(size_t first, size_t last) {
        std::map<FieldKey, std::vector<StepRef>> steps;
        std::vector<FieldKey> order;
        for (size_t u = first; u < last; ++u) {
            const JournalUpdate& update = contents_.updates[u];
            for (size_t i = 0; i < update.size(); ++i) {
                const JournalChange& c = update[i];
                Table* table = tableNamed_(c.fileName);
                const FieldKey key{table, c.record, c.field};
                if (!table || c.record < 1 || c.record > table->Count() || c.field < 1 ||
                    c.field > table->fieldCount()) {
                    conflict(c, table, QString());
                    continue;
                }
                if (!steps.contains(key)) order.push_back(key);
                steps[key].push_back({u, i});
            }
        }
        // the keys a record may hold in this run: the one it began with and any it was given
        std::map<std::pair<const Table*, qint32>, std::set<QString>> keys;
        for (const FieldKey& key : order) {
            const auto& [table, record, field] = key;
            auto& allowed = keys[{table, record}];
            if (allowed.empty()) allowed.insert(current(const_cast<Table*>(table), record, 1));
            if (field != 1) continue;
            for (const StepRef& s : steps[key]) {
                allowed.insert(contents_.updates[s.first][s.second].after);
            }
        }
        for (const FieldKey& key : order)
            judgeField(key, steps[key], keys[{std::get<0>(key), std::get<1>(key)}]);
    }

    void judgeField(const FieldKey& key, const std::vector<StepRef>& steps,
                    const std::set<QString>& allowedKeys) {
        const auto& [constTable, record, field] = key;
        Table* table = const_cast<Table*>(constTable);
        const auto change = [&](const StepRef& s) -> const JournalChange& {
            return contents_.updates[s.first][s.second];
        };
        QString value = current(table, record, field);
        const JournalChange& last = change(steps.back());
        // a record another program moved or replaced: its key is not the one the change saw
        bool sameRecord = true;
        for (const StepRef& s : steps) {
            const JournalChange& c = change(s);
            if (c.keyed ? (field != 1 && !allowedKeys.contains(c.key))
                        : !fileUnchanged(c.fileName)) {
                sameRecord = false;
            }
        }
        // where the chain stands: from its start, or after the last change whose text the field
        // holds (the editor's own save got that far)
        std::optional<size_t> from;
        if (value == change(steps.front()).before) {
            from = 0;
        } else {
            for (size_t i = steps.size(); i-- > 0;) {
                if (change(steps[i]).after == value) {
                    from = i + 1;
                    break;
                }
            }
        }
        if (!sameRecord || !from) {
            JournalChange whole = last;
            whole.before = change(steps.front()).before;
            conflict(whole, table, value);
            return;
        }
        for (size_t i = *from; i < steps.size(); ++i) {
            const JournalChange& c = change(steps[i]);
            if (c.before != value) {
                // the chain breaks where a later run began from the file's text again
                conflict(c, table, value);
                break;
            }
            verdict_.sets[steps[i].first].push_back({table, record, field, c.before, c.after});
            value = c.after;
        }
        now_[key] = value;
    }

    const JournalContents& contents_;
    const std::function<Table*(const QString&)>& tableNamed_;
    const std::vector<FileIdentity>& known_;
    std::map<FieldKey, QString> now_;  // each judged field's text once the sets are applied
    JournalVerdict verdict_;
};

}  // namespace

int JournalVerdict::updatesToApply() const {
    return int(
        std::count_if(sets.begin(), sets.end(), [](const ChangeSet& s) { return !s.empty(); }));
}

JournalVerdict judgeJournal(const JournalContents& contents,
                            const std::function<Table*(const QString&)>& tableNamed,
                            const std::vector<FileIdentity>& known) {
    return Judge(contents, tableNamed, known).run();
}

}  // namespace mdb
