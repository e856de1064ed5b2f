#include "app/StartFolder.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "app/CommandLine.h"
#include "model/MonsterDatabase.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kLastFolderKey = u"database/lastFolder"_s;

}  // namespace

std::optional<QString> QtFolderDialog::askForDatabaseFolder(const QString& startAt) {
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, u"データベースのフォルダを選択して下さい"_s, startAt, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

int monsterFilesIn(const QDir& dir) {
    MonsterDatabase db;
    int found = 0;
    for (const Table* table : db.loadOrder()) {
        // a dangling link or a folder by that name is still the user's attempt at the file
        if (QFileInfo(dir.filePath(table->name())).exists() ||
            QFileInfo(dir.filePath(table->name())).isSymLink()) {
            ++found;
        }
    }
    return found;
}

bool StartFolder::needsAsking(const CommandLine& line) {
    return !line.folderNamed && monsterFilesIn(line.databaseDir) == 0;
}

std::optional<QDir> StartFolder::choose(const CommandLine& line) {
    if (!needsAsking(line)) return line.databaseDir;
    QString startAt = lastUsed();
    if (startAt.isEmpty() || !QFileInfo(startAt).isDir()) startAt = QDir::homePath();
    const std::optional<QString> chosen = dialog_.askForDatabaseFolder(startAt);
    if (!chosen) return std::nullopt;
    return QDir(QFileInfo(*chosen).absoluteFilePath());
}

void StartFolder::remember(const QDir& dir) {
    settings_.setValue(kLastFolderKey, dir.absolutePath());
    settings_.sync();
}

QString StartFolder::lastUsed() const {
    return settings_.value(kLastFolderKey).toString();
}

}  // namespace mdb
