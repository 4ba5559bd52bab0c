// Label assembly on the polling tick: quiet ticks, the routing rules in their
// order, the "%" split and the bounded buffer.

#include "Fakes.h"
#include "label/LabelGate.h"
#include "scanner/ScanPoller.h"

#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// Records every call as "I:label", "C:label" or "P:label".
class RecordingHandlers : public scanner::LabelHandlers
{
public:
    bool interpretLabel(const QString &label) override
    {
        calls << QStringLiteral("I:") + label;
        if (label == failOn)
            throw Error(53, QStringLiteral("File not found"));
        return true;
    }
    QString decodeCompressedLabel(const QString &label) override
    {
        calls << QStringLiteral("C:") + label;
        return label.mid(1);
    }
    void interpretProgramBarcode(const QString &label) override
    {
        calls << QStringLiteral("P:") + label;
    }
    QStringList calls;
    QString failOn;
};

struct Rig
{
    Rig() { port.open(QStringLiteral("/dev/pts/1"), QStringLiteral("9600,N,8,1")); }

    // Each entry is what arrives before one tick; "" is a quiet tick.
    void run(const QStringList &ticks)
    {
        for (const QString &piece : ticks) {
            port.received += piece.toLatin1();
            poller.tick();
        }
    }

    FakeScannerPort port;
    RecordingHandlers handlers;
    FakeDisplay display;
    ScriptedPrompter prompter;
    label::LabelGate gate;
    scanner::ScanPoller poller{port, handlers, display, prompter, gate};
};

} // namespace

class tst_ScanPoller : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routesLabels_data()
    {
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("left");

        QTest::newRow("pieces over ticks are one label")
            << QStringList{"%1", "2PROG", "", "", ""} << QStringList{"I:%12PROG"} << "";
        QTest::newRow("one quiet tick is not enough")
            << QStringList{"%START%", ""} << QStringList{} << "%START%";
        QTest::newRow("input restarts the quiet count")
            << QStringList{"%ST", "", "ART%", "", ""} << QStringList{"I:%START%"} << "";
        QTest::newRow("two commands in one burst")
            << QStringList{"%START%%STOP%", "", "", ""} << QStringList{"I:%START%"} << "%STOP%";
        QTest::newRow("second command two quiet ticks later")
            << QStringList{"%START%%STOP%", "", "", "", ""}
            << QStringList{"I:%START%", "I:%STOP%"} << "";
        QTest::newRow("two letters, percent, two letters")
            << QStringList{"AB%CD", "", "", "", ""} << QStringList{"I:AB%", "I:CD"} << "";
        QTest::newRow("line end after a command stays")
            << QStringList{"%END%\r", "", ""} << QStringList{"I:%END%"} << "\r";
        QTest::newRow("apostrophe rule")
            << QStringList{"'ABC$DEF", "", ""} << QStringList{"I:%N%", "I:ABC"} << "";
        QTest::newRow("apostrophe and dollar only")
            << QStringList{"'$", "", ""} << QStringList{} << "";
        QTest::newRow("program label whole, exclamation kept")
            << QStringList{"A^B!C%D", "", ""} << QStringList{"P:A^B!C%D"} << "";
        QTest::newRow("apostrophe then program label")
            << QStringList{"'A^B$x", "", ""} << QStringList{"I:%N%", "P:A^B"} << "";
        QTest::newRow("compressed label is expanded, then split")
            << QStringList{QString(QChar(0xF1)) + "%START%X", "", ""}
            << QStringList{QStringLiteral("C:") + QChar(0xF1) + "%START%X", "I:%START%"} << "X";
        QTest::newRow("compressed label that expands to a program")
            << QStringList{QString(QChar(0xF1)) + "A^B", "", ""}
            << QStringList{QStringLiteral("C:") + QChar(0xF1) + "A^B", "P:A^B"} << "";
        QTest::newRow("exclamation becomes a blank")
            << QStringList{"%22600!400!18", "", ""} << QStringList{"I:%22600 400 18"} << "";
    }

    void routesLabels()
    {
        QFETCH(QStringList, ticks);
        Rig rig;
        rig.run(ticks);
        QTEST(rig.handlers.calls, "calls");
        QTEST(rig.poller.scanBuffer(), "left");
    }

    void showsWhatArrives()
    {
        Rig rig;
        rig.run({"%START%"});
        QVERIFY(rig.display.activityVisible);
        QCOMPARE(rig.display.activityCaption, QStringLiteral("%"));
        rig.run({""});
        QCOMPARE(rig.display.lastScan, QStringLiteral(" Last Scan:    %START%"));
        rig.run({""});
        QVERIFY(!rig.display.activityVisible);
        QCOMPARE(rig.display.status(), QStringLiteral("Reading Barcode-Label.%START%"));
    }

    void closedPortDoesNothing()
    {
        Rig rig;
        rig.run({"%START%", ""});
        rig.port.close();
        rig.run({"", "", ""});
        QVERIFY(rig.handlers.calls.isEmpty());
        QCOMPARE(rig.poller.scanBuffer(), QStringLiteral("%START%"));
    }

    void busyGateSkipsTicks()
    {
        Rig rig;
        rig.run({"%START%"});
        {
            label::LabelGate::Hold hold(rig.gate);
            rig.run({"", "", "", ""});
        }
        QVERIFY(rig.handlers.calls.isEmpty());
        rig.run({"", ""});
        QCOMPARE(rig.handlers.calls, QStringList{"I:%START%"});
    }

    void inputDuringHandlingIsDiscarded()
    {
        Rig rig;
        rig.run({"PROG"});
        rig.port.received = "LATE"; // arrives after the quiet ticks began
        rig.poller.tick();           // reads it: not quiet
        rig.run({"", ""});
        QCOMPARE(rig.handlers.calls, QStringList{"I:PROGLATE"});
    }

    void failedLabelIsReportedAndTheRestKept()
    {
        Rig rig;
        rig.handlers.failOn = QStringLiteral("%START%");
        rig.run({"%START%%STOP%", "", ""});
        QCOMPARE(rig.prompter.texts(),
                 QStringList{QStringLiteral("Unexpected error # 53 occured: File not found")});
        QCOMPARE(rig.poller.scanBuffer(), QStringLiteral("%STOP%"));
        QVERIFY(!rig.gate.isBusy());
        rig.run({"", ""});
        QCOMPARE(rig.handlers.calls.last(), QStringLiteral("I:%STOP%"));
    }

    void endlessInputIsBounded()
    {
        Rig rig;
        const QString chunk(64 * 1024, QLatin1Char('A'));
        for (int i = 0; i < 10; ++i)
            rig.run({chunk});
        QVERIFY(rig.poller.scanBuffer().size() <= scanner::ScanPoller::MaxScanBuffer);
        rig.run({"", ""});
        QVERIFY(rig.handlers.calls.isEmpty());
        QCOMPARE(rig.display.status(), scanner::ScanPoller::overflowText(10 * chunk.size()));
        QVERIFY(rig.poller.scanBuffer().isEmpty());
        rig.run({"%START%", "", ""}); // the next label is read normally
        QCOMPARE(rig.handlers.calls, QStringList{"I:%START%"});
    }
};

QTEST_GUILESS_MAIN(tst_ScanPoller)
#include "tst_scanpoller.moc"
