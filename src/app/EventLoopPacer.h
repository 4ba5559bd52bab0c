#pragma once

#include "base/Pacer.h"

namespace barlink::app {

// The real pauses: waits in a local event loop so that window events keep running.
class EventLoopPacer : public base::Pacer
{
public:
    void pause(float seconds) override;

    // Milliseconds of a pause: seconds x 1000 rounded half to even; negative gives 0.
    [[nodiscard]] static int milliseconds(float seconds);
};

} // namespace barlink::app
