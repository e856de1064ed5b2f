#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "check/CheckCommand.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return mdb::check::runChecker(QCoreApplication::arguments(), out, err);
}
