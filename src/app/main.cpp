#include <QApplication>
#include <QDir>

#include "app/InstanceGuard.h"
#include "app/MainWindow.h"
#include "ui/controls/MessageSink.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // no display name: Qt would append it to the title of every message box
    QApplication::setApplicationName(QStringLiteral("monster-db-editor"));

    mdb::SingleInstanceGuard guard;
    mdb::DialogMessageSink messages(nullptr);
    // the database files are read from and written to the current working folder
    mdb::MainWindow window(QDir::current(), messages, &guard);
    switch (window.startUp()) {
        case mdb::MainWindow::StartResult::AnotherInstance:
            return 0;
        case mdb::MainWindow::StartResult::Failed:
            return 1;
        case mdb::MainWindow::StartResult::Started:
            break;
    }
    window.show();
    return app.exec();
}
