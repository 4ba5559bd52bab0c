#pragma once

#include <QString>

namespace barlink::label {
struct CurrentItem;
}
namespace barlink::listmanager {
class ListManagerLink;
class ListManagerProvider;
} // namespace barlink::listmanager

namespace barlink::app {

class InstanceCounter;
class OperatorDisplay;
class Options;
class PortControl;
class ProductEnvironment;
class Prompter;
struct Settings;

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
        Settings &settings;
        Options &options;
        Prompter &prompter;
        OperatorDisplay &display;
        InstanceCounter &instances;
        ProductEnvironment &product;
        PortControl &port;
        listmanager::ListManagerProvider &provider;
        listmanager::ListManagerLink &link;
        label::CurrentItem &item;
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
    template<typename Step>
    void guarded(Step step);
    void createApplication();
    void waitForList();

    Parts m_parts;
    int m_listWaitPasses = 50;
    int m_listWaitIntervalMs = 100;
};

} // namespace barlink::app
