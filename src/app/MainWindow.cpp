#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "base/Error.h"
#include "base/LabelGate.h"
#include "base/StatusTexts.h"
#include "label/LabelInterpreter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QMetaMethod>

namespace barlink::app {

namespace {

// The status line and the last-scan line repeat what the scanner sent, which can be far
// longer than a window is wide (a program barcode, a scanner that does not stop): they show
// its first line, cut at this many characters, so that laying out the text stays quick and
// the window keeps its size.
constexpr qsizetype MaxShownCharacters = 200;

QString shownText(const QString &text)
{
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr >= 0 && (end < 0 || cr < end))
        end = cr;
    if (end < 0 && text.size() <= MaxShownCharacters)
        return text;
    if (end < 0 || end > MaxShownCharacters)
        end = MaxShownCharacters;
    return text.left(end) + QChar(0x2026);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    m_labId = {m_ui->LabID_0, m_ui->LabID_1, m_ui->LabID_2, m_ui->LabID_3, m_ui->LabID_4};

    // Indicators: calm colours, visible only while they mean something.
    for (QLabel *label : m_labId) {
        label->setStyleSheet(QStringLiteral(
            "QLabel { background: #2e7d32; color: white; border-radius: 4px; padding: 2px 8px; }"));
        label->setVisible(false);
    }
    m_ui->LabelAFS->setStyleSheet(QStringLiteral(
        "QLabel { background: #1565c0; color: white; border-radius: 4px; padding: 2px 8px; }"));
    m_ui->LabelAFS->setVisible(false);
    m_ui->DSpin->setStyleSheet(QStringLiteral("QLabel { color: #c62828; font-weight: bold; }"));
    m_ui->DSpin->setMinimumWidth(20);
    // The indicator keeps its place while hidden, so that the last-scan line keeps its width
    // when characters start to arrive.
    QSizePolicy spinPolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    spinPolicy.setRetainSizeWhenHidden(true);
    m_ui->DSpin->setSizePolicy(spinPolicy);
    m_ui->DSpin->setVisible(false);
    QFont scanFont = m_ui->ComDisplay->font();
    scanFont.setPointSizeF(scanFont.pointSizeF() * 1.3);
    m_ui->ComDisplay->setFont(scanFont);
    m_ui->ComDisplay->setMinimumHeight(m_ui->ComDisplay->sizeHint().height() + 8);
    m_status = m_ui->lblStatusBar->text();
    // Long texts are clipped rather than widening the window; the status line wraps instead,
    // so that a message about the scanner port can be read whole.
    for (QLabel *line : {m_ui->ComDisplay, m_ui->lblStatusBar, m_ui->lblCurSettings}) {
        QSizePolicy policy = line->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        line->setSizePolicy(policy);
    }
    m_ui->portRow->setStretchFactor(m_ui->lblCurSettings, 1);
    setPortState(PortState::Closed, QString());
    m_ui->ExLab->setStyleSheet(QStringLiteral("QLabel { color: #6a1b9a; font-weight: bold; }"));
    m_ui->ExLab->setVisible(false);
    // "Show Program in Editor" is hidden at start-up; "Machine Auto Start" takes its place.
    m_ui->ShowEd->setVisible(false);

    connect(m_ui->cmdEdit, &QPushButton::clicked, this, &MainWindow::startManualEntry);
    connect(m_ui->cmdEndEdit, &QPushButton::clicked, this, &MainWindow::endManualEntry);
    connect(m_ui->txtEtichetta, &QLineEdit::returnPressed, this, &MainWindow::endManualEntry);
    connect(m_ui->mnuExit, &QAction::triggered, this, [this] {
        m_exitRequested = true;
        QApplication::exit(0);
    });
    connect(m_ui->mnuSetttings, &QAction::triggered, this, &MainWindow::portSettingsRequested);
    connect(m_ui->MnuAutoFld, &QAction::triggered, this, &MainWindow::autoFieldSelectRequested);
    connect(m_ui->ExIns, &QAction::triggered, this, &MainWindow::exclusionInsertionRequested);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &MainWindow::aboutRequested);
    connect(m_ui->mnuListManager, &QAction::triggered, this, &MainWindow::listManagerRequested);
    connect(m_ui->mnuJournal, &QAction::triggered, this, &MainWindow::journalRequested);
    connect(m_ui->actTry, &QAction::triggered, this, &MainWindow::tryRequested);
}

MainWindow::~MainWindow() = default;

void MainWindow::enableMenus()
{
    const auto connected
        = [this](auto signal) { return isSignalConnected(QMetaMethod::fromSignal(signal)); };
    m_ui->MnuAutoFld->setEnabled(connected(&MainWindow::autoFieldSelectRequested));
    m_ui->ExIns->setEnabled(connected(&MainWindow::exclusionInsertionRequested));
    m_ui->mnuAbout->setEnabled(connected(&MainWindow::aboutRequested));
    m_ui->mnuListManager->setEnabled(connected(&MainWindow::listManagerRequested));
    m_ui->mnuJournal->setEnabled(connected(&MainWindow::journalRequested));
    m_ui->actTry->setEnabled(connected(&MainWindow::tryRequested));
}

QCheckBox *MainWindow::checkBoxFor(base::Options::Switch s) const
{
    switch (s) {
    case base::Options::AutoClear:
        return m_ui->AClear;
    case base::Options::Overwrite:
        return m_ui->Overwrite;
    case base::Options::AutoStart:
        return m_ui->AutoStart;
    case base::Options::ShowEd:
        return m_ui->ShowEd;
    }
    return nullptr;
}

void MainWindow::showOption(base::Options::Switch s, int value)
{
    // Stored values are 0 cleared, 1 set, 2 greyed; Qt's order is unchecked, partial, checked.
    QCheckBox *box = checkBoxFor(s);
    const QSignalBlocker blocker(box);
    box->setTristate(value == 2);
    box->setCheckState(value == 2 ? Qt::PartiallyChecked : value ? Qt::Checked : Qt::Unchecked);
}

void MainWindow::bindOptions(base::Options &options)
{
    m_options = &options;
    for (auto s : {base::Options::AutoClear,
                   base::Options::Overwrite,
                   base::Options::AutoStart,
                   base::Options::ShowEd}) {
        QCheckBox *box = checkBoxFor(s);
        showOption(s, options.value(s));
        connect(box, &QCheckBox::clicked, this, [this, s, box] {
            // A click never leads to the greyed state.
            box->setTristate(false);
            m_options->setValueByUser(s, box->isChecked() ? 1 : 0);
        });
    }
    connect(&options, &base::Options::valueChanged, this, &MainWindow::showOption);
}

void MainWindow::setLabelInterpreter(label::LabelInterpreter *interpreter, base::LabelGate *gate)
{
    m_interpreter = interpreter;
    m_gate = gate;
}

void MainWindow::startManualEntry()
{
    m_ui->txtEtichetta->setEnabled(true);
    m_ui->txtEtichetta->setFocus();
    m_ui->cmdEdit->setEnabled(false);
    m_ui->cmdEndEdit->setEnabled(true);
    setStatus(base::status::typeLabel());
}

void MainWindow::closeManualEntry()
{
    m_ui->txtEtichetta->clear();
    m_ui->txtEtichetta->setEnabled(false);
    m_ui->cmdEdit->setEnabled(true);
    m_ui->cmdEndEdit->setEnabled(false);
}

void MainWindow::endManualEntry()
{
    if (!m_ui->cmdEndEdit->isEnabled())
        return;
    const QString text = m_ui->txtEtichetta->text().toUpper();
    m_ui->txtEtichetta->setText(text);
    if (text.isEmpty()) {
        closeManualEntry();
        m_ui->cmdEdit->setFocus();
        setStatus(base::status::ready());
        return;
    }
    bool accepted = false;
    if (m_interpreter) {
        // One label at a time: a scanned label in hand is finished first.
        if (m_gate)
            m_gate->waitUntilFree();
        try {
            if (m_gate) {
                base::LabelGate::Hold hold(*m_gate);
                accepted = m_interpreter->interpretLabel(text);
            } else {
                accepted = m_interpreter->interpretLabel(text);
            }
        } catch (const Error &error) {
            QMessageBox::critical(this, base::applicationTitle(), unexpectedErrorText(error));
        }
    }
    if (accepted) {
        closeManualEntry();
    } else {
        beep();
        m_ui->txtEtichetta->setFocus();
    }
}

void MainWindow::setStatus(const QString &text)
{
    m_status = text;
    m_ui->lblStatusBar->setText(shownText(text));
}

QString MainWindow::status() const
{
    return m_status;
}

void MainWindow::setSegmentIndicator(Segment segment, bool visible)
{
    m_labId.at(std::size_t(segment))->setVisible(visible);
}

void MainWindow::setAutoFieldSelectionVisible(bool visible)
{
    m_ui->LabelAFS->setVisible(visible);
}

void MainWindow::setExclusionText(const QString &text)
{
    m_ui->ExLab->setText(text);
    m_ui->ExLab->setVisible(!text.isEmpty());
}

void MainWindow::setLastScan(const QString &text)
{
    m_ui->ComDisplay->setText(shownText(text));
}

void MainWindow::setActivity(bool visible, const QString &caption)
{
    m_ui->DSpin->setVisible(visible);
    if (!caption.isNull())
        m_ui->DSpin->setText(caption);
}

void MainWindow::setCurrentSettings(const QString &text)
{
    m_ui->lblCurSettings->setText(text);
    m_ui->lblCurSettings->setToolTip(text);
}

void MainWindow::setPortState(PortState state, const QString &device)
{
    QString text;
    QString colour;
    switch (state) {
    case PortState::Open:
        text = tr("Open");
        colour = QStringLiteral("#2e7d32");
        break;
    case PortState::Waiting:
        text = tr("Waiting for the scanner");
        colour = QStringLiteral("#e65100");
        break;
    case PortState::Closed:
        text = tr("Closed");
        colour = QStringLiteral("#616161");
        break;
    }
    m_ui->lblPortState->setText(text);
    m_ui->lblPortState->setToolTip(device.isEmpty() ? text : text + QStringLiteral(": ") + device);
    m_ui->lblPortState->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: white; border-radius: 4px; "
                       "padding: 2px 8px; }")
            .arg(colour));
}

void MainWindow::beep()
{
    QApplication::beep();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT closed();
    event->accept();
}

} // namespace barlink::app
