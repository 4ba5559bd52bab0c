#pragma once

#include "base/Prompter.h"

#include <QList>
#include <QString>

class QMessageBox;
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
    void withdraw(const QString &text) override;

private:
    struct OpenBox
    {
        QString text;
        QMessageBox *box = nullptr;
    };

    QWidget *m_parent = nullptr;
    // The boxes open now, the one opened last at the back.
    QList<OpenBox> m_open;
};

} // namespace barlink::app
