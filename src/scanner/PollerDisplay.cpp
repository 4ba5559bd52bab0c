#include "PollerDisplay.h"

#include "ScanPoller.h"
#include "base/OperatorDisplay.h"

namespace barlink::scanner {

void showPollerOn(ScanPoller &poller, base::OperatorDisplay &display)
{
    QObject::connect(&poller,
                     &ScanPoller::activityChanged,
                     &poller,
                     [&display](bool visible, const QString &caption) {
                         display.setActivity(visible, caption);
                     });
    QObject::connect(&poller,
                     &ScanPoller::lastScanChanged,
                     &poller,
                     [&display](const QString &text) { display.setLastScan(text); });
    QObject::connect(&poller, &ScanPoller::statusChanged, &poller, [&display](const QString &text) {
        display.setStatus(text);
    });
}

} // namespace barlink::scanner
