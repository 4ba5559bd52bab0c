#include "EventLoopPacer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

namespace barlink::app {

int EventLoopPacer::milliseconds(float seconds)
{
    const double ms = std::nearbyint(static_cast<double>(seconds) * 1000.0); // ties to even
    if (!(ms > 0))
        return 0;
    return ms > 3'600'000 ? 3'600'000 : static_cast<int>(ms);
}

void EventLoopPacer::pause(float seconds)
{
    QCoreApplication::processEvents();
    const int ms = milliseconds(seconds);
    if (ms > 0) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QCoreApplication::processEvents();
}

} // namespace barlink::app
