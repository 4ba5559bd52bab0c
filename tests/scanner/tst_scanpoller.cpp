// Label assembly from the scanner port: quiet measured from the last byte, each route's
// handler and the rests it leaves in the buffer, failures and the bounded buffer.

#include "Fakes.h"
#include "base/LabelGate.h"
#include "scanner/ScanPoller.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace barlink;
using namespace barlink::testing;

namespace {

// A poller on a port in memory. Its handlers record every call as "I:label", "C:label" or
// "P:label"; the decoder expands a compressed label to what follows its marker, up to a "|",
// and what follows the "|" is its rest.
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

    QStringList calls;
    QString failOn;
    FakeScannerPort port;
    FakeDisplay display;
    ScriptedPrompter prompter;
    base::LabelGate gate;
    scanner::ScanPoller poller{
        port,
        {.interpretLabel =
             [this](const QString &label) {
                 calls << "I:" + label;
                 if (label == failOn)
                     throw Error(53, QStringLiteral("File not found"));
             },
         .decodeCompressedLabel =
             [this](const QString &label, QString &rest) {
                 calls << "C:" + label;
                 rest = label.section(QLatin1Char('|'), 1);
                 return label.section(QLatin1Char('|'), 0, 0).mid(1);
             },
         .interpretProgramBarcode = [this](const QString &label) { calls << "P:" + label; }},
        display,
        prompter,
        gate};
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
        using L = QStringList;
        const QString f1(QChar(0xF1));
        // clang-format off
        QTest::newRow("second command two ticks later")    << L{"%START%%STOP%", "", "", "", ""} << L{"I:%START%", "I:%STOP%"} << "";
        QTest::newRow("apostrophe: %N% first")             << L{"'ABC$DEF", "", ""} << L{"I:%N%", "I:ABC"} << "";
        QTest::newRow("program label")                     << L{"A^B!C%D", "", ""} << L{"P:A^B!C%D"} << "";
        QTest::newRow("compressed: rests in order")        << L{f1 + "%START%X|R", "", ""} << L{"C:" + f1 + "%START%X|R", "I:%START%"} << "XR";
        QTest::newRow("not expanded: the rest goes too")   << L{f1 + "|%STOP%", "", "", "", ""} << L{"C:" + f1 + "|%STOP%"} << "";
        // clang-format on
    }
    void routesLabels()
    {
        QFETCH(QStringList, ticks);
        Rig rig;
        rig.run(ticks);
        QTEST(rig.calls, "calls");
        QTEST(rig.poller.scanBuffer(), "left");
    }

    // Bytes are read as they arrive, each read shown by its first character; the label is
    // handled once the port has been quiet for two intervals after its last byte; a poller
    // with nothing pending does not tick.
    void quietIsMeasuredFromTheLastByte()
    {
        constexpr int Interval = 50;
        Rig rig;
        rig.poller.start(Interval);
        QVERIFY(!rig.poller.isTicking());
        rig.port.arrive("%ST");
        QCOMPARE(rig.poller.scanBuffer(), QStringLiteral("%ST"));
        QCOMPARE(rig.display.activityCaption, QStringLiteral("%"));
        // The rest comes after one quiet interval, before a second would end the label.
        QElapsedTimer sinceLastByte;
        QTimer::singleShot(3 * Interval / 2, &rig.poller, [&] {
            sinceLastByte.start();
            rig.port.arrive("ART%");
        });
        QTRY_COMPARE(rig.calls, QStringList{"I:%START%"});
        QVERIFY2(sinceLastByte.elapsed() >= 2 * Interval,
                 qPrintable(QString::number(sinceLastByte.elapsed())));
        QCOMPARE(rig.display.lastScan, QStringLiteral(" Last Scan:    %START%"));
        QVERIFY(!rig.display.activityVisible);
        QCOMPARE(rig.display.status(), QStringLiteral("Reading Barcode-Label.%START%"));
        QVERIFY(!rig.poller.isTicking());
    }

    // Ticks on a closed port or while a label is being handled do nothing.
    void closedPortAndBusyGateSkipTicks()
    {
        Rig rig;
        rig.run({"%START%", ""});
        rig.port.close();
        rig.run({"", "", ""});
        QVERIFY(rig.calls.isEmpty());
        QCOMPARE(rig.poller.scanBuffer(), QStringLiteral("%START%"));

        Rig busy;
        busy.run({"%START%"});
        {
            base::LabelGate::Hold hold(busy.gate);
            busy.run({"", "", "", ""});
        }
        QVERIFY(busy.calls.isEmpty());
        busy.run({"", ""});
        QCOMPARE(busy.calls, QStringList{"I:%START%"});
    }

    // A label whose handling fails is reported and done with; what followed it stays. When
    // "%N%" of the apostrophe rule fails, the text it was for goes with it.
    void failedLabel_data()
    {
        QTest::addColumn<QString>("failOn");
        QTest::addColumn<QString>("burst");
        QTest::addColumn<QString>("left");      // in the buffer after the failure
        QTest::addColumn<QStringList>("calls"); // after two further quiet ticks
        QTest::newRow("the rest is kept") << "%START%"
                                          << "%START%%STOP%"
                                          << "%STOP%" << QStringList{"I:%START%", "I:%STOP%"};
        QTest::newRow("failing %N% abandons the label") << "%N%"
                                                        << "'ABC$DEF"
                                                        << "" << QStringList{"I:%N%"};
    }

    void failedLabel()
    {
        Rig rig;
        QFETCH(QString, failOn);
        QFETCH(QString, burst);
        rig.failOn = failOn;
        rig.run({burst, "", ""});
        QCOMPARE(rig.prompter.texts(),
                 QStringList{"Unexpected error # 53 occured: File not found"});
        QTEST(rig.poller.scanBuffer(), "left");
        QVERIFY(!rig.gate.isBusy());
        rig.run({"", ""});
        QTEST(rig.calls, "calls");
    }

    void endlessInputIsBounded()
    {
        Rig rig;
        const QString chunk(64 * 1024, QLatin1Char('A'));
        for (int i = 0; i < 10; ++i)
            rig.run({chunk});
        QVERIFY(rig.poller.scanBuffer().size() <= scanner::ScanPoller::MaxScanBuffer);
        rig.run({"", ""});
        QVERIFY(rig.calls.isEmpty());
        QCOMPARE(rig.display.status(), scanner::ScanPoller::overflowText(10 * chunk.size()));
        QVERIFY(rig.poller.scanBuffer().isEmpty());
        rig.run({"%START%", "", ""}); // the next label is read normally
        QCOMPARE(rig.calls, QStringList{"I:%START%"});
    }
};

QTEST_GUILESS_MAIN(tst_ScanPoller)
#include "tst_scanpoller.moc"
