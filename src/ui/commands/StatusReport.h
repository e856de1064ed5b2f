#pragma once

#include <QDir>
#include <QObject>
#include <QTime>

class QLabel;
class QMainWindow;
class QStatusBar;

namespace mdb {

// The window's status bar: tells what the last command did (an update, a save, an item load,
// a search that found nothing, an appended line) and, in a permanent part, which database
// folder the window edits. Unsaved updates mark the window title with Qt's modified marker.
class StatusReport : public QObject {
    Q_OBJECT
public:
    StatusReport(QMainWindow& window, const QDir& folder, QObject* parent = nullptr);

    void updated(const QString& monster, quint64 changedFields);
    void saved(const QStringList& files, const QTime& when = QTime::currentTime());
    void saveFailed(const QString& fileName);
    void itemsLoaded(const QList<qint32>& counts);
    void searchFoundNothing(bool byName, const QString& text);
    void lineAdded(const QString& fileName);
    void unsavedUpdatesChanged(bool unsaved);

    QStatusBar* bar() const { return bar_; }
    // The message shown now (empty when none).
    QString message() const;

private:
    void show(const QString& text);

    QMainWindow& window_;
    QStatusBar* bar_;
    QLabel* folder_;
};

}  // namespace mdb
