#include "ManualEntryPanel.h"

#include "base/StatusTexts.h"
#include "ui/Appearance.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

// The keypad's characters in rows of KeypadColumns: digits, letters, and what labels hold
// besides (segment and command marks, the list and program barcode marks, a name's dot, dash
// and underscore, the quote that fixes a field, the run-field marks).
const QString KeypadCharacters = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ%$*^!&'.-_/");
constexpr int KeypadColumns = 10;

} // namespace

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
    auto *row = new QHBoxLayout;
    row->addWidget(m_text);
    row->addWidget(m_edit);
    row->addWidget(m_ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
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

void ManualEntryPanel::setKeypadShown(bool shown)
{
    m_keypadShown = shown;
    showKeypad();
}

void ManualEntryPanel::showKeypad()
{
    const bool shown = m_keypadShown && m_text->isEnabled();
    if (shown && !m_keypad) {
        m_keypad = makeKeypad();
        layout()->addWidget(m_keypad);
    }
    sizeKeys();
    if (!m_keypad || m_keypad->isVisibleTo(this) == shown)
        return;
    m_keypad->setVisible(shown);
    sizeKeys();
    if (shown)
        Q_EMIT keypadOpened();
}

void ManualEntryPanel::sizeKeys()
{
    if (!m_keypad)
        return;
    const int least = ui::touchTarget();
    for (QPushButton *key : m_keypad->findChildren<QPushButton *>())
        key->setMinimumSize(least, least);
    // The window's layouts size the entry by its width (some of its neighbours wrap their
    // text), which would squeeze the keys: least heights hold it to whole keys.
    m_keypad->layout()->invalidate();
    m_keypad->setMinimumHeight(m_keypad->layout()->totalMinimumSize().height());
    layout()->invalidate();
    setMinimumHeight(m_keypad->isVisibleTo(this) ? layout()->totalMinimumSize().height() : 0);
}

void ManualEntryPanel::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        sizeKeys();
}

QWidget *ManualEntryPanel::makeKeypad()
{
    auto *keypad = new QWidget(this);
    keypad->setObjectName(QStringLiteral("keypad"));
    auto *grid = new QGridLayout(keypad);
    grid->setContentsMargins(0, 0, 0, 0);
    // The keys never take the focus: the box keeps it, and its cursor, while they type.
    const auto key = [&](const QString &name, const QString &caption, int at, int span) {
        auto *button = new QPushButton(caption, keypad);
        button->setObjectName(QStringLiteral("key") + name);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        grid->addWidget(button, at / KeypadColumns, at % KeypadColumns, 1, span);
        return button;
    };
    int at = 0;
    for (const QChar character : KeypadCharacters) {
        // "&" would mark a shortcut: doubled, it is shown.
        const QString caption = character == u'&' ? QStringLiteral("&&") : QString(character);
        connect(key(character, caption, at++, 1), &QPushButton::clicked, this, [this, character] {
            m_text->insert(character);
        });
    }
    QPushButton *backspace = key(QStringLiteral("Backspace"), QStringLiteral("⌫"), at, 3);
    backspace->setToolTip(tr("Delete the character before the cursor"));
    backspace->setAccessibleName(backspace->toolTip());
    connect(backspace, &QPushButton::clicked, m_text, &QLineEdit::backspace);
    at = (at / KeypadColumns + 1) * KeypadColumns;
    connect(key(QStringLiteral("Space"), tr("Space"), at, 6), &QPushButton::clicked, this, [this] {
        m_text->insert(QStringLiteral(" "));
    });
    connect(key(QStringLiteral("Enter"), tr("OK"), at + 6, 4),
            &QPushButton::clicked,
            this,
            &ManualEntryPanel::end);
    return keypad;
}

void ManualEntryPanel::start()
{
    m_text->setEnabled(true);
    m_text->setFocus();
    m_edit->setEnabled(false);
    m_ok->setEnabled(true);
    showKeypad();
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
    showKeypad();
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
