#include "ui/layout/KeepOnScreen.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace mdb {

namespace {

// a window manager that never grants the size still gets its window checked after this
constexpr int kGiveUpMs = 1500;

const QString kName = QStringLiteral("keepOnScreen");

}  // namespace

KeepOnScreen::KeepOnScreen(QWidget& window) : QObject(&window), window_(window) {
    setObjectName(kName);
    window.installEventFilter(this);
}

void KeepOnScreen::resize(QWidget& window, const QSize& size) {
    // found by name: a class without a meta-object of its own cannot be found by its type
    auto* keeper =
        dynamic_cast<KeepOnScreen*>(window.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly));
    if (!keeper) keeper = new KeepOnScreen(window);
    keeper->expect(size);
    window.resize(size);
    // the same size again, or a platform that resizes at once: no resize is on its way
    if (window.size() == size) keeper->expect(QSize());
    if (window.isVisible() && !keeper->expected_.isValid()) {
        QTimer::singleShot(0, keeper, [keeper] { keeper->moveOntoScreen(); });
    }
}

void KeepOnScreen::expect(const QSize& size) {
    expected_ = size;
    if (!size.isValid()) return;
    const int generation = ++generation_;
    QTimer::singleShot(kGiveUpMs, this, [this, generation] {
        if (generation != generation_ || !expected_.isValid()) return;
        expected_ = QSize();
        moveOntoScreen();
    });
}

bool KeepOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Resize && expected_.isValid() &&
        window_.size() == expected_) {
        expected_ = QSize();
        // the frame follows the client once this event is handled
        QTimer::singleShot(0, this, [this] { moveOntoScreen(); });
    }
    return false;
}

void KeepOnScreen::moveOntoScreen() {
    if (!window_.isVisible() || window_.screen() == nullptr) return;
    const QRect available = window_.screen()->availableGeometry();
    const QRect frame = window_.frameGeometry();
    const int x =
        std::max(available.left(), std::min(frame.x(), available.right() + 1 - frame.width()));
    const int y =
        std::max(available.top(), std::min(frame.y(), available.bottom() + 1 - frame.height()));
    if (x != frame.x() || y != frame.y()) window_.move(x, y);
}

}  // namespace mdb
