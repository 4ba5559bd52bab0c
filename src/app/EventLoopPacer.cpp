#include "EventLoopPacer.h"

#include <QCoreApplication>

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
    m_clock.wait(milliseconds(seconds));
    QCoreApplication::processEvents();
}

} // namespace barlink::app
