#include "SettingsDialog.h"
#include "ui_SettingsDialog.h"

#include "PortControl.h"

#include "base/Error.h"
#include "base/Prompter.h"
#include "base/Settings.h"
#include "settings/SettingsFile.h"
#include "text/TrimSpaces.h"
#include "ui/CenterForm.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

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

// The port option that stands for a device path instead of a port number.
const QString DeviceChoice = QStringLiteral("device");

} // namespace

SettingsDialog::SettingsDialog(const base::Settings &settings,
                               base::Prompter &prompter,
                               PortControl &portControl,
                               QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::SettingsDialog>())
    , m_settings(settings)
    , m_prompter(prompter)
    , m_portControl(portControl)
{
    m_ui->setupUi(this);
    m_port = makeGroup(this,
                       {{m_ui->optCom1, "1"},
                        {m_ui->optCom2, "2"},
                        {m_ui->optCom3, "3"},
                        {m_ui->OptCom4, "4"},
                        {m_ui->optDevice, "device"}});
    m_baud = makeGroup(this,
                       {{m_ui->optBaud300, "300"},
                        {m_ui->optBaud1200, "1200"},
                        {m_ui->optBaud2400, "2400"},
                        {m_ui->optBaud4800, "4800"},
                        {m_ui->optBaud9600, "9600"},
                        {m_ui->optBaud19200, "19200"},
                        {m_ui->optBaud38400, "38400"},
                        {m_ui->optBaud57600, "57600"}});
    m_parity = makeGroup(
        this, {{m_ui->optParityNone, "N"}, {m_ui->optParityOdd, "O"}, {m_ui->optParityEven, "E"}});
    m_dataBits = makeGroup(this, {{m_ui->optDataBits7, "7"}, {m_ui->optDataBits8, "8"}});
    m_stopBits = makeGroup(this, {{m_ui->optStopBits1, "1"}, {m_ui->optStopBits2, "2"}});

    connect(m_port, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        if (valueOf(b) == DeviceChoice) {
            m_choice.device = text::trimSpaces(m_ui->txtDevice->text());
        } else {
            m_choice.port = static_cast<qint16>(valueOf(b).toInt());
            m_choice.device.clear();
        }
    });
    connect(m_ui->txtDevice, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_ui->optDevice->setChecked(true);
        m_choice.device = text::trimSpaces(text);
    });
    // A device is chosen by a deliberate act on its item: a click, Space, or Enter on an item
    // the operator has selected. Focus alone never chooses: Tab into the list makes its first
    // item current without selecting it, and Enter there is the dialog's OK.
    connect(m_ui->lstDevices, &QListWidget::itemClicked, this, &SettingsDialog::chooseItem);
    connect(m_ui->lstDevices, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (item->isSelected())
            chooseItem(item);
    });
    m_ui->lstDevices->installEventFilter(this);
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

    m_ui->lblPortError->setStyleSheet(QStringLiteral("QLabel { color: #c62828; }"));
    m_ui->lblPortError->setVisible(false);
    // Room for a stable device name and what the system says about the device.
    const QFontMetrics metrics = m_ui->lstDevices->fontMetrics();
    m_ui->lstDevices->setMaximumHeight(metrics.height() * 7);
    m_ui->lstDevices->setMinimumWidth(metrics.averageCharWidth() * 72);
    fillIn();
    // Tab stops at the chosen option of each group (the first when none is), the arrow keys
    // move between its options, as in every exclusive group.
    for (QButtonGroup *group : {m_port, m_baud, m_parity, m_dataBits, m_stopBits})
        ui::tabStopsAtChecked(group);
    setDevices(scanner::systemSerialDevices());
    // At a large text size the dialog can be taller than the screen: its controls scroll.
    ui::scrollInside(this);
    adjustSize();
    ui::centerForm(this);
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
    // Without stored line settings the usual ones are shown; OK stores what is shown.
    const QString lineSettings = m_settings.serialSettings.isEmpty()
                                     ? settings::settingsDefaults().serialSettings
                                     : m_settings.serialSettings;
    m_choice = SerialChoice::fromSettings(m_settings.serialPort, lineSettings);
    m_choice.device = m_settings.commDevice;
    // A port without an option counts as none chosen: OK then stores 0.
    if (m_choice.port < 1 || m_choice.port > 4)
        m_choice.port = 0;
    m_ui->txtDevice->setText(m_choice.device);
    select(m_port, m_choice.device.isEmpty() ? QString::number(m_choice.port) : DeviceChoice);
    select(m_baud, QString::number(m_choice.baud));
    select(m_parity, m_choice.parity);
    select(m_dataBits, m_choice.dataBits);
    select(m_stopBits, m_choice.stopBits);

    QStringList notes;
    if (!m_port->checkedButton()) {
        notes << (m_settings.serialPort == 0
                      ? tr("No port is chosen yet.")
                      : tr("Port %1 has no option here: OK without a choice stores no port.")
                            .arg(m_settings.serialPort));
    }
    const bool lineShown = m_baud->checkedButton() && m_parity->checkedButton()
                           && m_dataBits->checkedButton() && m_stopBits->checkedButton();
    if (m_settings.serialSettings.isEmpty()) {
        notes << tr("No line settings are stored yet: the usual ones are shown.");
    } else if (!lineShown) {
        notes << tr("Current line settings: %1. A value without an option here is kept unless "
                    "you choose another.")
                     .arg(m_settings.serialSettings);
    }
    m_ui->lblUnshown->setVisible(!notes.isEmpty());
    m_ui->lblUnshown->setText(notes.join(QLatin1Char(' ')));
}

void SettingsDialog::setDevices(const QList<scanner::SerialDevice> &devices)
{
    const QSignalBlocker blocker(m_ui->lstDevices);
    m_ui->lstDevices->clear();
    for (const scanner::SerialDevice &device : devices) {
        auto *item = new QListWidgetItem(device.caption(), m_ui->lstDevices);
        item->setData(Qt::UserRole, device.path);
        item->setToolTip(device.caption());
        if (device.path == m_choice.device || device.systemPath == m_choice.device)
            m_ui->lstDevices->setCurrentItem(item);
    }
    if (devices.isEmpty()) {
        auto *none = new QListWidgetItem(tr("No serial devices found"), m_ui->lstDevices);
        none->setFlags(Qt::NoItemFlags);
    }
}

bool SettingsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->lstDevices && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space) {
        if (QListWidgetItem *item = m_ui->lstDevices->currentItem())
            chooseItem(item);
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::chooseItem(QListWidgetItem *item)
{
    const QString path = item->data(Qt::UserRole).toString();
    if (!path.isEmpty())
        chooseDevice(path);
}

void SettingsDialog::chooseDevice(const QString &path)
{
    m_ui->txtDevice->setText(path);
    m_ui->optDevice->setChecked(true);
    m_choice.device = path;
}

void SettingsDialog::showProblem(const QString &text)
{
    m_ui->lblPortError->setText(text);
    m_ui->lblPortError->setVisible(true);
    // Taller for the message, downwards and as far as the screen allows: the dialog keeps the
    // place it was given, off the result. What does not fit scrolls, the message into view.
    if (const QScreen *shownOn = screen()) {
        const int frame = frameGeometry().height() - height();
        const int room = shownOn->availableGeometry().bottom() + 1 - frameGeometry().top() - frame;
        resize(width(), std::clamp(sizeHint().height(), height(), std::max(height(), room)));
    }
    if (auto *area = findChild<QScrollArea *>())
        QTimer::singleShot(
            0, area, [area, message = m_ui->lblPortError] { area->ensureWidgetVisible(message); });
}

void SettingsDialog::onOk()
{
    const bool deviceChosen = m_port->checkedButton() == m_ui->optDevice;
    if (deviceChosen && m_choice.device.isEmpty()) {
        showProblem(tr("Choose a device from the list or type its path."));
        return;
    }
    const QString why = m_portControl.choose(m_choice, deviceChosen);
    if (!why.isEmpty()) {
        showProblem(tr("The port could not be opened: %1.\nChoose other settings and OK, "
                       "or Cancel to keep these.")
                        .arg(why));
        return;
    }
    accept();
}

} // namespace barlink::app
