#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <memory>

#include "app/MainWindow.h"
#include "app/MonsterPreload.h"
#include "ui/controls/MessageSink.h"

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

    // Focus events as the window system would send them when the user enters or leaves a box.
    static void focusIn(QWidget* widget) {
        QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }
    static void focusOut(QWidget* widget) {
        QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }

    QTemporaryDir dir;
    RecordingMessageSink messages;
    std::unique_ptr<MainWindow> window;
};

}  // namespace mdb::test
