#pragma once

#include <QString>

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {}
namespace barlink::listmanager {
class ListManagerLink;
class ListManagerProvider;
} // namespace barlink::listmanager

namespace barlink::base {
class OperatorDisplay;
class Options;
class ProductEnvironment;
class Prompter;
struct Settings;
} // namespace barlink::base

namespace barlink::app {

class InstanceCounter;
class PortControl;

// The start-up sequence: single instance, settings file, product environment,
// scanner port, list manager, the wait for a list, and the first-label clear.
class Startup
{
public:
    enum class Outcome {
        Running,        // start-up done, the main window is shown
        AlreadyRunning, // another copy runs: this one ends
        PortRefused,    // the port start-up refused: the program ends silently
    };

    struct Parts
    {
        base::Settings &settings;
        base::Options &options;
        base::Prompter &prompter;
        base::OperatorDisplay &display;
        InstanceCounter &instances;
        base::ProductEnvironment &product;
        PortControl &port;
        listmanager::ListManagerProvider &provider;
        listmanager::ListManagerLink &link;
        base::CurrentItem &item;
    };

    explicit Startup(Parts parts)
        : m_parts(parts)
    {}

    // How long one round of the wait for a list lasts before the operator is asked
    // whether to wait again or go on without a list.
    void setListWait(int passes, int intervalMs)
    {
        m_listWaitPasses = passes;
        m_listWaitIntervalMs = intervalMs;
    }

    [[nodiscard]] Outcome run(bool commandLineEmpty);

    [[nodiscard]] static QString alreadyRunningText()
    {
        return QStringLiteral("the BarCode Program is already running!");
    }
    [[nodiscard]] static QString noListText(const QString &reason);
    [[nodiscard]] static QString noListStatus()
    {
        return QStringLiteral("No list from the list manager: rows cannot be added.");
    }

private:
    template<typename Step> void guarded(Step step);
    void createApplication();
    void waitForList();

    Parts m_parts;
    int m_listWaitPasses = 50;
    int m_listWaitIntervalMs = 100;
};

} // namespace barlink::app
