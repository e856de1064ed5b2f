#include "ProbeSteps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/MainWindow.h"

namespace mdb::bench {

using namespace Qt::StringLiterals;

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double ms(qint64 fromNs, qint64 toNs) {
    return double(toNs - fromNs) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? -1
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

FirstPaint::FirstPaint(QWidget* window) : window_(window) {
    window->installEventFilter(this);
}

void FirstPaint::wait() {
    QElapsedTimer bound;
    bound.start();
    while (!painted_ && bound.elapsed() < 10000) QCoreApplication::processEvents();
    if (!painted_) {
        std::fprintf(stderr, "the window was never painted\n");
        std::exit(1);
    }
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Paint) painted_ = true;
    return false;
}

double randomSwitch(MainWindow& window, QRandomGenerator& random) {
    const int last = int(window.database().StatusTable.Count()) - 1;
    QLineEdit* positionBox = window.findChild<QLineEdit*>(u"Text0"_s);
    QString target;
    do {
        target = QString::number(1 + random.bounded(std::max(last, 1)));
    } while (last > 1 && target == positionBox->text());
    const qint64 t = nowNs();
    positionBox->setText(target);
    return ms(t, nowNs());
}

double paintPending() {
    // the boxes a step changed ask for their paint with posted events, which one pass delivers
    const qint64 t = nowNs();
    QCoreApplication::processEvents();
    return ms(t, nowNs());
}

}  // namespace mdb::bench
