#pragma once

// The list manager out of process for the benchmarks: a private session bus whose list manager
// is the real program (BARLINK_LISTMANAGER_BINARY), started by the bus at the first call to its
// name. One bus for the whole run, made at the first use; it and its list manager are gone
// before the application goes.

#include "BenchSupport.h"
#include "PrivateBus.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>

namespace barlink::bench {

struct ListManagerBus
{
    ListManagerBus()
        : bus(dir.path() + QStringLiteral("/bus"),
              QStringLiteral(BARLINK_LISTMANAGER_BINARY),
              environment(dir.path()))
    {}
    // The list manager keeps its list files in the temporary folder and shows no window.
    static QProcessEnvironment environment(const QString &root)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }
    QTemporaryDir dir;
    testing::PrivateBus bus;
};

inline std::unique_ptr<ListManagerBus> &listManagerBusHolder()
{
    static std::unique_ptr<ListManagerBus> bus;
    return bus;
}

inline testing::PrivateBus &listManagerBus()
{
    if (!listManagerBusHolder()) {
        listManagerBusHolder() = std::make_unique<ListManagerBus>();
        beforeExit = [] { listManagerBusHolder().reset(); };
    }
    return listManagerBusHolder()->bus;
}

} // namespace barlink::bench
