// A bulk edit of the grid window is journaled as any update: a process killed after it loses
// nothing, and restoring and saving writes what the same edit saved without the kill writes.
#include <signal.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>

#include "EditorFixture.h"
#include "ui/grid/GridPage.h"
#include "ui/grid/GridWindow.h"
#include "ui/grid/TableGridModel.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

std::map<QString, QByteArray> allFiles(const QDir& folder) {
    std::map<QString, QByteArray> out;
    for (const QString& name : folder.entryList({u"*.txt"_s}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly)) out[name] = file.readAll();
    }
    return out;
}

}  // namespace

TEST_F(EditorFixture, AGridBulkEditKilledRestoresAndSavesAsIfNeverKilled) {
    // the same bulk edit in this process, saved
    copySample();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    const auto before = allFiles(QDir(dir.path()));
    control<QAction>(u"mnuGrid"_s)->trigger();
    auto* grid = window->findChild<GridWindow*>(u"GridWindow"_s);
    grid->tabs()->setCurrentIndex(1);
    auto* model = qobject_cast<TableGridModel*>(grid->currentPage()->model());
    const int rate = model->columnOf(DropField::Rate(0));
    grid->currentPage()->findChild<QTableView*>(u"gridCells"_s)->selectionModel()->select(
        QItemSelection(model->index(0, rate), model->index(model->rowCount() - 1, rate)),
        QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(grid->openBulkEdit());
    auto* dialog = grid->findChild<QDialog*>(u"BulkEditDialog"_s);
    dialog->findChild<QComboBox*>(u"bulkOp"_s)->setCurrentIndex(2);
    dialog->findChild<QLineEdit*>(u"bulkValue"_s)->setText(u"2"_s);
    dialog->accept();
    control<QAction>(u"MunFileSave"_s)->trigger();
    const auto expected = allFiles(QDir(dir.path()));
    ASSERT_NE(expected, before);
    window.reset();

    // the edit in a process killed outright
    copySample();
    ASSERT_EQ(allFiles(QDir(dir.path())), before);
    QProcess driver;
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    driver.setProcessEnvironment(env);
    driver.start(QString::fromLocal8Bit(MDB_GRID_DRIVER), {dir.path()});
    ASSERT_TRUE(driver.waitForStarted(10000));
    QByteArray out;
    while (!out.contains("ready") && driver.waitForReadyRead(30000)) out += driver.readAll();
    ASSERT_TRUE(out.contains("ready")) << out.constData();
    ASSERT_EQ(::kill(pid_t(driver.processId()), SIGKILL), 0);
    ASSERT_TRUE(driver.waitForFinished(30000));
    EXPECT_EQ(allFiles(QDir(dir.path())), before) << "nothing saved by the killed process";

    // the next start offers the update (復元), and a save writes the same bytes
    messages.messages.clear();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    QString question;
    for (const auto& m : messages.messages) {
        if (m.isQuestion) question = m.text;
    }
    EXPECT_EQ(question, u"前回保存されなかった更新が 1 件あります。復元しますか？"_s);
    control<QAction>(u"MunFileSave"_s)->trigger();
    EXPECT_EQ(allFiles(QDir(dir.path())), expected);
}

}  // namespace mdb::test
