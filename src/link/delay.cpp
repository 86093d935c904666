#include "link/delay.h"

#include "model/timing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace spk {

void Delay(int ms)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QCoreApplication::closingDown()) return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(app, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    timer.start(scaled(ms));
    loop.exec();
}

} // namespace spk
