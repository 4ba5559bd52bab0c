#pragma once

#include "app/StandIns.h"

namespace barlink::fuzz {

// Answers message boxes without a window: the first few with the button that goes on
// (Ok, Retry, Yes) when told to, every other one with the button that gives up, so that
// no retry loop runs for ever.
class FuzzPrompter : public app::MemoryPrompter
{
public:
    // How many boxes may be answered with the button that goes on.
    void setGoOnAnswers(int count) { m_goOnLeft = count; }

    Answer
    askWithDetails(Icon icon, Buttons buttons, const QString &text, const QString &details) override
    {
        if (m_goOnLeft > 0) {
            --m_goOnLeft;
            answers.enqueue(goOn(buttons));
        }
        return MemoryPrompter::askWithDetails(icon, buttons, text, details);
    }

private:
    static Answer goOn(Buttons buttons)
    {
        switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok;
        case Buttons::RetryCancel:
            return Answer::Retry;
        case Buttons::YesNo:
            return Answer::Yes;
        }
        return Answer::Ok;
    }

    int m_goOnLeft = 0;
};

} // namespace barlink::fuzz
