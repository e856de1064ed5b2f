#pragma once

#include <QObject>
#include <functional>

namespace mdb {

class MessageSink;

// Quitting without losing work. With updates not yet saved, or forms holding edits not yet
// updated, the user is asked first: save and quit (updating first where the forms hold edits,
// and quitting only when the save succeeded), quit without saving, or stay. With nothing to lose
// the window closes at once.
class QuitCommand : public QObject {
    Q_OBJECT
public:
    struct Work {
        std::function<bool()> formsHoldEdits;  // an editor differs from the record it shows
        std::function<void()> update;          // the update command
        std::function<bool()> save;            // the save command; whether it succeeded
        std::function<int()> unsavedUpdates;   // updates not yet saved
        std::function<void()> discard;         // nothing of this run is to be recovered
    };
    QuitCommand(MessageSink& messages, Work work, QObject* parent = nullptr);

    // An update has changed records; a successful save has written them all.
    void noteUpdated() { setUnsavedUpdates(true); }
    void noteSaved() { setUnsavedUpdates(false); }
    bool hasUnsavedUpdates() const { return unsavedUpdates_; }

    // Whether the window may close now, asking first when work would be lost.
    bool mayQuit();
    // Ending without a question (a signal, the session ending): edits the forms hold are
    // updated first, so that the journal keeps them; from then on the window may close.
    void endAtOnce();

signals:
    // Updates not yet saved appeared or were all saved.
    void unsavedUpdatesChanged(bool unsaved);

private:
    void setUnsavedUpdates(bool unsaved) {
        if (unsaved == unsavedUpdates_) return;
        unsavedUpdates_ = unsaved;
        emit unsavedUpdatesChanged(unsaved);
    }

    MessageSink& messages_;
    Work work_;
    bool unsavedUpdates_ = false;
    bool ending_ = false;
};

}  // namespace mdb
