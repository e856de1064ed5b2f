#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Tornak MonsterDatabase Editor II"));
    w.show();
    return app.exec();
}
