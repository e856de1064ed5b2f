#pragma once

#include <QObject>
#include <vector>

class QRandomGenerator;
class QWidget;

namespace mdb {
class MainWindow;
}

namespace mdb::bench {

// The steady clock now, in nanoseconds, and the milliseconds between two such readings.
qint64 nowNs();
double ms(qint64 fromNs, qint64 toNs);

double median(std::vector<double> v);

// Runs the event loop until `window` has been painted once: the first paint is what the user
// waits for, and it runs every widget's own paint code.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window);
    void wait();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    bool painted_ = false;
};

// Jumps to a random monster, as a user picking from the list or typing a number does; the
// milliseconds the switch took, its paint not included.
double randomSwitch(MainWindow& window, QRandomGenerator& random);

// Lets the event loop paint what the last step changed, as it does before a user's next step;
// the milliseconds that took.
double paintPending();

}  // namespace mdb::bench
