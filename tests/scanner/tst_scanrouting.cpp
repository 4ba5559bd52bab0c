// Where a scan goes: the apostrophe rule, compressed, program and ordinary labels, the "%"
// split and the rest.

#include "scanner/ScanRouting.h"

#include <QTest>

using namespace barlink::scanner;

Q_DECLARE_METATYPE(barlink::scanner::ScanKind)

class tst_ScanRouting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routes_data()
    {
        QTest::addColumn<bool>("expanded"); // routed with routeLabel(), as a decoder's result
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<ScanKind>("kind");
        QTest::addColumn<bool>("fieldNFirst");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("rest");
        using K = ScanKind;
        const QString f1(QChar(0xF1));
        // clang-format off
        QTest::newRow("two commands in one burst")      << false << "%START%%STOP%"   << K::Ordinary   << false << "%START%"         << "%STOP%";
        QTest::newRow("a % past the first ends it")     << false << "AB%CD"           << K::Ordinary   << false << "AB%"             << "CD";
        QTest::newRow("exclamation becomes a blank")    << false << "%22600!400!18"   << K::Ordinary   << false << "%22600 400 18"   << "";
        QTest::newRow("apostrophe rule")                << false << "'ABC$DEF"        << K::Ordinary   << true  << "ABC"             << "";
        QTest::newRow("apostrophe, text split at %")    << false << "'AB%CD$E"        << K::Ordinary   << true  << "AB%"             << "CD";
        QTest::newRow("apostrophe and dollar only")     << false << "'$ABC"           << K::Nothing    << false << ""                << "";
        QTest::newRow("apostrophe without dollar")      << false << "'ABC"            << K::Ordinary   << false << "'ABC"            << "";
        QTest::newRow("program label whole, ! kept")    << false << "A^B!C%D"         << K::Program    << false << "A^B!C%D"         << "";
        QTest::newRow("apostrophe then program label")  << false << "'A^B$x"          << K::Program    << true  << "A^B"             << "";
        QTest::newRow("compressed goes whole")          << false << f1 + "%A%^B"      << K::Compressed << false << f1 + "%A%^B"      << "";
        QTest::newRow("apostrophe then compressed")     << false << "'" + f1 + "Z$x"  << K::Compressed << true  << f1 + "Z"          << "";
        QTest::newRow("marker after the start")         << false << "A" + f1          << K::Ordinary   << false << "A" + f1          << "";
        QTest::newRow("expanded: no apostrophe rule")   << true  << "'AB$C%D"         << K::Ordinary   << false << "'AB$C%"          << "D";
        // clang-format on
    }
    void routes()
    {
        QFETCH(bool, expanded);
        QFETCH(QString, buffer);
        const ScanRoute route = expanded ? routeLabel(buffer) : routeScan(buffer);
        QTEST(route.kind, "kind");
        QTEST(route.fieldNFirst, "fieldNFirst");
        QTEST(route.label, "label");
        QTEST(route.rest, "rest");
    }
};

QTEST_GUILESS_MAIN(tst_ScanRouting)
#include "tst_scanrouting.moc"
