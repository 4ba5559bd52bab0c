#pragma once

// Test doubles for the seams between the station's core and its windows.

#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Pacer.h"
#include "base/Prompter.h"
#include "scanner/ScannerPort.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <array>

namespace barlink::testing {

// Records what the operator would see.
class FakeDisplay : public base::OperatorDisplay
{
public:
    void setStatus(const QString &text) override { statusHistory << (m_status = text); }
    QString status() const override { return m_status; }
    void setSegmentIndicator(Segment s, bool visible) override { segments.at(size_t(s)) = visible; }
    void setAutoFieldSelectionVisible(bool visible) override { autoFieldSelection = visible; }
    void setExclusionText(const QString &text) override { exclusion = text; }
    void setLastScan(const QString &text) override { lastScan = text; }
    void setActivity(bool visible, const QString &caption) override
    {
        activityVisible = visible, activityCaption = caption.isNull() ? activityCaption : caption;
    }
    void setCurrentSettings(const QString &text) override { currentSettings = text; }
    void setPortState(PortState s, const QString &d) override { portState = s, portDevice = d; }
    void beep() override { ++beeps; }

    QStringList statusHistory;
    std::array<bool, SegmentCount> segments{}; // by Segment
    bool autoFieldSelection = false, activityVisible = false;
    QString exclusion, lastScan, activityCaption, currentSettings, portDevice;
    PortState portState = PortState::Closed;
    int beeps = 0;

private:
    QString m_status = QStringLiteral("Ready.");
};

// Answers message boxes from a script; an unscripted box gets Cancel (or Ok when
// it only has an Ok button). Records every box shown.
class ScriptedPrompter : public base::Prompter
{
public:
    struct Shown
    {
        Icon icon;
        Buttons buttons;
        QString text, details;
    };

    Answer ask(Icon i, Buttons b, const QString &t) override { return askWithDetails(i, b, t, {}); }
    Answer askWithDetails(Icon i, Buttons b, const QString &t, const QString &d) override
    {
        shown.append({i, b, t, d});
        return !answers.isEmpty() ? answers.dequeue()
               : b == Buttons::Ok ? Answer::Ok
                                  : Answer::Cancel;
    }

    [[nodiscard]] QStringList texts() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list << s.text;
        return list;
    }

    QQueue<Answer> answers;
    QList<Shown> shown;
};

// Returns at once and records the pauses asked for.
class InstantPacer : public base::Pacer
{
public:
    void pause(float seconds) override { pauses << seconds; }
    QList<float> pauses;
};

// A scanner port in memory: tests put received bytes in and read what was sent.
class FakeScannerPort : public scanner::ScannerPort
{
public:
    void open(const QString &device, const QString &lineSettings) override
    {
        ++openCalls;
        if (failOpen)
            throw base::Error(8002, QStringLiteral("Invalid port number"));
        m_open = true, openedDevice = device, openedSettings = lineSettings;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    qint64 bytesWaiting() override { return received.size(); }
    QByteArray readAll() override { return std::exchange(received, {}); }
    void discardInput() override { received.clear(); }
    void write(const QByteArray &bytes) override
    {
        if (!m_open)
            throw base::Error(8012, QStringLiteral("The device is not open"));
        sent += bytes;
    }

    // Bytes come in from the scanner, and the port says so.
    void arrive(const QByteArray &bytes) { received += bytes, Q_EMIT bytesArrived(); }

    // Simulates the device going away.
    void loseDevice(const QString &reason = QStringLiteral("device removed"))
    {
        m_open = false, Q_EMIT deviceLost(reason);
    }

    QByteArray received, sent;
    QString openedDevice, openedSettings;
    bool failOpen = false;
    int openCalls = 0;

private:
    bool m_open = false;
};

} // namespace barlink::testing
