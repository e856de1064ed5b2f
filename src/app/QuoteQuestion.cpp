#include "app/QuoteQuestion.h"

#include <QStringList>

#include "model/MonsterDatabase.h"
#include "storage/QuoteOverLines.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Enough places to find the fault by; the checker lists them all.
constexpr int kPlacesShown = 10;

}  // namespace

bool acceptQuotesOverLines(const MonsterDatabase& db, MessageSink& messages) {
    QStringList places;
    int more = 0;
    for (const Table* table : db.saveOrder()) {
        if (!table->hasSource()) continue;
        for (const QuoteOverLines& q : findQuotesOverLines(table->sourceText())) {
            if (places.size() == kPlacesShown) {
                ++more;
                continue;
            }
            places << u"  %1 %2 行目: %3"_s.arg(table->name())
                          .arg(q.firstLine)
                          .arg(quoteOverLinesText(q.lastLine));
        }
    }
    if (places.isEmpty()) return true;
    QStringList lines{
        u"データベースファイルに、「\"」で始まる項目が行をまたいでいる箇所があります"_s};
    lines << places;
    if (more > 0) lines << u"  ほか %1 箇所"_s.arg(more);
    lines
        << u"閉じる「\"」が抜けていると、次の行がその項目に取り込まれ、レコードの値がずれて読み込まれます"_s
        << u"このまま編集して保存すると、ずれた値でファイルが書き換えられます"_s
        << u"このまま起動しますか？"_s;
    const QStringList answers{u"起動する"_s, u"終了する"_s};
    return messages.ask(MessageSink::joinLines(lines), answers, 1, 1) == 0;
}

}  // namespace mdb
