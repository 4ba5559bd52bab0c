#include "FuzzStation.h"

#include "FuzzCheck.h"
#include "StationProbe.h"
#include "app/ScannerReply.h"
#include "base/CurrentItem.h"
#include "base/Options.h"
#include "embeddedlist/RunState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <array>

namespace barlink::fuzz {

namespace {

// Field codes for the automatic selection: S for a piece that fits the half limits, N
// otherwise, M mirrored.
const QByteArray FieldCodeKeys = "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFA=A\r\n"
                                 "FieldFlag_FFA= 1\r\nFieldCode_SFN=N\r\nFieldCode_SFM=M\r\n"
                                 "HalfLimitX=1000\r\nHalfLimitY=600\r\n";
// Norm and mirror pieces for program names that begin with "MIR".
const QByteArray MirrorKeys = "AutoSelSetting=1\r\nPNameMSel=0\r\nPNameNandMText=MIR\r\n"
                              "PNameNandMLR=-1\r\nPNameNandMCPos=1\r\n"
                              "HalfLimitX=1000\r\nHalfLimitY=600\r\n"
                              "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFT=T\r\n"
                              "FieldFlag_FFT= 1\r\nFieldCode_FFA=A\r\nFieldFlag_FFA= 1\r\n"
                              "FieldCode_FFR=R\r\nFieldFlag_FFR= 1\r\nFieldCode_SFN=N\r\n"
                              "FieldCode_SFM=M\r\n";

const std::array<QByteArray, 4> SettingsVariants = {
    FieldCodeKeys,
    FieldCodeKeys + "FieldCode_DFN=t\r\n",
    FieldCodeKeys + "AutoSelSetting=1\r\n",
    MirrorKeys,
};

// The members the label path calls; index 0 is "no failure".
const std::array<const char *, 16> FailingMembers = {
    nullptr,
    "AddLine",
    "StartList",
    "HoldList",
    "EndList",
    "Setpoint",
    "ClearList",
    "OpenList",
    "NewList",
    "AppendList",
    "ListOpened",
    "Rows",
    "ViewWorks",
    "Visible",
    "Clear",
    "GetLine",
};

// What the station folder may hold after an input; anything else was written by a name
// that reached outside the folder it was meant for.
const QSet<QString> StationEntries = {
    QStringLiteral("program"),
    QStringLiteral("windows"),
    QStringLiteral("gcode"),
    QStringLiteral("lists"),
    QStringLiteral("csvin"),
    QStringLiteral("run"),
    QStringLiteral("data"),
    QStringLiteral("temp"),
    QStringLiteral("collected.csv"),
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
          "the scratch folder can be written",
          path);
}

} // namespace

const QString &FuzzStation::scratchFolder()
{
    static const auto scratch = [] {
        // The application object the station's Qt classes expect, unless the program that
        // runs the harness (a test replaying the seeds) has one.
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "barlink-fuzz";
            static char *argv[] = {name, nullptr};
            static QCoreApplication application(argc, argv);
        }

        // A memory file system keeps the list manager's flushes from reaching a disk. A run
        // that ends in a crash leaves its folder behind: scripts/fuzz.sh names a folder of
        // its own for the harnesses and removes it afterwards.
        const QString shm = QStringLiteral("/dev/shm");
        QString base = qEnvironmentVariable("BARLINK_FUZZ_SCRATCH");
        if (base.isEmpty())
            base = QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/barlink-fuzz-XXXXXX"));
        check(dir->isValid(), "a scratch folder can be made", base);
        return dir;
    }();
    static const QString path = scratch->path();
    return path;
}

namespace {

// The station folder laid out anew: the rig's settings file (with the field selection of the
// variant) and folders, and the files the labels find.
const QString &layOutStationFolder(int settingsVariant)
{
    static const QString root = FuzzStation::stationFolder();
    QDir(root).removeRecursively();
    check(testing::StationRig<>::prepare(root,
                                         QStringLiteral("/dev/pts/fuzz"),
                                         SettingsVariants[std::size_t(settingsVariant)]),
          "the station folders and settings file can be made",
          root);
    writeFile(root + QStringLiteral("/gcode/PROG9.CNC"),
              "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n");
    writeFile(root + QStringLiteral("/gcode/PROG.CNC"), "G71 X800 Y600 Z18\r\n(DOOR)\r\n");
    writeFile(root + QStringLiteral("/lists/PANEL1.LST"),
              "#161=A.CNC;#171=3;\r\n#161=B.CNC;#171=6;\r\n");
    writeFile(root + QStringLiteral("/csvin/PROG.CSV"), "PROG;800;600;18\r\n");
    return root;
}

} // namespace

StationPlan StationPlan::take(const std::uint8_t *&data, std::size_t &size)
{
    StationPlan plan;
    if (size >= 2) {
        plan.switches = data[0];
        plan.faults = data[1];
        data += 2;
        size -= 2;
    }
    return plan;
}

QString FuzzStation::stationFolder()
{
    return scratchFolder() + QStringLiteral("/station");
}

FuzzStation::FuzzStation(StationPlan plan)
    : m_rig(layOutStationFolder(plan.switches >> 6),
            {.askedOn = &m_prompter, .mode = app::StationBuilder::Mode::Try})
{
    base::Options &options = m_rig.station.options();
    const base::Options::Switch switches[] = {base::Options::AutoClear,
                                              base::Options::Overwrite,
                                              base::Options::AutoStart,
                                              base::Options::ShowEd};
    for (int bit = 0; bit < 4; ++bit)
        options.setValue(switches[bit], (plan.switches >> bit) & 1);
    app::StationProbe(m_rig.station).item().clearListPending = (plan.switches & 0x10) != 0;
    m_prompter.setGoOnAnswers((plan.switches & 0x20) != 0 ? 3 : 0);
    QObject::connect(
        &m_rig.station, &app::Station::editorRequested, [this] { ++m_editorLaunches; });

    QObject::connect(m_rig.store.get(),
                     &embeddedlist::ListStore::rowsAppended,
                     [this](qint32 first, qint32 last) {
                         if (first == last)
                             ++m_singleRowsAdded;
                     });

    if (const char *member = FailingMembers[plan.faults & 0x0f]) {
        const int times = (plan.faults >> 4) & 3;
        if (times == 3)
            m_rig.faults.setFailing(QLatin1String(member), true);
        else
            m_rig.faults.failNext(QLatin1String(member), times + 1);
    }
}

FuzzStation::~FuzzStation()
{
    m_rig.station.shutdown();
}

void FuzzStation::checkAfterInput(qsizetype maxItems)
{
    check(!app::StationProbe(m_rig.station).gate().isBusy(), "no label is left in hand");

    // Only "ACK" answers go back to the scanner, one per item at most.
    const QByteArray ack = app::ScannerReply::acknowledgement();
    const qsizetype acks = m_rig.port.sent.size() / ack.size();
    check(m_rig.port.sent == ack.repeated(acks),
          "the scanner gets nothing but ACK",
          escaped(m_rig.port.sent));
    check(acks <= 2 * maxItems,
          "at most two ACKs for each item",
          QStringLiteral("%1 ACKs for at most %2 items").arg(acks).arg(maxItems));
    check(acks <= m_singleRowsAdded,
          "an ACK only for a row added",
          QStringLiteral("%1 ACKs, %2 rows added").arg(acks).arg(m_singleRowsAdded));

    // What the list manager holds is what it kept on disk: a crash now would lose nothing.
    {
        embeddedlist::ListStore reloaded(m_rig.store->folder());
        check(reloaded.rows() == m_rig.store->rows(),
              "the list on disk is the list in memory",
              QStringLiteral("%1 rows in memory, %2 on disk")
                  .arg(m_rig.store->rowCount())
                  .arg(reloaded.rowCount()));
        check(reloaded.runState() == m_rig.store->runState(),
              "the run state on disk is the one in memory",
              embeddedlist::runStateName(reloaded.runState()) + QStringLiteral(" on disk, ")
                  + embeddedlist::runStateName(m_rig.store->runState())
                  + QStringLiteral(" in memory"));
        check(reloaded.setpoints() == m_rig.store->setpoints(),
              "the setpoints on disk are the ones in memory");
    }

    // Nothing from a label reaches outside its folder.
    const QStringList outside
        = QDir(scratchFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    check(outside == QStringList{QStringLiteral("station")},
          "nothing is written beside the station folder",
          outside.join(QLatin1Char(',')));
    const QStringList inside
        = QDir(stationFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : inside)
        check(StationEntries.contains(entry),
              "nothing is written into the station folder itself",
              entry);
}

} // namespace barlink::fuzz
