#pragma once

#include "SerialChoice.h"

#include <QDialog>

#include <memory>

class QAbstractButton;
class QButtonGroup;

namespace Ui {
class SettingsDialog;
}

namespace barlink::app {

class Prompter;
struct Settings;

// frmSettings: the operator chooses the scanner's port and line settings. OK stores
// them in memory and in the settings file; the caller then reopens the port.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    SettingsDialog(Settings &settings, Prompter &prompter, QWidget *parent = nullptr);
    ~SettingsDialog() override;

    [[nodiscard]] const SerialChoice &choice() const { return m_choice; }

private:
    void fillIn();
    void onOk();
    static void select(QButtonGroup *group, const QString &value);

    std::unique_ptr<Ui::SettingsDialog> m_ui;
    Settings &m_settings;
    Prompter &m_prompter;
    SerialChoice m_choice;
    QButtonGroup *m_port = nullptr;
    QButtonGroup *m_baud = nullptr;
    QButtonGroup *m_parity = nullptr;
    QButtonGroup *m_dataBits = nullptr;
    QButtonGroup *m_stopBits = nullptr;
};

} // namespace barlink::app
