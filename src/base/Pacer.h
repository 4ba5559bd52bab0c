#pragma once

namespace barlink::base {

// The pauses of label handling. The real one waits while window events keep
// running; tests inject one that returns at once and records the durations.
class Pacer
{
public:
    virtual ~Pacer() = default;
    // Waits the given seconds, rounded half to even to whole milliseconds.
    virtual void pause(float seconds) = 0;
};

} // namespace barlink::base
