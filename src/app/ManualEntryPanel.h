#pragma once

#include <QGroupBox>

class QLineEdit;
class QPushButton;

namespace barlink::app {

// The manual entry for a label that cannot be scanned: Edit opens the box, OK hands the label
// in upper case to whoever takes labels, and the box closes once it is taken or stays open for
// correction. With touch, a keypad of the characters a label holds types into the open box.
class ManualEntryPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit ManualEntryPanel(QWidget *parent = nullptr);

    // The controls in the order Tab goes through them.
    [[nodiscard]] QList<QWidget *> tabOrder() const;
    // The keypad under the open box, or none.
    void setKeypadShown(bool shown);

public Q_SLOTS:
    // The label last given by labelTyped() has been handled: taken closes the entry, otherwise
    // it stays for correction.
    void typedLabelDone(bool taken);

Q_SIGNALS:
    // The operator typed this label and pressed OK; typedLabelDone() is to follow.
    void labelTyped(const QString &label);
    // What the status line is to say as the entry opens and as it closes empty.
    void statusTold(const QString &text);
    // The keypad has come under the box: the entry is to be scrolled into view.
    void keypadOpened();

protected:
    void changeEvent(QEvent *event) override;

private:
    void start();
    void end();
    void close();
    [[nodiscard]] QWidget *makeKeypad();
    void showKeypad();
    // Each key a target for a gloved finger at the present text size.
    void sizeKeys();

    QLineEdit *m_text = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_ok = nullptr;
    QWidget *m_keypad = nullptr;
    bool m_keypadShown = false;
    // A typed label was given and its outcome is awaited: OK meanwhile gives nothing more.
    bool m_typedWaiting = false;
};

} // namespace barlink::app
