#pragma once

#include <QString>

namespace barlink::base {

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
    // The same box with further text below the message (where a file was looked for, say).
    // A prompter that has no place for it shows it after the message.
    virtual Answer
    askWithDetails(Icon icon, Buttons buttons, const QString &text, const QString &details)
    {
        return ask(
            icon, buttons, details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
    }

    // Closes the open box that shows text, as though its No or Cancel was pressed: what it asked
    // about has settled itself. Nothing when no such box is open; a prompter whose boxes are
    // answered at once never has one open.
    virtual void withdraw(const QString &text) { (void)text; }

    void inform(Icon icon, const QString &text) { ask(icon, Buttons::Ok, text); }
    void informWithDetails(Icon icon, const QString &text, const QString &details)
    {
        askWithDetails(icon, Buttons::Ok, text, details);
    }
};

} // namespace barlink::base
