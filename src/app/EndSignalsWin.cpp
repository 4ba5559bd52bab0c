#include "EndSignals.h"

namespace barlink::app {

// Nothing is asked of the system here: this build takes no end requests besides its main
// window's close.
EndSignals::EndSignals(QObject *parent)
    : QObject(parent)
{}

EndSignals::~EndSignals() = default;

void EndSignals::takeRequest() {}

} // namespace barlink::app
