#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

#include "app/MainWindow.h"
#include "app/MonsterPreload.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/controls/MessageSink.h"
#include "ui/editors/DependentEditor.h"
#include "ui/status/StatusEditor.h"

namespace mdb::test {

// A main window over a temporary copy of a database, with recorded messages.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& fileName) const { return dir.filePath(fileName); }

    // Copies the bundled sample database (or only the named files of it).
    void copySample(const QStringList& only = {}) {
        const QDir sample(QStringLiteral(MDB_SAMPLE_DIR));
        for (const QString& name : sample.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            if (!only.isEmpty() && !only.contains(name)) continue;
            QFile::remove(path(name));
            ASSERT_TRUE(QFile::copy(sample.filePath(name), path(name))) << name.toStdString();
        }
    }

    // Writes a file in code page 932.
    void writeFile(const QString& fileName, const QString& text) {
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(text);
        ASSERT_FALSE(encoder.hasError());
        writeBytes(fileName, bytes);
    }
    void writeBytes(const QString& fileName, const QByteArray& bytes) {
        QFile file(path(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray readBytes(const QString& fileName) const {
        QFile file(path(fileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    MainWindow::StartResult start() {
        window = std::make_unique<MainWindow>(QDir(dir.path()), messages);
        return window->startUp();
    }
    // The same with the files read ahead while the window is built, as the program starts; the
    // reader is gone once the start has returned.
    MainWindow::StartResult startPreloaded() {
        MonsterPreload preload{QDir(dir.path())};
        window = std::make_unique<MainWindow>(QDir(dir.path()), messages);
        return window->startUp(&preload);
    }
    // Starts on the sample database and expects the start to succeed.
    void startSample() {
        copySample();
        ASSERT_EQ(start(), MainWindow::StartResult::Started);
        ASSERT_TRUE(messages.messages.empty());
    }

    template <class T>
    T* control(const QString& objectName) const {
        T* found = window->findChild<T*>(objectName);
        EXPECT_NE(found, nullptr) << objectName.toStdString();
        return found;
    }

    // Menu entries and buttons by their object names, used as the user uses them.
    QAction* action(const QString& objectName) const { return control<QAction>(objectName); }
    void trigger(const QString& objectName) const {
        if (QAction* found = action(objectName)) found->trigger();
    }
    QPushButton* button(const QString& objectName) const {
        return control<QPushButton>(objectName);
    }
    void click(const QString& objectName) const {
        if (QPushButton* found = button(objectName)) found->click();
    }

    // What the controls are bound to, for what no control shows: which record an editor holds,
    // whether it holds edits, the undo history and the journal.
    StatusEditor& statusEditor() const { return part<StatusEditor>(); }
    UnsavedWork& unsavedWork() const { return part<UnsavedWork>(); }
    DependentEditor& editor(TableId table) const {
        DependentEditor* found = window->editors().editorOf(table);
        if (!found) throw std::logic_error("no editor of that table");
        return *found;
    }

    // Focus events as the window system would send them when the user enters or leaves a box.
    static void focusIn(QWidget* widget) {
        QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }
    static void focusOut(QWidget* widget) {
        QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }

    template <class T>
    T& part() const {
        T* found = window->findChild<T*>();
        if (!found) throw std::logic_error("the window has no such part");
        return *found;
    }

    QTemporaryDir dir;
    RecordingMessageSink messages;
    std::unique_ptr<MainWindow> window;
};

}  // namespace mdb::test
