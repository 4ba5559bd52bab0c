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
    // The same pause given in whole milliseconds, as the settings hold it.
    void pauseMilliseconds(int ms) { pause(static_cast<float>(ms) / 1000.0f); }
};

} // namespace barlink::base
