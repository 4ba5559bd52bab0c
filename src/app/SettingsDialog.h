#pragma once

#include "SerialChoice.h"
#include "scanner/SerialDevice.h"

#include <QDialog>

#include <memory>

class QAbstractButton;
class QButtonGroup;
class QListWidgetItem;

namespace Ui {
class SettingsDialog;
}

namespace barlink::base {
class Prompter;
struct Settings;
} // namespace barlink::base

namespace barlink::app {

class PortControl;

// frmSettings: the operator chooses the scanner's port (Com1 to Com4, or a serial device
// of the system, or any device path) and line settings. OK stores exactly what the dialog
// shows, in memory and in the settings file, and opens the port with it; when the port
// does not open, the dialog stays open and says why.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // OK opens the port of portControl with the settings just stored.
    SettingsDialog(const base::Settings &settings,
                   base::Prompter &prompter,
                   PortControl &portControl,
                   QWidget *parent = nullptr);
    ~SettingsDialog() override;

    // Offers these devices in the list (the system's when the dialog opens).
    void setDevices(const QList<scanner::SerialDevice> &devices);

    [[nodiscard]] const SerialChoice &choice() const { return m_choice; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillIn();
    // The device of an item of the list, chosen by the operator's act on it.
    void chooseItem(QListWidgetItem *item);
    void chooseDevice(const QString &path);
    void showProblem(const QString &text);
    void onOk();
    static void select(QButtonGroup *group, const QString &value);

    std::unique_ptr<Ui::SettingsDialog> m_ui;
    const base::Settings &m_settings;
    base::Prompter &m_prompter;
    PortControl &m_portControl;
    SerialChoice m_choice;
    QButtonGroup *m_port = nullptr;
    QButtonGroup *m_baud = nullptr;
    QButtonGroup *m_parity = nullptr;
    QButtonGroup *m_dataBits = nullptr;
    QButtonGroup *m_stopBits = nullptr;
};

} // namespace barlink::app
