#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

class QWidget;

namespace mdb {

// The application's title: the main window's title and the caption of notices.
inline const QString& applicationTitle() {
    static const QString title = QStringLiteral("Tornak MonsterDatabase Editor II");
    return title;
}

// Every message box of the program goes through here, so that tests can record them instead of
// blocking on a dialog. Texts of several lines are joined with CR LF.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Warning icon, OK button, the given title.
    virtual void warning(const QString& title, const QString& text) = 0;
    // No icon, OK button, the application's title.
    virtual void notice(const QString& text) = 0;
    // Quitting would lose work: a question with the application's title and three answers,
    // save and quit, quit without saving, or stay.
    enum class Answer { Save, Discard, Cancel };
    virtual Answer askSaveBeforeQuit(const QString& text) = 0;

    static QString joinLines(const QStringList& lines);
};

class DialogMessageSink : public MessageSink {
public:
    explicit DialogMessageSink(QWidget* parent) : parent_(parent) {}
    void warning(const QString& title, const QString& text) override;
    void notice(const QString& text) override;
    Answer askSaveBeforeQuit(const QString& text) override;

private:
    QWidget* parent_;
};

class RecordingMessageSink : public MessageSink {
public:
    struct Message {
        bool isWarning;
        QString title;
        QString text;
        bool isQuestion = false;
    };
    void warning(const QString& title, const QString& text) override {
        messages.push_back({true, title, text});
    }
    void notice(const QString& text) override { messages.push_back({false, QString(), text}); }
    // Recorded, and answered with the next of `answers` (Cancel when none is left).
    Answer askSaveBeforeQuit(const QString& text) override {
        messages.push_back({false, QString(), text, true});
        if (answers.empty()) return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Message> messages;
    std::deque<Answer> answers;
};

}  // namespace mdb
