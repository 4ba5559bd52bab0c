#pragma once

#include "base/OperatorDisplay.h"
#include "base/Pacer.h"

#include <QCoreApplication>
#include <QString>

namespace barlink::base {

// The fixed texts of the status line, shown exactly as written (in English) or translated.
namespace status {
inline QString ready()
{
    return QCoreApplication::translate("StatusTexts", "Ready.");
}
inline QString typeLabel()
{
    return QCoreApplication::translate("StatusTexts", "Type the Barcode-Label.");
}
inline QString readingLabel()
{
    return QCoreApplication::translate("StatusTexts", "Reading Barcode-Label.");
}
inline QString savingGCode()
{
    return QCoreApplication::translate("StatusTexts", "Wait saving g-code.");
}
inline QString addingToList()
{
    return QCoreApplication::translate("StatusTexts", "Adding to Barcode data to List.");
}
inline QString runFieldNotSelected()
{
    return QCoreApplication::translate("StatusTexts", "Run Field Not Selected");
}
inline QString waitingForNext()
{
    return QCoreApplication::translate("StatusTexts", " Waiting for next barcode...");
}
inline QString formattingError()
{
    return QCoreApplication::translate("StatusTexts", "Barcode Formating Error.");
}
} // namespace status

// The caption of every message box.
inline QString applicationTitle()
{
    return QStringLiteral("Barlink");
}

// Pauses pauseMs milliseconds (the settings' itemPauseMs), then shows "Ready.". Runs after
// every command and item handled.
inline void showReadyAfterPause(OperatorDisplay &display, Pacer &pacer, int pauseMs)
{
    pacer.pauseMilliseconds(pauseMs);
    display.setStatus(status::ready());
}

} // namespace barlink::base
