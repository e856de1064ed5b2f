#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <cstdio>
#include <optional>

#include "app/CommandLine.h"
#include "app/InstanceGuard.h"
#include "app/MainWindow.h"
#include "app/MonsterPreload.h"
#include "app/SignalBridge.h"
#include "app/StartFolder.h"
#include "app/Translations.h"
#include "ui/controls/MessageSink.h"

namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version print and end before a window (or a display) is needed
    QStringList raw;
    for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    const mdb::CommandLine early = mdb::CommandLine::parse(raw);
    if (early.action == mdb::CommandLine::Action::Help ||
        early.action == mdb::CommandLine::Action::Version) {
        print(stdout, early.text);
        return 0;
    }
    // Where the folder is known already, its files are read while Qt starts and the window is
    // built. Only read: the window decides at its load step, after the single-instance check
    // and the restore of interrupted rewrites, whether it may use what was read.
    std::optional<mdb::MonsterPreload> preload;
    if (early.action == mdb::CommandLine::Action::Run && !mdb::StartFolder::needsAsking(early)) {
        preload.emplace(early.databaseDir);
    }

    QApplication app(argc, argv);
    // no display name: Qt would append it to the title of every message box
    QApplication::setApplicationName(QStringLiteral("monster-db-editor"));
    // ties the window to the installed desktop entry and its icon
    QGuiApplication::setDesktopFileName(QStringLiteral("monster-db-editor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/monster-db-editor.png")));
    mdb::installQtTranslations(&app);

    // parsed again without the options QApplication has taken for itself (-platform, -style)
    const mdb::CommandLine line = mdb::CommandLine::parse(QApplication::arguments());
    if (line.action == mdb::CommandLine::Action::Error) {
        print(stderr, QStringLiteral("monster-db-editor: %1\n").arg(line.text));
        return 2;
    }

    mdb::SingleInstanceGuard guard;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("monster-db-editor"), QStringLiteral("monster-db-editor"));
    mdb::QtFolderDialog dialog;
    mdb::StartFolder folder(settings, dialog);
    // a second start from the desktop menu brings the first forward instead of asking
    if (mdb::StartFolder::needsAsking(line) && guard.anotherInstanceRunning()) return 0;
    const std::optional<QDir> databaseDir = folder.choose(line);
    if (!databaseDir) return 0;  // the user cancelled: nothing to do, nothing to report
    // a folder chosen in the dialog (or named among Qt's own options) is read from here on
    if (!preload || !preload->holds(*databaseDir)) preload.emplace(*databaseDir);

    mdb::DialogMessageSink messages(nullptr);
    mdb::MainWindow window(*databaseDir, messages, &guard);
    switch (window.startUp(&*preload)) {
        case mdb::MainWindow::StartResult::AnotherInstance:
            // the running editor has another folder open and tells its user so
            if (const QString open = guard.otherFolderOpen(); !open.isEmpty()) {
                print(stderr, QStringLiteral("monster-db-editor: %1 は開きませんでした。"
                                             "起動中のエディタが %2 を開いています\n")
                                  .arg(databaseDir->absolutePath(), open));
                return 1;
            }
            return 0;
        case mdb::MainWindow::StartResult::Failed:
            return 1;
        case mdb::MainWindow::StartResult::Started:
            break;
    }
    folder.remember(*databaseDir);
    // a logout, a shutdown or a kill ends the program as quitting does, minus the question
    mdb::SignalBridge bridge;
    QObject::connect(&bridge, &mdb::SignalBridge::endRequested, &window,
                     &mdb::MainWindow::endSession);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     &mdb::MainWindow::endSession);
    window.show();
    return app.exec();
}
