#pragma once

#include <QDir>
#include <QString>
#include <optional>

class QSettings;

namespace mdb {

struct CommandLine;

// Asks the user for the database folder. Abstract so that tests answer in place of a dialog.
class FolderDialog {
public:
    virtual ~FolderDialog() = default;
    // The chosen folder, or nothing when the user cancels; the dialog opens at `startAt`.
    virtual std::optional<QString> askForDatabaseFolder(const QString& startAt) = 0;
};

// Qt's folder dialog, with Japanese captions.
class QtFolderDialog : public FolderDialog {
public:
    std::optional<QString> askForDatabaseFolder(const QString& startAt) override;
};

// The folder a start works on. Started from a desktop menu the editor runs in the home folder,
// which holds no database: it then asks, beginning at the folder of the last successful start.
class StartFolder {
public:
    StartFolder(QSettings& settings, FolderDialog& dialog) : settings_(settings), dialog_(dialog) {}

    // Whether `line` leaves the folder to the user: none was named and the current folder holds
    // none of the seven monster files. A folder holding some of them is taken as meant, so
    // that the start names the file that is missing.
    static bool needsAsking(const CommandLine& line);
    // The folder to start on; nothing when the user cancels the dialog.
    std::optional<QDir> choose(const CommandLine& line);
    // Kept for the next start; called only once a start on `dir` has succeeded.
    void remember(const QDir& dir);
    // The folder of the last successful start, empty when there was none.
    QString lastUsed() const;

private:
    QSettings& settings_;
    FolderDialog& dialog_;
};

// How many of the seven monster files `dir` holds (as files or anything else by that name).
int monsterFilesIn(const QDir& dir);

}  // namespace mdb
