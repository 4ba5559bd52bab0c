#include "Station.h"

#include "ScanWords.h"

#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
#include "base/Reasons.h"
#include "listmanager/Application.h"
#include "program/CompressedLabelDecoder.h"
#include "scanner/PollerDisplay.h"
#include "scanner/ScannerPort.h"
#include "settings/SettingsFile.h"
#include "text/EscapedBytes.h"
#include "text/SingleByte.h"

#include <QLoggingCategory>
#include <QMetaMethod>

#include <utility>

Q_LOGGING_CATEGORY(lcStation, "barlink.station", QtWarningMsg)

namespace barlink::app {

namespace {

// What the journal keeps of a label that carries a program: its name and size, not its text.
QString programLabelSummary(const QString &label)
{
    const program::ProgramLabel parsed = program::parseProgramLabel(label);
    if (parsed.form != program::ProgramLabel::Form::Program)
        return journal::escapeControls(label);
    const QString name = parsed.header.section(QLatin1Char('^'), 0, 0).trimmed();
    return journal::programSummary(name, parsed.programText.size());
}

} // namespace

Station::Station(base::OperatorDisplay &display,
                 base::Prompter &prompter,
                 base::Pacer &pacer,
                 scanner::ScannerPort &port,
                 listmanager::ListManagerProvider &provider,
                 QString programDir,
                 QString windowsDir,
                 QObject *parent,
                 base::Clock &clock)
    : QObject(parent)
    , m_recorder(m_settings, m_item, display)
    , m_product(m_settings)
    , m_portControl(m_settings, port, display, prompter, nullptr, clock)
    , m_autoSel(m_settings)
    , m_selector(m_autoSel)
    , m_doubleScan(clock)
    , m_context{m_settings,
                m_options,
                m_item,
                display,
                prompter,
                pacer,
                m_link,
                provider,
                m_autoSel,
                m_selector,
                m_doubleScan,
                m_writes}
    , m_sender(m_context)
    , m_dispatcher(m_context, m_sender)
    , m_programBarcode(m_context, m_sender)
    , m_poller(port, m_gate, nullptr, clock)
    , m_clock(clock)
    , m_reply(port)
    , m_port(port)
{
    m_settings.programDir = std::move(programDir);
    m_settings.windowsDir = std::move(windowsDir);
    connect(&m_options, &base::Options::userChanged, this, &Station::writeOption);
    connect(&m_sender, &label::ItemSender::editorRequested, this, &Station::editorRequested);
    // The pieces are told as soon as the item's rows are in, with its journal entries, not
    // after the pauses that follow.
    connect(&m_sender, &label::ItemSender::itemSent, this, &Station::announcePlaced);
    connectPoller(display);
    connect(&m_portControl, &PortControl::stateChanged, this, &Station::portStateChanged);
    connect(&m_portControl,
            &PortControl::settingsDialogRequested,
            this,
            &Station::portSettingsRequested);
    // A label the scanner was sending when it went away is cut off: it must not join the next.
    connect(&m_portControl,
            &PortControl::deviceLost,
            &m_poller,
            &scanner::ScanPoller::dropPartialLabel);
    recordEvents();
}

Station::~Station() = default;

Startup::Outcome Station::start(bool commandLineEmpty)
{
    Startup startup(m_context, m_instances, m_product, m_portControl, m_recorder, m_clock);
    startup.setListWait(m_listWaitPasses, m_listWaitIntervalMs);
    const Startup::Outcome outcome = startup.run(commandLineEmpty);
    if (outcome == Startup::Outcome::Running) {
        applyLabelSettings();
        if (!m_settings.problems.isEmpty())
            m_context.display.setStatus(settingsProblemsStatus(m_settings.problems.size()));
        if (m_journalPath.isEmpty())
            m_recorder.discard();
        else
            m_recorder.open(m_journalPath, m_spillPath);
    }
    return outcome;
}

QString Station::settingsProblemsStatus(qsizetype problems)
{
    return tr("Settings problems in KTQ.INI: %1, listed in their window and in the journal. Ready.")
        .arg(problems);
}

base::Reason Station::ignoredReason()
{
    return base::Reason(base::Reason::Code::OnlyBlanks);
}

void Station::applyLabelSettings()
{
    // A malformed reply was not taken when the settings were read: nothing is sent.
    const text::EscapedBytes reply = text::unescapeBytes(m_settings.refuseReply);
    m_reply.setRefusal(reply.ok() ? reply.bytes : QByteArray());
    m_doubleScan.setWindowSeconds(m_settings.duplicateSeconds);
    // A LabelEnd that was not taken when the settings were read is empty: labels end by quiet.
    // Trying a label frames it the same way.
    const text::EscapedBytes end = text::unescapeBytes(m_settings.labelEnd);
    m_poller.setLabelEnd(
        end.ok() ? text::fromSingleByte(end.bytes) : QString(),
        [](QStringView label) { return program::CompressedLabelDecoder().decode(label).ok(); });
}

void Station::decided(journal::Source source, const base::LabelOutcome &outcome)
{
    m_recorder.finish(outcome);
    Q_EMIT labelHandled(m_shownLabel, outcome);
    if (outcome.result == base::LabelOutcome::Result::Refused && source == journal::Source::Scanner)
        m_reply.refuse();
}

void Station::startPolling()
{
    m_poller.start(m_settings.commPollTime);
}

void Station::connectPoller(base::OperatorDisplay &display)
{
    using scanner::ScanPoller;
    connect(&m_poller, &ScanPoller::labelScanned, this, [this](const QString &label) {
        handleScanned([&] { (void)interpretLabel(journal::Source::Scanner, label); });
    });
    connect(&m_poller, &ScanPoller::programLabelScanned, this, [this](const QString &label) {
        handleScanned([&] { interpretProgramBarcode(label); });
    });
    connect(&m_poller, &ScanPoller::compressedLabelScanned, this, [this](const QString &label) {
        handleScanned([&] { expandCompressedLabel(label); });
    });
    connect(&m_poller, &ScanPoller::labelIgnored, this, &Station::ignore);
    scanner::showPollerOn(m_poller, display);
}

void Station::handleScanned(const std::function<void()> &handle)
{
    try {
        handle();
        return;
    } catch (const base::Error &error) {
        qCInfo(lcStation) << "label handling failed:" << error.what();
        m_poller.abandonLabel();
        m_context.prompter.informWithDetails(base::Prompter::Icon::Critical,
                                             base::unexpectedErrorText(error),
                                             base::unexpectedErrorDetails(error));
    } catch (const std::exception &error) {
        m_poller.abandonLabel();
        m_context.prompter.inform(base::Prompter::Icon::Critical,
                                  base::unexpectedErrorText(base::Error::InvalidCall,
                                                            QString::fromLocal8Bit(error.what())));
    }
}

void Station::typeLabel(const QString &label)
{
    m_typed << label;
    takeTypedLabels();
}

bool Station::againWhenFree(void (Station::*step)())
{
    if (!m_gate.isBusy())
        return false;
    connect(
        &m_gate,
        &base::LabelGate::freed,
        this,
        step,
        Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection | Qt::UniqueConnection));
    return true;
}

void Station::takeTypedLabels()
{
    while (!m_typed.isEmpty()) {
        if (againWhenFree(&Station::takeTypedLabels))
            return;
        const QString label = m_typed.takeFirst();
        bool taken = false;
        {
            base::LabelGate::Hold hold(m_gate);
            taken = handleTyped(label);
        }
        Q_EMIT typedLabelDone(taken);
    }
}

bool Station::handleTyped(const QString &label)
{
    try {
        return interpretLabel(journal::Source::Manual, label);
    } catch (const base::Error &error) {
        qCInfo(lcStation) << "typed label handling failed:" << error.what();
        m_context.prompter.informWithDetails(base::Prompter::Icon::Critical,
                                             base::unexpectedErrorText(error),
                                             base::unexpectedErrorDetails(error));
    } catch (const std::exception &error) {
        m_context.prompter.inform(base::Prompter::Icon::Critical,
                                  base::unexpectedErrorText(base::Error::InvalidCall,
                                                            QString::fromLocal8Bit(error.what())));
    }
    return false;
}

void Station::readScannerNow(int maxTicks)
{
    for (int tick = 0; tick < maxTicks; ++tick) {
        m_poller.tick();
        if (m_poller.idleTicks() == 0 && m_poller.scanBuffer().isEmpty()
            && m_port.bytesWaiting() == 0)
            break;
    }
}

void Station::showList()
{
    if (!m_link.application())
        m_link.setApplication(m_context.provider.createApplication());
    m_link.application()->setVisible(true);
}

void Station::writeFontScale(double scale)
{
    settings::writeFontScale(m_settings, scale);
}

void Station::writeHighContrast(bool on)
{
    settings::writeHighContrast(m_settings, on);
}

void Station::writeTouch(bool on)
{
    settings::writeTouch(m_settings, on);
}

void Station::askTakeBack()
{
    if (againWhenFree(&Station::askTakeBack))
        return;
    Q_EMIT takeBackAsked(takeBackQuery());
}

bool Station::interpretLabel(journal::Source source, const QString &label)
{
    const std::optional<QString> compressed = std::exchange(m_compressed, std::nullopt);
    const bool plain = label::LabelDispatcher::isPlainLabel(label);
    m_shownLabel = compressed.value_or(journal::escapeControls(label));
    m_doubleScan.setTyped(source == journal::Source::Manual);
    m_recorder.begin(source,
                     m_shownLabel,
                     compressed ? std::optional(journal::Kind::Compressed) : std::nullopt,
                     plain ? journal::Kind::PlainName : journal::Kind::Segment);
    bool handled = false;
    try {
        handled = m_dispatcher.interpretLabel(label);
    } catch (const base::Error &error) {
        failed(base::errorReason(error));
        announcePlaced();
        throw;
    } catch (const std::exception &error) {
        failed(base::Reason::text(QString::fromLocal8Bit(error.what())));
        announcePlaced();
        throw;
    }
    announcePlaced();
    const base::LabelOutcome &outcome = m_dispatcher.lastOutcome();
    decided(source, outcome);
    if (outcome.kind == base::LabelOutcome::Kind::Command) {
        if (label == QLatin1String("%START%"))
            m_recorder.recordEvent(journal::StationEvent::ListStarted, std::nullopt, label);
        else if (label == QLatin1String("%STOP%"))
            m_recorder.recordEvent(journal::StationEvent::ListHeld, std::nullopt, label);
    }
    return handled;
}

void Station::failed(const base::Reason &error)
{
    const base::LabelOutcome::Kind kind = m_dispatcher.lastOutcome().kind;
    m_recorder.failed(error, kind);
    Q_EMIT labelHandled(
        m_shownLabel,
        {.kind = kind, .result = base::LabelOutcome::Result::Failed, .reason = error});
}

void Station::ignore(const QString &scanned)
{
    const std::optional<QString> compressed = std::exchange(m_compressed, std::nullopt);
    m_shownLabel = compressed.value_or(journal::escapeControls(scanned));
    m_recorder.begin(journal::Source::Scanner,
                     m_shownLabel,
                     compressed ? std::optional(journal::Kind::Compressed) : std::nullopt,
                     journal::Kind::PlainName);
    // Journaled as refused, but no refusal reply: the scanner sent no label to refuse.
    const base::LabelOutcome outcome{.kind = base::LabelOutcome::Kind::PlainName,
                                     .result = base::LabelOutcome::Result::Refused,
                                     .reason = ignoredReason()};
    m_recorder.finish(outcome);
    Q_EMIT labelHandled(m_shownLabel, outcome);
}

void Station::interpretProgramBarcode(const QString &label)
{
    const std::optional<QString> compressed = std::exchange(m_compressed, std::nullopt);
    m_shownLabel = compressed.value_or(programLabelSummary(label));
    m_doubleScan.setTyped(false);
    m_recorder.begin(journal::Source::Scanner,
                     m_shownLabel,
                     compressed ? std::optional(journal::Kind::Compressed) : std::nullopt,
                     journal::Kind::ProgramBarcode);
    try {
        m_programBarcode.interpretProgramBarcode(label);
    } catch (...) {
        announcePlaced();
        throw;
    }
    decided(journal::Source::Scanner, m_programBarcode.lastOutcome());
    announcePlaced();
}

void Station::announcePlaced()
{
    if (!m_placedRows.isEmpty()) {
        m_lastItem = {.program = m_placedProgram,
                      .fields = m_placedFields,
                      .rows = std::exchange(m_placedRows, {})};
        // The count tells later whether rows followed the item; a list that cannot tell it
        // leaves the item where it cannot be taken back.
        try {
            m_lastItem.listRows = m_link.rowCount();
        } catch (const base::Error &error) {
            qCInfo(lcStation) << "the list did not tell its rows:" << error.what();
        }
    }
    if (m_placedFields.isEmpty())
        return;
    Q_EMIT itemPlaced(std::exchange(m_placedFields, {}), m_placedX, m_placedY, m_placedProgram);
}

Station::TakeBackQuery Station::takeBackQuery()
{
    if (m_lastItem.rows.isEmpty())
        return {{}, TakeBack::nothingSent()};
    const auto count = qint32(m_lastItem.rows.size());
    try {
        const listmanager::ListManagerLink::ListEnd end = m_link.listEnd(count);
        if (const QString refusal = TakeBack::refusal(m_lastItem, end); !refusal.isEmpty())
            return {{}, refusal};
        return {TakeBack::rowNames(m_lastItem, end.rows - count + 1), {}};
    } catch (const base::Error &error) {
        return {{}, TakeBack::listSilent(error.description())};
    }
}

QString Station::takeBackLastItem(const QStringList &confirmedRows)
{
    if (m_gate.isBusy())
        return tr("A label is being handled: nothing was taken back.");
    const TakeBackQuery query = takeBackQuery();
    if (!query.refusal.isEmpty())
        return query.refusal;
    if (query.rows != confirmedRows)
        return tr("The list changed while the question was open: nothing was taken back.");
    const SentItem item = std::exchange(m_lastItem, {});
    QStringList fields;
    for (const QString &field : item.fields)
        fields << storedFieldWords(field);
    const QString detail
        = QStringList{item.program, fields.join(QStringLiteral(", "))}.join(QStringLiteral(", "));
    QString failure;
    try {
        m_link.removeLastRows(qint32(item.rows.size()));
    } catch (const base::Error &error) {
        failure = tr("The rows could not all be taken out of the list (%1): look at the list.")
                      .arg(base::errorReason(error).english());
    }
    m_recorder.recordEvent(journal::StationEvent::ItemTakenBack,
                           int(item.rows.size()),
                           failure.isEmpty() ? detail : detail + QStringLiteral("; ") + failure);
    // The same label may be scanned again at once: it is the item wanted now.
    m_doubleScan.forget();
    return failure;
}

void Station::expandCompressedLabel(const QString &label)
{
    m_compressed.reset();
    QString error;
    QString rest;
    const QString expanded = program::decodeCompressedLabel(label, m_context.display, rest, &error);
    if (expanded.isEmpty()) {
        m_shownLabel = QStringLiteral("compressed label of %1 characters").arg(label.size());
        m_recorder.begin(journal::Source::Scanner, m_shownLabel, journal::Kind::Compressed);
        decided(journal::Source::Scanner,
                {.result = base::LabelOutcome::Result::Refused,
                 .reason = base::Reason(base::Reason::Code::Unreadable, error)});
        return;
    }
    m_compressed = programLabelSummary(expanded);
    m_poller.takeExpansion(expanded, rest);
}

void Station::recordEvents()
{
    using journal::StationEvent;
    connect(&m_sender, &label::ItemSender::noted, &m_recorder, &journal::JournalRecorder::note);
    connect(&m_link, &listmanager::ListManagerLink::rowAdded, this, [this](const QString &row) {
        m_placedRows << row;
    });
    // Direct: the row is journaled, and the scanner answered, before the sender goes on.
    connect(&m_sender, &label::ItemSender::rowSent, this, &Station::rowSent, Qt::DirectConnection);
    connect(&m_link,
            &listmanager::ListManagerLink::listCleared,
            this,
            [this](std::optional<qint32> rows) {
                // Its rows are gone with the list's: there is nothing left to take back.
                m_lastItem = {};

                m_recorder.recordEvent(StationEvent::ListCleared,
                                       rows ? std::optional<int>(*rows) : std::nullopt,
                                       rows ? QString()
                                            : QStringLiteral("the list did not tell its rows"));
            });
    connect(&m_recorder, &journal::JournalRecorder::entryMade, this, &Station::entryMade);
    connect(&m_recorder, &journal::JournalRecorder::written, this, &Station::journalWritten);
    connect(&m_recorder,
            &journal::JournalRecorder::journalStateChanged,
            this,
            &Station::journalStateChanged);
    connect(
        &m_recorder, &journal::JournalRecorder::shopStateChanged, this, &Station::shopStateChanged);
    connect(&m_portControl, &PortControl::opened, this, [this](const QString &device, bool back) {
        m_recorder.recordEvent(
            back ? StationEvent::PortBack : StationEvent::PortOpened, std::nullopt, device);
    });
    connect(&m_portControl,
            &PortControl::deviceLost,
            this,
            [this](const QString &device, const base::Reason &reason) {
                m_recorder.recordEvent(StationEvent::PortLost,
                                       std::nullopt,
                                       device + QStringLiteral(": ") + reason.english());
            });
}

void Station::rowSent(const QString &field, bool acknowledge)
{
    const bool acknowledging = acknowledge && m_reply.canAcknowledge();
    // "ACK" means recorded: the entry holds the row before the scanner hears of it.
    m_recorder.rowSent(field, acknowledging);
    m_placedFields << field;
    m_placedX = m_item.dimX.trimmed();
    m_placedY = m_item.dimY.trimmed();
    m_placedProgram = m_item.programName.trimmed();
    if (m_options.autoStart())
        m_recorder.recordEvent(
            journal::StationEvent::ListStarted, std::nullopt, QStringLiteral("Machine Auto Start"));
    // What the field selection table made of the row is worded only for a listener.
    if (isSignalConnected(QMetaMethod::fromSignal(&Station::rowTried))) {
        QStringList why;
        if (m_selector.selections() != m_selectionsTried && m_selector.lastChoice()) {
            m_selectionsTried = m_selector.selections();
            why = fieldsel::FieldSelector::describeChoice(m_autoSel.settings(),
                                                          *m_selector.lastChoice());
        }
        Q_EMIT rowTried(field, why);
    }
    if (acknowledging)
        m_reply.acknowledge();
}

void Station::shutdown()
{
    m_recorder.recordEvent(journal::StationEvent::End);
    m_poller.stop();
    m_portControl.closePort();
    m_link.release();
}

void Station::writeOption(base::Options::Switch s, int value)
{
    try {
        settings::writeOptionSwitch(m_settings, s, value);
    } catch (const base::Error &error) {
        m_context.prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

} // namespace barlink::app
