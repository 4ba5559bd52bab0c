// Load: a scanner that floods the port without a pause, labels far longer than any barcode,
// and many items scanned back to back into the real program. Short by default so the suite
// stays quick; scripts/bench.sh load runs the long forms:
//   BARLINK_FLOOD_SECONDS  how long the flood lasts (default 3)
//   BARLINK_LOAD_ITEMS     how many items go through the real program (default 25)
// Figures (event loop delays, memory, time per item) are printed with qInfo; only what must
// hold on any machine is checked.

#include "BarlinkProcess.h"
#include "PtyPair.h"
#include "StationRig.h"
#include "app/MainWindow.h"
#include "embeddedlist/ListFile.h"
#include "embeddedlist/ListManagerWindow.h"
#include "scanner/SerialScannerPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <poll.h>
#include <sys/resource.h>
#include <thread>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int Patience = 20000;
const QByteArray Ack = "ACK\r";

// AddressSanitizer keeps freed memory in quarantine: there, memory figures say nothing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MemoryMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool MemoryMeasurable = false;
#else
constexpr bool MemoryMeasurable = true;
#endif
#else
constexpr bool MemoryMeasurable = true;
#endif

int setting(const char *variable, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(variable, &ok);
    return ok && value > 0 ? value : fallback;
}

// The most memory this process has held so far, in kilobytes.
long maxResidentKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes into the pseudo-terminal's scanner end from a thread of its own, as fast as the
// line takes it: `bytes` once, or over and over until stopped.
class Flood
{
public:
    enum Mode { Once, UntilStopped };

    Flood(int fd, const QByteArray &bytes, Mode mode)
        : m_fd(fd)
        , m_chunk(mode == Once ? bytes : bytes.repeated(256))
        , m_mode(mode)
    {
        m_thread = std::thread([this] { run(); });
    }
    ~Flood() { stop(); }
    Flood(const Flood &) = delete;
    Flood &operator=(const Flood &) = delete;

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    [[nodiscard]] qint64 bytesSent() const { return m_sent; }

private:
    void run()
    {
        qsizetype at = 0;
        while (!m_stop) {
            pollfd ready{m_fd, POLLOUT, 0};
            if (::poll(&ready, 1, 20) <= 0)
                continue;
            const ssize_t n = ::write(m_fd, m_chunk.constData() + at, size_t(m_chunk.size() - at));
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return;
            if (n > 0) {
                m_sent += n;
                at = (at + n) % m_chunk.size();
                if (m_mode == Once && at == 0)
                    return;
            }
        }
    }

    int m_fd = -1;
    QByteArray m_chunk;
    Mode m_mode = Once;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_sent = 0;
    std::thread m_thread;
};

// The station as the program puts it together on screen: the main window shows what it
// does, the list manager's window the list; message boxes are scripted.
struct WindowRig
{
    explicit WindowRig(const QString &root)
        : store(std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data")))
        , provider(store)
        , station(window,
                  prompter,
                  pacer,
                  port,
                  provider,
                  root + QStringLiteral("/program"),
                  root + QStringLiteral("/windows"))
        , listWindow(store.get())
    {
        station.setInstanceLockDir(root + QStringLiteral("/run"));
        station.setListWait(3, 1);
    }

    app::MainWindow window;
    ScriptedPrompter prompter;
    InstantPacer pacer;
    scanner::SerialScannerPort port;
    std::shared_ptr<embeddedlist::ListStore> store;
    embeddedlist::EmbeddedListManagerProvider provider;
    app::Station station;
    embeddedlist::ListManagerWindow listWindow;
};

// Notes how late a 10 ms timer fires: the longest the event loop was held up.
class LoopProbe : public QObject
{
public:
    LoopProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 late = m_clock.restart() - m_timer.interval();
            m_worstMs = std::max(m_worstMs, late);
            ++m_fired;
            if (onFire)
                onFire();
        });
        m_clock.start();
        m_timer.start(10);
    }
    [[nodiscard]] qint64 worstDelayMs() const { return m_worstMs; }
    [[nodiscard]] int fired() const { return m_fired; }
    std::function<void()> onFire;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_worstMs = 0;
    int m_fired = 0;
};

} // namespace

class tst_Load : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void floodWithoutPause();
    void longLabels_data();
    void longLabels();
    void itemsBackToBack();

private:
    std::unique_ptr<WindowRig> startWindowRig(PtyPair &pty);
    [[nodiscard]] QString root() const { return m_dir->path(); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Load::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(makeStationFolders(root()));
}

std::unique_ptr<WindowRig> tst_Load::startWindowRig(PtyPair &pty)
{
    if (!writeStationSettings(root() + QStringLiteral("/program/KTQ.INI"), root(), pty.slavePath()))
        return nullptr;
    auto rig = std::make_unique<WindowRig>(root());
    if (rig->station.start(true) != app::Startup::Outcome::Running || !rig->port.isOpen())
        return nullptr;
    rig->window.bindOptions(rig->station.options());
    rig->window.show();
    rig->listWindow.show();
    rig->station.startPolling();
    return rig;
}

void tst_Load::floodWithoutPause()
{
    const int seconds = setting("BARLINK_FLOOD_SECONDS", 3);
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    auto rig = startWindowRig(pty);
    QVERIFY(rig);
    QVERIFY(QTest::qWaitForWindowExposed(&rig->window));
    const long memoryBefore = maxResidentKb();

    LoopProbe probe;
    qsizetype largestBuffer = 0;
    probe.onFire = [&] {
        largestBuffer = std::max(largestBuffer, rig->station.poller().scanBuffer().size());
    };
    Flood flood(pty.masterFd(), "%12PROG.CNC N1 X", Flood::UntilStopped);
    QTest::qWait(seconds * 1000);
    flood.stop();
    const int firedDuringFlood = probe.fired();

    // Once the scanner pauses, the station says what it threw away.
    QTRY_VERIFY_WITH_TIMEOUT(
        rig->window.status().startsWith(QLatin1String("Scanner input too long")), Patience);
    const long memoryGrowthKb = maxResidentKb() - memoryBefore;
    qInfo("flood: %lld bytes in %d s; worst event loop delay %lld ms; memory growth %ld kB; "
          "largest scan buffer %lld characters",
          flood.bytesSent(),
          seconds,
          probe.worstDelayMs(),
          memoryGrowthKb,
          qlonglong(largestBuffer));

    QVERIFY(flood.bytesSent() > scanner::ScanPoller::MaxScanBuffer);
    QVERIFY(largestBuffer <= scanner::ScanPoller::MaxScanBuffer);
    // Memory stays bounded: what the port holds between two ticks is bounded too, however
    // fast the device sends (a pseudo-terminal takes tens of megabytes a second).
    if (MemoryMeasurable)
        QVERIFY2(memoryGrowthKb < 32 * 1024, qPrintable(QString::number(memoryGrowthKb)));
    // The window kept being served throughout: its timers ran every second of the flood.
    QVERIFY2(firedDuringFlood >= seconds, qPrintable(QString::number(firedDuringFlood)));
    QCOMPARE(rig->store->rowCount(), 0);
    QVERIFY(rig->prompter.shown.isEmpty());

    // And the station goes on with the next real scan.
    pty.clearReceived();
    QVERIFY(pty.write("%12PROG.CNC N1 X"));
    QTRY_COMPARE_WITH_TIMEOUT(
        rig->station.dispatcher().segmentsSeen(), QStringLiteral("1"), Patience);
    QVERIFY(pty.write("%22600 400 18"));
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), Ack, Patience);
    QCOMPARE(rig->store->rowCount(), 1);
}

void tst_Load::longLabels_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("prompts");

    QByteArray program = "PB1^X800^Y600^Z18!G71 X800 Y600 Z18\r\n(PB1)\r\n";
    for (int line = 0; line < 150; ++line)
        program += "N" + QByteArray::number(line * 10) + " G1 X100 Y200 Z-5\r\n";
    QTest::newRow("program barcode of 150 lines") << program << 1 << QStringList{};
    // The token reader counts in 16 bits: a segment longer than that is refused.
    QTest::newRow("one line of 200,000 characters")
        << QByteArray("%19LONG.CNC N ") + QByteArray(200000, 'X') << 0
        << QStringList{QStringLiteral("Unexpected error # 6 occured: Overflow")};
}

void tst_Load::longLabels()
{
    QFETCH(QByteArray, label);
    QFETCH(int, rows);
    QFETCH(QStringList, prompts);

    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    auto rig = startWindowRig(pty);
    QVERIFY(rig);
    QVERIFY(QTest::qWaitForWindowExposed(&rig->window));
    const QSize windowSize = rig->window.size();
    const QRect screen = rig->window.screen()->availableGeometry();

    LoopProbe probe;
    Flood send(pty.masterFd(), label, Flood::Once);
    QTRY_COMPARE_WITH_TIMEOUT(rig->store->rowCount(), rows, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(rig->prompter.texts(), prompts, Patience);
    QTRY_VERIFY_WITH_TIMEOUT(
        rig->station.poller().scanBuffer().isEmpty() && !rig->station.gate().isBusy(), Patience);
    QTest::qWait(100);
    qInfo("label of %lld characters: worst event loop delay %lld ms; window %dx%d",
          qlonglong(label.size()),
          probe.worstDelayMs(),
          rig->window.width(),
          rig->window.height());

    // However long the label, the main window keeps to the screen.
    QVERIFY2(
        rig->window.width() <= std::max(screen.width(), windowSize.width())
            && rig->window.height() <= std::max(screen.height(), windowSize.height()),
        qPrintable(QStringLiteral("%1x%2").arg(rig->window.width()).arg(rig->window.height())));
    QCOMPARE(rig->store->rowCount(), rows);
}

void tst_Load::itemsBackToBack()
{
    const int items = setting("BARLINK_LOAD_ITEMS", 25);
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    BarlinkProcess barlink(root(), pty.slavePath());
    QVERIFY2(barlink.start(), barlink.log().constData());

    QElapsedTimer clock;
    clock.start();
    QByteArray received;
    for (int i = 1; i <= items; ++i) {
        const QByteArray first
            = QStringLiteral("%12ITEM%1.CNC N1 X").arg(i, 4, 10, QLatin1Char('0')).toLatin1();
        // The next label goes out as soon as the station has taken the one before.
        QVERIFY(pty.write(first));
        QVERIFY2(barlink.waitForLog("barlink.label: label \"" + first + '"', Patience),
                 qPrintable(QStringLiteral("item %1").arg(i)));
        QVERIFY(pty.write("%22600 400 18"));
        QTRY_COMPARE_WITH_TIMEOUT(pty.received().count(Ack), i, Patience);
    }
    const double seconds = double(clock.elapsed()) / 1000.0;

    // Exactly one row per item, in scanning order, and one "ACK" each; quiet ticks later
    // nothing more comes.
    QTest::qWait(5 * RigPollMs);
    QCOMPARE(pty.received(), Ack.repeated(items));
    const embeddedlist::StoredList list = embeddedlist::parseStoredList(
        readFileBytes(barlink.listFolder() + QStringLiteral("/current.lst")));
    QVERIFY(!list.tornTail);
    QCOMPARE(list.rows.size(), items);
    for (int i = 0; i < items; ++i) {
        QVERIFY2(list.rows[i].startsWith(
                     QStringLiteral("#161=ITEM%1.CNC;").arg(i + 1, 4, 10, QLatin1Char('0'))),
                 qPrintable(list.rows[i]));
    }
    qInfo("%d items in %.1f s, %.0f ms per item", items, seconds, seconds * 1000.0 / items);
    QVERIFY(barlink.process().state() == QProcess::Running);
}

QTEST_MAIN(tst_Load)
#include "tst_load.moc"
