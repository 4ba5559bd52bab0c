#include "base/CurrentItem.h"
#include "fieldsel/AutoSelSettings.h"
#include "label/MirrorMatch.h"

#include <QTest>

using namespace barlink;
using fieldsel::MirrorAction;
using fieldsel::TriggerSource;

class tst_MirrorMatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void match_data();
    void match();
};

void tst_MirrorMatch::match_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("normAndMirror");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("fromLeft");
    QTest::addColumn<QString>("text"); // the program name, or the comment for source Comment
    QTest::addColumn<bool>("twice");
    QTest::addColumn<QString>("runField");

    const int name = int(TriggerSource::ProgramName);
    const int comment = int(TriggerSource::Comment);
    const int barcode = int(TriggerSource::Barcode);
    // Program name triggers of two characters have the maximum 11, from the right
    // position v looks at n - 11 + v.
    // clang-format off
    QTest::newRow("left: match")               << name    << false << "MR"  << 5  << true  << "PROGMR.CNC"    << false << "W";
    QTest::newRow("case ignored")              << name    << false << "mr"  << 5  << true  << "progMr.cnc"    << false << "W";
    QTest::newRow("source trimmed")            << name    << false << "MR"  << 5  << true  << "  PROGMR.CNC " << false << "W";
    QTest::newRow("trigger not trimmed")       << name    << false << "MR " << 5  << true  << "PROGMR.CNC"    << false << "P";
    QTest::newRow("fewer characters remain")   << name    << false << "MR"  << 4  << true  << "PROM"          << false << "P";
    QTest::newRow("past the end")              << name    << false << "MR"  << 11 << true  << "PROGMR"        << false << "P";
    QTest::newRow("norm and mirror: match")    << name    << true  << "MR"  << 5  << true  << "PROGMR.CNC"    << true  << "W";
    QTest::newRow("norm and mirror: no match") << name    << true  << "MR"  << 1  << true  << "PROGMR.CNC"    << false << "P";
    QTest::newRow("empty trigger")             << name    << true  << ""    << 1  << true  << "PROG"          << false << " ";
    QTest::newRow("trigger longer than source")<< name    << false << "ABC" << 1  << true  << " AB "          << false << " ";
    QTest::newRow("star anywhere")             << name    << true  << "*Z"  << 3  << true  << "PROG"          << true  << "W";
    QTest::newRow("star needs the length")     << name    << false << "*Z"  << 1  << true  << "A"             << false << " ";
    QTest::newRow("right: match")              << name    << false << "MR"  << 6  << false << "PROGMR.CNC"    << false << "W";
    QTest::newRow("right: one off")            << name    << false << "MR"  << 7  << false << "PROGMR.CNC"    << false << "P";
    QTest::newRow("right: start 1")            << name    << false << "MR"  << 10 << false << "MR"            << false << "W";
    QTest::newRow("right: start 0")            << name    << false << "MR"  << 8  << false << "MRX"           << false << "P";
    QTest::newRow("right: at maximum, start n")<< name    << false << "R"   << 12 << false << "PR"            << false << "P";
    QTest::newRow("comment")                   << comment << false << "MIR" << 7  << true  << "PANEL MIRROR"  << false << "W";
    QTest::newRow("comment from right")        << comment << true  << "MIR" << 18 << false << "PANEL MIRROR"  << true  << "W";
    QTest::newRow("barcode: no test")          << barcode << true  << "*"   << 1  << true  << ""              << false << " ";
    // clang-format on
}

void tst_MirrorMatch::match()
{
    QFETCH(int, source);
    QFETCH(bool, normAndMirror);
    QFETCH(QString, trigger);
    QFETCH(int, position);
    QFETCH(bool, fromLeft);
    QFETCH(QString, text);

    fieldsel::AutoSelSettings settings;
    settings.setSource(TriggerSource(source));
    settings.setAction(normAndMirror ? MirrorAction::NormAndMirror : MirrorAction::Mirror);
    settings.placeText();
    settings.setTriggerText(trigger);
    settings.setTriggerPosition(qint16(position));
    settings.setFromLeft(fromLeft);
    QCOMPARE(int(settings.triggerPosition()), position);

    base::CurrentItem item;
    item.resetItem();
    // The other text holds the trigger everywhere, so reading the wrong one shows.
    const QString decoy = QStringLiteral("MRMRMIRMIRMIRMIRMIR");
    item.programName = source == int(TriggerSource::Comment) ? decoy : text;
    item.programComment = source == int(TriggerSource::Comment) ? text : decoy;

    QTEST(label::matchMirrorSpec(settings, item), "twice");
    QTEST(item.runField, "runField");
}

QTEST_GUILESS_MAIN(tst_MirrorMatch)
#include "tst_mirrormatch.moc"
