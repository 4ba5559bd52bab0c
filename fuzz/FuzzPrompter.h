#pragma once

#include "base/Prompter.h"

namespace barlink::fuzz {

// Answers message boxes without a window: the first few with the button that goes on
// (Ok, Retry, Yes) when told to, every other one with the button that gives up, so that
// no retry loop runs for ever.
class FuzzPrompter : public base::Prompter
{
public:
    // How many boxes may be answered with the button that goes on.
    void setGoOnAnswers(int count) { m_goOnLeft = count; }
    [[nodiscard]] int shown() const { return m_shown; }

    Answer ask(Icon, Buttons buttons, const QString &) override
    {
        ++m_shown;
        const bool goOn = m_goOnLeft > 0;
        if (goOn)
            --m_goOnLeft;
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return goOn ? Answer::Ok : Answer::Cancel;
        case Buttons::RetryCancel:
            return goOn ? Answer::Retry : Answer::Cancel;
        case Buttons::YesNo:
            return goOn ? Answer::Yes : Answer::No;
        }
        return Answer::Cancel;
    }

private:
    int m_goOnLeft = 0;
    int m_shown = 0;
};

} // namespace barlink::fuzz
