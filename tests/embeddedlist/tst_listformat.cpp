// The pure rules of the list manager: row fields, run states, list file text, columns.
#include "embeddedlist/FieldColumns.h"
#include "embeddedlist/ListFile.h"
#include "embeddedlist/RowFields.h"
#include "embeddedlist/RunState.h"

#include <QTest>

using namespace barlink::embeddedlist;

class TestListFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseRowFields_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("fields"); // number=value pairs joined by "|"
        // clang-format off
        QTest::newRow("station row")        << "#161=forpunte.CNC;#162=;#171=3;" << "161=forpunte.CNC|162=|171=3";
        QTest::newRow("value with ; and #") << "#161=a;b#c;#162=x;" << "161=a;b#c|162=x";
        QTest::newRow("field start inside value") << "#161=#162=x;" << "161=#162=x";
        QTest::newRow("no closing ;")       << "#161=P;#170=20"  << "161=P|170=20";
        QTest::newRow("text before first field") << "junk;#161=P;" << "161=P";
        QTest::newRow("plain text")         << "PROG.CNC"        << "";
        QTest::newRow("no digits")          << "#abc=1;#161=P;"  << "161=P";
        QTest::newRow("blank value kept")   << "#282= ;"         << "282= ";
        QTest::newRow("too many digits")    << "#1234567890=x;"  << "";
        // clang-format on
    }
    void parseRowFields()
    {
        QFETCH(QString, row);
        QStringList parts;
        for (const RowField &field : barlink::embeddedlist::parseRowFields(row))
            parts.append(QString::number(field.number) + u'=' + field.value);
        QTEST(parts.join(u'|'), "fields");
    }

    void nextRunState_data()
    {
        QTest::addColumn<RunState>("from");
        QTest::addColumn<QList<RunState>>("after"); // Start, Hold, End
        const auto [idle, running, held, ended]
            = std::tuple(RunState::Idle, RunState::Running, RunState::Held, RunState::Ended);
        QTest::newRow("idle") << idle << QList{running, idle, idle};
        QTest::newRow("running") << running << QList{running, held, ended};
        QTest::newRow("held") << held << QList{running, held, ended};
        QTest::newRow("ended") << ended << QList{running, ended, ended};
    }
    void nextRunState()
    {
        QFETCH(RunState, from);
        QList<RunState> after;
        for (RunCommand command : {RunCommand::Start, RunCommand::Hold, RunCommand::End})
            after.append(barlink::embeddedlist::nextRunState(from, command));
        QTEST(after, "after");
        QCOMPARE(runStateFromName(runStateName(from)), std::optional(from));
    }

    void parseListText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        // clang-format off
        QTest::newRow("crlf")                << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf, no final end")    << QByteArray("a\nb\nc")    << QStringList{"a", "b", "c"};
        QTest::newRow("empty lines skipped") << QByteArray("\r\na\r\n\r\n\nb\r\n\r\n") << QStringList{"a", "b"};
        QTest::newRow("blank line is a row") << QByteArray(" \r\n")      << QStringList{" "};
        QTest::newRow("latin-1")             << QByteArray("caf\xe9\r\n") << QStringList{QStringLiteral(u"café")};
        QTest::newRow("stray CR")            << QByteArray("a\rb\r\n")   << QStringList{"a b"};
        // clang-format on
    }
    void parseListText()
    {
        QFETCH(QByteArray, bytes);
        QTEST(barlink::embeddedlist::parseListText(bytes), "rows");
    }

    void normalizeRow_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("normalized");
        QTest::newRow("line breaks") << "a\r\nb\nc"
                                     << "a  b c";
        QTest::newRow("outside latin-1") << QStringLiteral(u"x€y") << "x?y";
        QTest::newRow("overlong") << QString(maxRowLength + 5, u'x') << QString(maxRowLength, u'x');
    }
    void normalizeRow()
    {
        QFETCH(QString, row);
        QTEST(barlink::embeddedlist::normalizeRow(row), "normalized");
    }

    // Columns beyond the standard ones, in the order their fields were met.
    void fieldColumns_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QList<int>>("extras");
        using L = QStringList;
        // clang-format off
        QTest::newRow("extras in order met")   << L{"#161=P;#900=1;#300=2;", "#300=3;#400=4;#900=5;"} << L{} << QList<int>{900, 300, 400};
        QTest::newRow("repeat counts once")    << L{"#300=1;#300=2;", "#300=3;"} << L{"#300=1;#300=2;"} << QList<int>{300};
        QTest::newRow("goes with its last row") << L{"#300=1;#400=1;", "#300=2;"} << L{"#300=1;#400=1;", "#300=2;"} << QList<int>{};
        QTest::newRow("stays while another row has it") << L{"#300=1;#400=1;", "#400=2;"} << L{"#300=1;#400=1;"} << QList<int>{400};
        // clang-format on
    }
    void fieldColumns()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, removed);
        QFETCH(QList<int>, extras);
        FieldColumns columns;
        for (const QString &row : added)
            columns.addRow(row);
        for (const QString &row : removed)
            columns.removeRow(row);
        QCOMPARE(columns.numbers(), standardFieldNumbers() + extras);
    }
};

QTEST_GUILESS_MAIN(TestListFormat)
#include "tst_listformat.moc"
