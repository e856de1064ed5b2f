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
    // Whether `arguments` hold an option that QApplication takes for itself (-platform, -style,
    // -display, ...): only then must a wrong command line wait for QApplication to remove them;
    // any other error is told before a window system is needed.
    static bool holdsQtOption(const QStringList& arguments);
};

}  // namespace mdb
