#include "ui/commands/QuitCommand.h"

#include "ui/controls/ChainTrace.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

QuitCommand::QuitCommand(MessageSink& messages, Work work, QObject* parent)
    : QObject(parent), messages_(messages), work_(std::move(work)) {}

bool QuitCommand::mayQuit() {
    MDB_CHAIN("MunFileQuit.Click");
    if (ending_) return true;
    const bool edits = work_.formsHoldEdits();
    const int updates = work_.unsavedUpdates();
    // nothing left to lose (undoing back to the saved state included): no journal to offer
    if (!edits && updates == 0) {
        work_.discard();
        return true;
    }

    QStringList lines;
    if (updates > 0) lines << u"更新した内容（%1 件）がまだ上書き保存されていません"_s.arg(updates);
    if (edits) lines << u"まだ更新していない編集があります"_s;
    lines << u"このまま終了すると、これらの変更は失われます"_s
          << u"上書き保存してから終了しますか？"_s;
    switch (messages_.askSaveBeforeQuit(MessageSink::joinLines(lines))) {
        case MessageSink::Answer::Save:
            if (edits) {
                work_.update();
                // an update stops without a record to copy into (an emptied position box)
                if (work_.formsHoldEdits()) {
                    messages_.notice(MessageSink::joinLines(
                        {u"編集内容を更新できなかったため、終了を取りやめました"_s,
                         u"表示中のモンスターを確かめてから、もう一度お試し下さい"_s}));
                    return false;
                }
            }
            // a failed save has told the user why; the work stays open in the window
            return work_.save();
        case MessageSink::Answer::Discard:
            // the user said no to this work: the next start must not bring it back
            work_.discard();
            return true;
        case MessageSink::Answer::Cancel:
            return false;
    }
    return false;
}

void QuitCommand::endAtOnce() {
    if (ending_) return;
    if (work_.formsHoldEdits()) work_.update();
    ending_ = true;
}

}  // namespace mdb
