#pragma once

// What stands in for the operator's windows, the pauses, the scanner port and the list manager
// where a station runs without them: trying labels, the tests, the fuzzing harnesses and the
// benchmarks. None of them shows, waits, sends or adds anything; each records what it was asked.

#include "base/OperatorDisplay.h"
#include "base/Pacer.h"
#include "base/Prompter.h"
#include "listmanager/Application.h"
#include "scanner/ScannerPort.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <utility>

namespace barlink::app {

// Records what the operator would see, and tells when the status line's text changes.
class MemoryDisplay : public QObject, public base::OperatorDisplay
{
    Q_OBJECT
public:
    // status: the status line's text before anything is shown.
    explicit MemoryDisplay(QString status = {})
        : m_status(std::move(status))
    {}

    void setStatus(const QString &text) override;
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
    void beep() override { ++beeps; }

    // Every text the status line was given, the same one again included.
    QStringList statusHistory;
    std::array<bool, SegmentCount> segments{}; // by Segment
    bool autoFieldSelection = false, activityVisible = false;
    QString exclusion, lastScan, activityCaption, currentSettings;
    int beeps = 0;

Q_SIGNALS:
    // The status line shows a text other than the one it showed.
    void statusChanged(const QString &text);

private:
    QString m_status;
};

// Answers message boxes from a script of answers; once it runs out, as an operator who changes
// nothing would: OK where it is the only button, No to a question, otherwise Cancel. Records
// every box.
class MemoryPrompter : public QObject, public base::Prompter
{
    Q_OBJECT
public:
    struct Shown
    {
        Icon icon;
        Buttons buttons;
        QString text, details;
        // The message with its further text below it, as a box without a place for it shows it.
        [[nodiscard]] QString fullText() const
        {
            return details.isEmpty() ? text : text + QStringLiteral("\n\n") + details;
        }
    };

    Answer ask(Icon i, Buttons b, const QString &t) override { return askWithDetails(i, b, t, {}); }
    Answer askWithDetails(Icon i, Buttons b, const QString &t, const QString &d) override;

    // The messages of the boxes shown, in order.
    [[nodiscard]] QStringList texts() const;

    QQueue<Answer> answers;
    QList<Shown> shown;

Q_SIGNALS:
    // A box has been shown (the last of `shown`), and answered.
    void boxShown(const QString &fullText);
};

// Returns at once and records the pauses asked for.
class InstantPacer : public base::Pacer
{
public:
    void pause(float seconds) override { pauses << seconds; }
    QList<float> pauses;
};

// A scanner port in memory: what the scanner sends is put into `received`, and what the
// station sends is kept in `sent` and told.
class MemoryScannerPort : public scanner::ScannerPort
{
    Q_OBJECT
public:
    void open(const QString &device, const QString &lineSettings) override
    {
        m_open = true, openedDevice = device, openedSettings = lineSettings;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    qint64 bytesWaiting() override { return received.size(); }
    QByteArray readAll() override { return std::exchange(received, {}); }
    void discardInput() override { received.clear(); }
    void write(const QByteArray &bytes) override;

    QByteArray received, sent;
    QString openedDevice, openedSettings;

Q_SIGNALS:
    // The station has sent bytes to the scanner.
    void written(const QByteArray &bytes);

private:
    bool m_open = false;
};

// A list manager that keeps the rows added to its one list and tells of every other change it
// is asked for, in words, without making it. Opening a list file needs the file to be there.
class RecordingListManager : public QObject, public listmanager::ListManagerProvider
{
    Q_OBJECT
public:
    RecordingListManager();
    ~RecordingListManager() override;

    std::shared_ptr<listmanager::Application> createApplication() override;
    std::shared_ptr<listmanager::LateBoundList> createObject(const QString &progId) override;

    // The rows added, in order.
    [[nodiscard]] const QStringList &addedRows() const;

Q_SIGNALS:
    // A change the list manager was asked for and did not make: "the list would be cleared".
    void told(const QString &change);

private:
    class List;
    class Application;
    std::shared_ptr<List> m_list;
    std::shared_ptr<Application> m_application;
};

} // namespace barlink::app
