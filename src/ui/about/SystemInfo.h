#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace mdb {

class MessageSink;

// A store of named values under keys, as the system-information launcher looks its program
// up. Linux has no such store of system paths; NoKeyValueStore is what the program uses there.
class KeyValueStore {
public:
    enum class Root { LocalMachine };
    // A value's bytes as stored, with its type: 1 is text, 4 a 32-bit number (little endian).
    struct RawValue {
        quint32 type = 0;
        QByteArray bytes;
    };
    static constexpr quint32 TextType = 1;
    static constexpr quint32 NumberType = 4;

    virtual ~KeyValueStore() = default;
    // Nothing when the key cannot be opened or holds no such value.
    virtual std::optional<RawValue> query(Root root, const QString& key,
                                          const QString& valueName) const = 0;
};

class NoKeyValueStore : public KeyValueStore {
public:
    std::optional<RawValue> query(Root, const QString&, const QString&) const override {
        return std::nullopt;
    }
};

// Starts another program in its own process; false when it could not be started.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool start(const QString& program) = 0;
};

class DetachedProgramLauncher : public ProgramLauncher {
public:
    bool start(const QString& program) override;
};

// A value as text: text values as stored (code page 932, without a closing NUL), numbers in
// decimal. Nothing when the store has no such value.
std::optional<QString> GetKeyValue(const KeyValueStore& store, KeyValueStore::Root root,
                                   const QString& key, const QString& valueName);

// The "ｼｽﾃﾑ情報" button: starts the system-information program that the store names, or tells
// the user that there is none.
void StartSysInfo(const KeyValueStore& store, ProgramLauncher& launcher, MessageSink& messages);

}  // namespace mdb
