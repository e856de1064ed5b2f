#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

class QMessageBox;
class QScreen;
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
    // A question with the application's title and named answers; returns the index of the
    // answer chosen, `escape` when the box is closed without one.
    virtual int ask(const QString& text, const QStringList& answers, int defaultAnswer,
                    int escape) = 0;

    static QString joinLines(const QStringList& lines);
    // Breaks a shown box's lines that would be wider than the box may be on its screen.
    static void fitLines(QMessageBox& box);
    // The widest a message box may be on `screen`.
    static int widestBox(const QScreen* screen);
};

class DialogMessageSink : public MessageSink {
public:
    explicit DialogMessageSink(QWidget* parent) : parent_(parent) {}
    void warning(const QString& title, const QString& text) override;
    void notice(const QString& text) override;
    Answer askSaveBeforeQuit(const QString& text) override;
    int ask(const QString& text, const QStringList& answers, int defaultAnswer,
            int escape) override;

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
        QStringList answers;  // the named answers of a question asked with ask()
    };
    void warning(const QString& title, const QString& text) override {
        messages.push_back({true, title, text, false, {}});
    }
    void notice(const QString& text) override {
        messages.push_back({false, QString(), text, false, {}});
    }
    // Recorded, and answered with the next of `answers` (Cancel when none is left).
    Answer askSaveBeforeQuit(const QString& text) override {
        messages.push_back({false, QString(), text, true, {}});
        if (answers.empty()) return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Recorded, and answered with the next of `choices` (the default answer when none is left).
    int ask(const QString& text, const QStringList& named, int defaultAnswer, int) override {
        messages.push_back({false, QString(), text, true, named});
        if (choices.empty()) return defaultAnswer;
        const int choice = choices.front();
        choices.pop_front();
        return choice;
    }

    std::vector<Message> messages;
    std::deque<Answer> answers;
    std::deque<int> choices;
};

}  // namespace mdb
