// Test helper, not part of the program: the editor's window on a database folder, with one
// update made (the HP of the first monster) and, when given, one more value typed but not
// updated, as a user leaves them. Prints "ready" and runs until a signal ends it, as the
// program does.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/SignalBridge.h"
#include "ui/controls/MessageSink.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: update_and_wait FOLDER HP [SP]\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    mdb::RecordingMessageSink messages;
    mdb::MainWindow window(QDir(QString::fromLocal8Bit(argv[1])), messages);
    if (window.startUp() != mdb::MainWindow::StartResult::Started) return 3;
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("Text1(2)"))
        ->setText(QString::fromLocal8Bit(argv[2]));
    window.findChild<QAction*>(QStringLiteral("mnuRenw"))->trigger();
    if (argc > 3) {
        window.findChild<QLineEdit*>(QStringLiteral("Text1(3)"))
            ->setText(QString::fromLocal8Bit(argv[3]));
    }
    mdb::SignalBridge bridge;
    QObject::connect(&bridge, &mdb::SignalBridge::endRequested, &window,
                     &mdb::MainWindow::endSession);
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
