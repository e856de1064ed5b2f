#pragma once

#include <QDir>
#include <QObject>
#include <QTime>

class QLabel;
class QMainWindow;
class QStatusBar;

namespace mdb {

class StatusLine;

// The window's status bar: tells what the last command did (an update, a save, an item load,
// a search that found nothing, an appended line, an undo) and, beside it, which database
// folder the window edits. Unsaved updates mark the window title with Qt's modified marker.
class StatusReport : public QObject {
    Q_OBJECT
public:
    StatusReport(QMainWindow& window, const QDir& folder, QObject* parent = nullptr);

    void updated(const QString& monster, quint64 changedFields);
    void saved(const QStringList& files, const QTime& when = QTime::currentTime());
    void saveFailed(const QString& fileName);
    void saveCancelled();
    void itemsLoaded(const QList<qint32>& counts);
    void searchFoundNothing(bool byName, const QString& text);
    // A later search found its monster (or was emptied): a "not found" no longer holds.
    void searchSettled();
    void lineAdded(const QString& fileName);
    void undone(const QString& monster);
    void redone(const QString& monster);
    // Another monster was chosen while the form held these edits, now gone.
    void editsDropped(const QString& monster, const QStringList& fields);
    void unsavedUpdatesChanged(bool unsaved);

    QStatusBar* bar() const { return bar_; }
    // The message shown now (empty when none).
    QString message() const;

private:
    // What the shown message tells, so that a later event clears only what it makes untrue.
    enum class Kind { None, Command, Search };
    void show(const QString& text, Kind kind = Kind::Command);

    QMainWindow& window_;
    QStatusBar* bar_;
    StatusLine* line_;
    Kind kind_ = Kind::None;
};

}  // namespace mdb
