#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

namespace barlink::app {

// Tools > Try a label…: labels typed or pasted, one per line, and what the station would do
// with them, in order, from a try run on the station's settings and program files. Trying
// writes nothing and leaves the running station alone. Ctrl+Enter tries; Escape closes.
class TryWindow : public QWidget
{
    Q_OBJECT
public:
    // programDir, windowsDir: where the station looks for its settings file.
    TryWindow(QString programDir, QString windowsDir, QWidget *parent = nullptr);

    // Tries the labels in the text box.
    void tryLabels();

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitLabelsBox();

    QString m_programDir;
    QString m_windowsDir;
    QPlainTextEdit *m_labels = nullptr;
    QPushButton *m_try = nullptr;
    QTextBrowser *m_account = nullptr;
};

} // namespace barlink::app
