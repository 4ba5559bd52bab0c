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
    // After the label's own outcome, which stays in front.
    QObject::connect(
        &poller, &ScanPoller::labelEndMissing, &poller, [&display](const QString &notice) {
            display.setStatus(display.status() + QLatin1Char(' ') + notice);
        });
}

} // namespace barlink::scanner
