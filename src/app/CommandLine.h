#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace mdb {

// What the command line of the editor asks for: `monster-db-editor [--help|--version] [folder]`.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QDir databaseDir;          // Run: the folder whose database files are read and written
    bool folderNamed = false;  // Run: databaseDir was named, not taken from the current folder
    QString text;              // Help, Version: what to print; Error: what is wrong

    // `arguments` as in QCoreApplication::arguments(), the program first. Without a folder the
    // current folder holds the database; a file names the folder it lies in, so that a file
    // manager may hand over either.
    static CommandLine parse(const QStringList& arguments);
};

}  // namespace mdb
