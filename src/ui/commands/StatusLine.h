#pragma once

#include <QWidget>

class QLabel;

namespace mdb {

// The status bar's one line: the last command's message on the left, the database folder on
// the right. The message keeps the width its text needs; the folder gets what is left and
// gives up the start of its path first. Only a message wider than the whole bar is cut, at
// its end, with the whole text in its tool tip.
class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(const QString& folder, QWidget* parent = nullptr);

    void setMessage(const QString& text);
    QString message() const { return message_; }
    void setMessageToolTip(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void arrange();

    QLabel* messageLabel_;
    QLabel* folderLabel_;
    QString message_;
    QString folder_;  // the path alone
    QString toolTip_;
};

}  // namespace mdb
