#include "ScannerReply.h"

#include "base/Error.h"
#include "scanner/ScannerPort.h"

#include <QtGlobal>

namespace barlink::app {

bool ScannerReply::canAcknowledge() const
{
    return m_port.isOpen();
}

void ScannerReply::acknowledge()
{
    m_port.write(acknowledgement());
}

void ScannerReply::refuse()
{
    if (m_refusal.isEmpty() || !m_port.isOpen())
        return;
    try {
        m_port.write(m_refusal);
    } catch (const base::Error &error) {
        qInfo("barlink: the refusal reply did not reach the scanner: %s", error.what());
    }
}

} // namespace barlink::app
