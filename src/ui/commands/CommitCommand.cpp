#include "ui/commands/CommitCommand.h"

#include <QAction>
#include <QLineEdit>
#include <QWidget>

#include "model/NumericText.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

CommitCommand::CommitCommand(MonsterDatabase& db, StatusEditor& status, QAction* saveEntry,
                             QObject* parent)
    : QObject(parent), db_(db), saveEntry_(saveEntry) {
    // Id and Name are never written: the monster key must not change under the dependent
    // tables. Text1(19) has no field of its own.
    size_t i = 0;
    sources_[i++] = status.Text4;
    for (int box = 1; box <= 18; ++box) sources_[i++] = status.Text1[box];
    sources_[i++] = status.Text3;
    sources_[i++] = status.Text1[20];
    sources_[i++] = status.Text1[21];
    sources_[i++] = status.Text7;
    for (int box = 22; box <= 25; ++box) sources_[i++] = status.Text1[box];
    Q_ASSERT(i == sources_.size());
    positionBox_ = status.Text0;
}

void CommitCommand::CommitEdits() {
    // Enabled before anything can stop the command, so that an update always arms the save.
    saveEntry_->setEnabled(true);

    const QString position = positionBox_->text();
    if (position.isEmpty()) return;
    const qint64 record = roundHalfEven(numericValue(position) + 1);
    Table& status = db_.StatusTable;
    // Record 1 is the placeholder and never shown; a position box that somehow holds
    // anything else writes nothing rather than guessing a record.
    if (record < 2 || record > status.Count()) return;

    const auto r = static_cast<qint32>(record);
    int field = StatusField::DisplayName;
    for (const QLineEdit* box : sources_) status.setField(r, field++, box->text());

    emit commitDependents();
}

void CommitCommand::commitFromButton(QWidget* button) {
    // Some styles let a click leave the focus where it was; the leave-the-box rules must run.
    if (button && button->focusPolicy() & Qt::ClickFocus) button->setFocus(Qt::MouseFocusReason);
    CommitEdits();
}

}  // namespace mdb
