#include "ManualEntryPanel.h"

#include "base/StatusTexts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QShortcut>

namespace barlink::app {

ManualEntryPanel::ManualEntryPanel(QWidget *parent)
    : QGroupBox(tr("Manual entry"), parent)
    , m_text(new QLineEdit(this))
    , m_edit(new QPushButton(tr("Edit"), this))
    , m_ok(new QPushButton(tr("OK"), this))
{
    setObjectName(QStringLiteral("fraManual"));
    m_text->setObjectName(QStringLiteral("txtEtichetta"));
    m_text->setEnabled(false);
    m_text->setPlaceholderText(tr("Press Edit to type a label"));
    m_edit->setObjectName(QStringLiteral("cmdEdit"));
    m_ok->setObjectName(QStringLiteral("cmdEndEdit"));
    m_ok->setEnabled(false);
    m_ok->setDefault(true);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_edit);
    layout->addWidget(m_ok);
    connect(m_edit, &QPushButton::clicked, this, &ManualEntryPanel::start);
    connect(m_ok, &QPushButton::clicked, this, &ManualEntryPanel::end);
    connect(m_text, &QLineEdit::returnPressed, this, &ManualEntryPanel::end);
    // Escape in the box closes the entry, as OK on an empty box does.
    connect(
        new QShortcut(QKeySequence(Qt::Key_Escape), m_text, nullptr, nullptr, Qt::WidgetShortcut),
        &QShortcut::activated,
        this,
        [this] {
            if (!m_typedWaiting) {
                m_text->clear();
                end();
            }
        });
}

QList<QWidget *> ManualEntryPanel::tabOrder() const
{
    return {m_edit, m_text, m_ok};
}

void ManualEntryPanel::start()
{
    m_text->setEnabled(true);
    m_text->setFocus();
    m_edit->setEnabled(false);
    m_ok->setEnabled(true);
    Q_EMIT statusTold(base::status::typeLabel());
}

void ManualEntryPanel::close()
{
    // The focus goes back to Edit before the entry's controls are disabled: otherwise it
    // moves on to the next control, an option switch that the next Space would change.
    m_edit->setEnabled(true);
    m_edit->setFocus();
    m_text->clear();
    m_text->setEnabled(false);
    m_ok->setEnabled(false);
}

void ManualEntryPanel::end()
{
    if (!m_ok->isEnabled() || m_typedWaiting)
        return;
    const QString text = m_text->text().toUpper();
    m_text->setText(text);
    if (text.isEmpty()) {
        close();
        Q_EMIT statusTold(base::status::ready());
        return;
    }
    // The station may take it now or after the label in hand: typedLabelDone() follows.
    // With no station to take it, it is not taken.
    m_typedWaiting = true;
    if (isSignalConnected(QMetaMethod::fromSignal(&ManualEntryPanel::labelTyped)))
        Q_EMIT labelTyped(text);
    else
        typedLabelDone(false);
}

void ManualEntryPanel::typedLabelDone(bool taken)
{
    if (!m_typedWaiting)
        return;
    m_typedWaiting = false;
    if (taken) {
        close();
    } else {
        QApplication::beep();
        m_text->setFocus();
    }
}

} // namespace barlink::app
