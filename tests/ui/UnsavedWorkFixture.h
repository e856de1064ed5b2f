#pragma once

// The main window of the unsaved-work tests: two updates of two files, the files as they are,
// the question asked and the journal's place.
#include <QAction>
#include <map>

#include "EditorFixture.h"
#include "storage/Journal.h"

namespace mdb::test {

class UnsavedWorkTest : public EditorFixture {
protected:
    std::map<QString, QByteArray> files() const {
        std::map<QString, QByteArray> out;
        const MonsterDatabase names;
        for (const Table* table : names.saveOrder()) {
            out[table->name()] = readBytes(table->name());
        }
        return out;
    }
    // Two updates: the HP of the first monster, then a drop rate of KAPPA_KING.
    void makeTwoUpdates() {
        typeInto(QStringLiteral("Text1(2)"), QStringLiteral("4321"));
        trigger(QStringLiteral("mnuRenw"));
        show(QStringLiteral("KAPPA_KING"));
        enableFrame(QStringLiteral("Frame2"));
        typeInto(QStringLiteral("Text6(1)"), QStringLiteral("1234"));
        trigger(QStringLiteral("mnuRenw"));
    }
    QString question() const {
        for (const auto& m : messages.messages) {
            if (m.isQuestion) return m.text;
        }
        return {};
    }
    QString journalPath() const { return Journal::pathFor(dir.path()); }
    static QByteArray readBytesFrom(const QString& absolute) {
        QFile file(absolute);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeBytesTo(const QString& absolute, const QByteArray& bytes) {
        QFile file(absolute);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};

}  // namespace mdb::test
