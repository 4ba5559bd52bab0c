#include "SettingsDialog.h"
#include "ui_SettingsDialog.h"

#include "CenterForm.h"
#include "Error.h"
#include "Prompter.h"
#include "Settings.h"
#include "SettingsFile.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace barlink::app {

namespace {

// Groups option buttons and remembers the value each one sets.
QButtonGroup *makeGroup(QObject *parent,
                        std::initializer_list<std::pair<QRadioButton *, const char *>> options)
{
    auto *group = new QButtonGroup(parent);
    for (const auto &[button, value] : options) {
        button->setProperty("choiceValue", QString::fromLatin1(value));
        group->addButton(button);
    }
    return group;
}

QString valueOf(QAbstractButton *button)
{
    return button->property("choiceValue").toString();
}

} // namespace

SettingsDialog::SettingsDialog(Settings &settings, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::SettingsDialog>())
    , m_settings(settings)
    , m_prompter(prompter)
{
    m_ui->setupUi(this);
    m_port = makeGroup(this,
                       {{m_ui->optCom1, "1"},
                        {m_ui->optCom2, "2"},
                        {m_ui->optCom3, "3"},
                        {m_ui->OptCom4, "4"}});
    m_baud = makeGroup(this,
                       {{m_ui->optBaud300, "300"},
                        {m_ui->optBaud1200, "1200"},
                        {m_ui->optBaud2400, "2400"},
                        {m_ui->optBaud4800, "4800"},
                        {m_ui->optBaud9600, "9600"},
                        {m_ui->optBaud19200, "19200"},
                        {m_ui->optBaud38400, "38400"},
                        {m_ui->optBaud57600, "57600"}});
    m_parity = makeGroup(this,
                         {{m_ui->optParityNone, "N"},
                          {m_ui->optParityOdd, "O"},
                          {m_ui->optParityEven, "E"}});
    m_dataBits = makeGroup(this, {{m_ui->optDataBits7, "7"}, {m_ui->optDataBits8, "8"}});
    m_stopBits = makeGroup(this, {{m_ui->optStopBits1, "1"}, {m_ui->optStopBits2, "2"}});

    connect(m_port, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        m_choice.port = static_cast<qint16>(valueOf(b).toInt());
    });
    connect(m_baud, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        m_choice.baud = valueOf(b).toInt();
    });
    connect(m_parity, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        m_choice.parity = valueOf(b);
    });
    connect(m_dataBits, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        m_choice.dataBits = valueOf(b);
    });
    connect(m_stopBits, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        m_choice.stopBits = valueOf(b);
    });
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &SettingsDialog::onOk);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    fillIn();
    adjustSize();
    centerForm(this);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::select(QButtonGroup *group, const QString &value)
{
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(valueOf(button) == value);
    group->setExclusive(true);
}

void SettingsDialog::fillIn()
{
    m_choice = SerialChoice::fromSettings(m_settings.serialPort, m_settings.serialSettings);
    // A port without an option counts as none chosen: OK then stores 0.
    if (m_choice.port < 1 || m_choice.port > 4)
        m_choice.port = 0;
    select(m_port, QString::number(m_choice.port));
    select(m_baud, QString::number(m_choice.baud));
    select(m_parity, m_choice.parity);
    select(m_dataBits, m_choice.dataBits);
    select(m_stopBits, m_choice.stopBits);
    const bool allShown = m_port->checkedButton() && m_baud->checkedButton()
                          && m_parity->checkedButton() && m_dataBits->checkedButton()
                          && m_stopBits->checkedButton();
    m_ui->lblUnshown->setVisible(!allShown);
    m_ui->lblUnshown->setText(
        tr("Current settings: port %1, %2. A value without an option here is kept unless you "
           "choose another.")
            .arg(m_settings.serialPort)
            .arg(m_settings.serialSettings));
}

void SettingsDialog::onOk()
{
    m_settings.serialSettings = m_choice.toSettings();
    m_settings.serialPort = m_choice.port;
    try {
        saveSerialSettings(m_settings);
    } catch (const Error &error) {
        m_prompter.inform(Prompter::Icon::Critical, unexpectedErrorText(error));
    }
    accept();
}

} // namespace barlink::app
