#pragma once

#include <QString>

namespace barlink::app {

// Modal message boxes with the application title as caption. The main window shows
// real ones; tests script the answers.
class Prompter
{
public:
    enum class Icon { None, Critical, Question, Warning, Information };
    enum class Buttons { Ok, OkCancel, RetryCancel, YesNo };
    enum class Answer { Ok, Cancel, Retry, Yes, No };

    virtual ~Prompter() = default;
    virtual Answer ask(Icon icon, Buttons buttons, const QString &text) = 0;

    void inform(Icon icon, const QString &text) { ask(icon, Buttons::Ok, text); }
};

} // namespace barlink::app
