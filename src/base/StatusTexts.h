#pragma once

#include "base/OperatorDisplay.h"
#include "base/Pacer.h"

#include <QString>

namespace barlink::base {

// The fixed texts of the status line, shown exactly as written.
namespace status {
inline QString ready()
{
    return QStringLiteral("Ready.");
}
inline QString typeLabel()
{
    return QStringLiteral("Type the Barcode-Label.");
}
inline QString readingLabel()
{
    return QStringLiteral("Reading Barcode-Label.");
}
inline QString savingGCode()
{
    return QStringLiteral("Wait saving g-code.");
}
inline QString addingToList()
{
    return QStringLiteral("Adding to Barcode data to List.");
}
inline QString runFieldNotSelected()
{
    return QStringLiteral("Run Field Not Selected");
}
inline QString waitingForNext()
{
    return QStringLiteral(" Waiting for next barcode...");
}
inline QString formattingError()
{
    return QStringLiteral("Barcode Formating Error.");
}
} // namespace status

// The caption of every message box.
inline QString applicationTitle()
{
    return QStringLiteral("Barlink");
}

// Pauses 0.6 seconds, then shows "Ready.". Runs after every command and item handled.
inline void showReadyAfterPause(OperatorDisplay &display, Pacer &pacer)
{
    pacer.pause(0.6f);
    display.setStatus(status::ready());
}

} // namespace barlink::base
