#pragma once

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QString>

namespace barlink::base {
class Clock;
class ProductEnvironment;
struct StationContext;
} // namespace barlink::base
namespace barlink::journal {
class JournalRecorder;
}

Q_DECLARE_LOGGING_CATEGORY(lcStartup)

namespace barlink::app {

class InstanceCounter;
class PortControl;

// The start-up sequence: single instance, settings file (the journal's "start" entry follows
// it, with what was found wrong in the file as its detail), product environment, scanner
// port, list manager, the wait for a list, and the first-label clear.
class Startup
{
    Q_DECLARE_TR_FUNCTIONS(Startup)

public:
    enum class Outcome {
        Running,        // start-up done, the main window is shown
        AlreadyRunning, // another copy runs: this one ends
        PortRefused,    // the port start-up refused: the program ends silently
    };

    Startup(base::StationContext &context,
            InstanceCounter &instances,
            base::ProductEnvironment &product,
            PortControl &port,
            journal::JournalRecorder &recorder,
            base::Clock &clock)
        : m_context(context)
        , m_instances(instances)
        , m_product(product)
        , m_port(port)
        , m_recorder(recorder)
        , m_clock(clock)
    {}

    // How long one round of the wait for a list lasts before the operator is asked
    // whether to wait again or go on without a list (the intervals pass on the station's clock).
    void setListWait(int passes, int intervalMs)
    {
        m_listWaitPasses = passes;
        m_listWaitIntervalMs = intervalMs;
    }

    [[nodiscard]] Outcome run(bool commandLineEmpty);

    [[nodiscard]] static QString alreadyRunningText()
    {
        return tr("the BarCode Program is already running!");
    }
    [[nodiscard]] static QString noListText(const QString &reason);
    [[nodiscard]] static QString noListStatus()
    {
        return tr("No list from the list manager: rows cannot be added.");
    }

private:
    template<typename Step> void guarded(Step step);
    void createApplication();
    void waitForList();

    base::StationContext &m_context;
    InstanceCounter &m_instances;
    base::ProductEnvironment &m_product;
    PortControl &m_port;
    journal::JournalRecorder &m_recorder;
    base::Clock &m_clock;
    int m_listWaitPasses = 50;
    int m_listWaitIntervalMs = 100;
};

} // namespace barlink::app
