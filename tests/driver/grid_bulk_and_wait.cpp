// Test helper, not part of the program: the editor's window on a database folder with one bulk
// edit made in the grid window (the first drop rate of every drop record doubled), as a user
// leaves it. Prints "ready" and runs until it is killed.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>

#include "app/MainWindow.h"
#include "ui/controls/MessageSink.h"
#include "ui/grid/GridPage.h"
#include "ui/grid/GridWindow.h"
#include "ui/grid/TableGridModel.h"

int main(int argc, char** argv) {
    using namespace Qt::StringLiterals;
    if (argc < 2) {
        std::fputs("usage: grid_bulk_and_wait FOLDER\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    mdb::RecordingMessageSink messages;
    mdb::MainWindow window(QDir(QString::fromLocal8Bit(argv[1])), messages);
    if (window.startUp() != mdb::MainWindow::StartResult::Started) return 3;
    window.show();
    window.findChild<QAction*>(u"mnuGrid"_s)->trigger();
    auto* grid = window.findChild<mdb::GridWindow*>(u"GridWindow"_s);
    grid->tabs()->setCurrentIndex(1);
    auto* model = qobject_cast<mdb::TableGridModel*>(grid->currentPage()->model());
    const int rate = model->columnOf(mdb::DropField::Rate(0));
    grid->currentPage()->findChild<QTableView*>(u"gridCells"_s)->selectionModel()->select(
        QItemSelection(model->index(0, rate), model->index(model->rowCount() - 1, rate)),
        QItemSelectionModel::ClearAndSelect);
    if (!grid->openBulkEdit()) return 4;
    auto* dialog = grid->findChild<QDialog*>(u"BulkEditDialog"_s);
    dialog->findChild<QComboBox*>(u"bulkOp"_s)->setCurrentIndex(2);
    dialog->findChild<QLineEdit*>(u"bulkValue"_s)->setText(u"2"_s);
    dialog->accept();
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
