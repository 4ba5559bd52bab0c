#pragma once

#include "base/Prompter.h"

class QWidget;

namespace barlink::app {

// Real message boxes for the Prompter seam, with the application title as caption.
class PromptDialog : public base::Prompter
{
public:
    explicit PromptDialog(QWidget *parent = nullptr)
        : m_parent(parent)
    {}

    void setParent(QWidget *parent) { m_parent = parent; }
    Answer ask(Icon icon, Buttons buttons, const QString &text) override;
    Answer askWithDetails(Icon icon,
                          Buttons buttons,
                          const QString &text,
                          const QString &details) override;

private:
    QWidget *m_parent = nullptr;
};

} // namespace barlink::app
