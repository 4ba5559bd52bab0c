#pragma once

#include <QObject>

namespace barlink::base {

// One label at a time: while a label is being handled (its pauses included), scanner ticks
// skip, and a typed label or a take-back question waits for freed().
class LabelGate : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] bool isBusy() const { return m_busy; }

    // Marks the gate busy for its lifetime.
    class Hold
    {
    public:
        explicit Hold(LabelGate &gate)
            : m_gate(gate)
        {
            m_gate.m_busy = true;
        }
        ~Hold()
        {
            m_gate.m_busy = false;
            Q_EMIT m_gate.freed();
        }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        LabelGate &m_gate;
    };

Q_SIGNALS:
    void freed();

private:
    bool m_busy = false;
};

} // namespace barlink::base
