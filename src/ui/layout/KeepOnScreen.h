#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace mdb {

// Resizes a shown window and, once the window system has really given it the new size, moves
// it back onto its screen when it grew past an edge. A window that grows downwards from where
// it was placed while small would otherwise hide the lower editors below the screen's bottom.
// The window manager draws the frame around the new size only after the resize has gone
// through, so the frame is read when the resize arrives, never at a guessed moment.
class KeepOnScreen : public QObject {
public:
    static void resize(QWidget& window, const QSize& size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeepOnScreen(QWidget& window);
    void expect(const QSize& size);
    void moveOntoScreen();

    QWidget& window_;
    QSize expected_;
    int generation_ = 0;
};

}  // namespace mdb
