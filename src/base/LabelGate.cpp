#include "LabelGate.h"

#include <QEventLoop>

namespace barlink::base {

void LabelGate::waitUntilFree()
{
    if (!m_busy)
        return;
    QEventLoop loop;
    connect(this, &LabelGate::freed, &loop, &QEventLoop::quit);
    while (m_busy)
        loop.exec();
}

} // namespace barlink::base
