#pragma once

#include "base/Reasons.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

namespace barlink::base {

// The settings values in memory, as read from the settings file at start-up.
// Before the file is read: empty texts, port 0, the built-in poll interval.
struct Settings
{
    QString windowsDir;       // the "Windows directory": on Linux $XDG_CONFIG_HOME/barlink
    QString programDir;       // the program's own folder
    QString settingsFilePath; // every read and write goes to this file
    QString serialSettings;   // "9600,N,8,1"
    qint16 serialPort = 0;    // COMn
    QString commDevice;       // when not empty, the serial device instead of the port number's
    QString gcodePath;        // plain prefix, normally ends with the separator
    QString listPath;         // plain prefix
    QString csvInPath;
    QString csvOutPath;
    int commPollTime = 1000; // the scanner timer's interval, milliseconds
    QString editorPath;      // the program editor
    // Sent to the scanner when a scanned label is refused, as written in the file (with
    // escapes, see text::unescapeBytes); empty: nothing is sent.
    QString refuseReply;
    // The scanner's suffix that ends each label, as written in the file (escapes as
    // refuseReply); empty: a label ends when the port has been quiet for two poll intervals.
    QString labelEnd;
    // An item with the same labels as the item taken last, completed no more than this many
    // seconds after it, is refused as scanned twice; 0: never.
    int duplicateSeconds = 0;
    // Each pause after the list manager was given an item, a list command or a list file that
    // did not load, in milliseconds: an item is followed by two, the others by one; the next
    // label waits through them. 0: none.
    int itemPauseMs = 600;
    // Entries of the scan journal older than this many days go at start; 0: kept for ever.
    int journalDays = 400;
    // The main window's text size as a factor of the system's.
    double fontScale = 1.0;
    // When a shift begins, for the main window's counters; invalid: at midnight.
    QTime shiftStart;
    // The windows in a high-contrast colour scheme (View > High contrast).
    bool highContrast = false;
    // Targets large enough for a gloved finger, and a keypad for manual entry (View > Touch).
    bool touch = false;
    // The list manager's window kept beside the main window, off the result, in the main
    // window's text size and colours (the list manager's PlaceBeside).
    bool listManagerBeside = false;
    // A short sound on the PC for each label taken and each label refused.
    bool resultSound = false;
    // The station's name in the journal; empty: the host name.
    QString stationName;
    // The session bus name of the list manager the station sends its rows to: Barlink's own,
    // or a machine control's adapter that implements the same interface.
    QString listManagerService = QStringLiteral("org.barlink.ListManager");
    // The longest a call to the list manager may take before the station gives it up.
    int listManagerTimeoutMs = 5000;
    // The shop-wide journal's server, a libpq connection string; empty: none.
    QString journalServer;
    // The settings file has a JournalServer line, usable or not.
    bool journalServerGiven = false;
    // What reading the settings file found wrong with its values, one sentence each: which
    // key, which value, and what is used instead.
    QList<Reason> problems;
};

} // namespace barlink::base
