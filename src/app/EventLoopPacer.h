#pragma once

#include "base/Clock.h"
#include "base/Pacer.h"

namespace barlink::app {

// The pauses of the program: waits on its clock while window events (and scanner ticks) keep
// running.
class EventLoopPacer : public base::Pacer
{
public:
    explicit EventLoopPacer(base::Clock &clock = base::Clock::real())
        : m_clock(clock)
    {}
    void pause(float seconds) override;

    // Milliseconds of a pause: seconds x 1000 rounded half to even; negative gives 0.
    [[nodiscard]] static int milliseconds(float seconds);

private:
    base::Clock &m_clock;
};

} // namespace barlink::app
