// The pure rules of the list manager: row fields, run states, list file text, columns.
#include "program/listmanager/FieldColumns.h"
#include "program/listmanager/ListFile.h"
#include "program/listmanager/RowFields.h"
#include "program/listmanager/RunState.h"

#include <QTest>

using namespace barlink::listmanager;

class TestListFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseRowFields_data();
    void parseRowFields();
    void nextRunState_data();
    void nextRunState();
    void runStateNames();
    void parseListText_data();
    void parseListText();
    void parseStoredList_data();
    void parseStoredList();
    void normalizeRow_data();
    void normalizeRow();
    void encodeRowIsLatin1WithCrLf();
    void fieldColumns_data();
    void fieldColumns();
};

// Fields written as "number=value" pairs joined by "|".
static QString describe(const QList<RowField> &fields)
{
    QStringList parts;
    for (const RowField &field : fields)
        parts.append(QString::number(field.number) + u'=' + field.value);
    return parts.join(u'|');
}

void TestListFormat::parseRowFields_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("fields");

    QTest::newRow("station row") << "#161=forpunte.CNC;#162=;#171=3;#284=0;#168=600;"
                                 << "161=forpunte.CNC|162=|171=3|284=0|168=600";
    QTest::newRow("value with ; and #") << "#161=a;b#c;#162=x;" << "161=a;b#c|162=x";
    QTest::newRow("field start inside value") << "#161=#162=x;" << "161=#162=x";
    QTest::newRow("no closing ;") << "#161=P;#170=20" << "161=P|170=20";
    QTest::newRow("text before first field") << "junk;#161=P;" << "161=P";
    QTest::newRow("plain text") << "PROG.CNC" << "";
    QTest::newRow("no digits") << "#abc=1;#161=P;" << "161=P";
    QTest::newRow("blank value kept") << "#282= ;" << "282= ";
    QTest::newRow("empty row") << "" << "";
    QTest::newRow("too many digits") << "#1234567890=x;" << "";
}

void TestListFormat::parseRowFields()
{
    QFETCH(QString, row);
    QFETCH(QString, fields);
    QCOMPARE(describe(barlink::listmanager::parseRowFields(row)), fields);
}

void TestListFormat::nextRunState_data()
{
    QTest::addColumn<RunState>("from");
    QTest::addColumn<RunCommand>("command");
    QTest::addColumn<RunState>("to");

    const RunState states[] = {RunState::Idle, RunState::Running, RunState::Held, RunState::Ended};
    const RunState afterHold[] = {RunState::Idle, RunState::Held, RunState::Held, RunState::Ended};
    const RunState afterEnd[] = {RunState::Idle, RunState::Ended, RunState::Ended, RunState::Ended};
    for (int i = 0; i < 4; ++i) {
        const QByteArray from = runStateName(states[i]).toLatin1();
        QTest::newRow(from + " start") << states[i] << RunCommand::Start << RunState::Running;
        QTest::newRow(from + " hold") << states[i] << RunCommand::Hold << afterHold[i];
        QTest::newRow(from + " end") << states[i] << RunCommand::End << afterEnd[i];
    }
}

void TestListFormat::nextRunState()
{
    QFETCH(RunState, from);
    QFETCH(RunCommand, command);
    QFETCH(RunState, to);
    QCOMPARE(barlink::listmanager::nextRunState(from, command), to);
}

void TestListFormat::runStateNames()
{
    for (RunState state : {RunState::Idle, RunState::Running, RunState::Held, RunState::Ended})
        QCOMPARE(runStateFromName(runStateName(state)), std::optional(state));
    QCOMPARE(runStateName(RunState::Held), QStringLiteral("held"));
    QCOMPARE(runStateCaption(RunState::Running), QStringLiteral("Running"));
    QVERIFY(!runStateFromName(QStringLiteral("Running")).has_value());
}

void TestListFormat::parseListText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("mixed, no final end") << QByteArray("a\r\nb\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("empty lines skipped") << QByteArray("\r\na\r\n\r\n\nb\r\n\r\n") << QStringList{"a", "b"};
    QTest::newRow("blank line is a row") << QByteArray(" \r\n") << QStringList{" "};
    QTest::newRow("latin-1") << QByteArray("caf\xe9\r\n") << QStringList{QStringLiteral(u"café")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestListFormat::parseListText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QCOMPARE(barlink::listmanager::parseListText(bytes), rows);
}

void TestListFormat::parseStoredList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("torn");

    QTest::newRow("complete") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << false;
    QTest::newRow("empty rows kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"} << false;
    QTest::newRow("torn row") << QByteArray("a\r\n#161=PR") << QStringList{"a"} << true;
    QTest::newRow("torn before LF") << QByteArray("a\r\nb\r") << QStringList{"a"} << true;
    QTest::newRow("empty") << QByteArray() << QStringList{} << false;
}

void TestListFormat::parseStoredList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(bool, torn);
    const StoredList stored = barlink::listmanager::parseStoredList(bytes);
    QCOMPARE(stored.rows, rows);
    QCOMPARE(stored.tornTail, torn);
}

void TestListFormat::normalizeRow_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("normalized");

    QTest::newRow("unchanged") << "#161=P;" << "#161=P;";
    QTest::newRow("line breaks") << "a\r\nb\nc" << "a  b c";
    QTest::newRow("outside latin-1") << QStringLiteral(u"x€y") << "x?y";
    QTest::newRow("latin-1 kept") << QStringLiteral(u"ñé") << QStringLiteral(u"ñé");
    QTest::newRow("overlong") << QString(maxRowLength + 5, u'x') << QString(maxRowLength, u'x');
}

void TestListFormat::normalizeRow()
{
    QFETCH(QString, row);
    QFETCH(QString, normalized);
    QCOMPARE(barlink::listmanager::normalizeRow(row), normalized);
}

void TestListFormat::encodeRowIsLatin1WithCrLf()
{
    QCOMPARE(encodeRow(QStringLiteral(u"#161=é;")), QByteArray("#161=\xe9;\r\n"));
    QCOMPARE(encodeRows({"a", ""}), QByteArray("a\r\n\r\n"));
}

void TestListFormat::fieldColumns_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QList<int>>("extras");

    QTest::newRow("standard only") << QStringList{"#161=P;#170=2;"} << QStringList{} << QList<int>{};
    QTest::newRow("extras in order met")
        << QStringList{"#161=P;#900=1;#300=2;", "#300=3;#400=4;#900=5;"} << QStringList{}
        << QList<int>{900, 300, 400};
    QTest::newRow("repeat within a row counts once")
        << QStringList{"#300=1;#300=2;", "#300=3;"} << QStringList{"#300=1;#300=2;"}
        << QList<int>{300};
    QTest::newRow("goes with its last row")
        << QStringList{"#300=1;#400=1;", "#300=2;"} << QStringList{"#300=1;#400=1;", "#300=2;"}
        << QList<int>{};
    QTest::newRow("stays while another row has it")
        << QStringList{"#300=1;#400=1;", "#400=2;"} << QStringList{"#300=1;#400=1;"}
        << QList<int>{400};
}

void TestListFormat::fieldColumns()
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
    columns.reset();
    QCOMPARE(columns.numbers(), standardFieldNumbers());
}

QTEST_GUILESS_MAIN(TestListFormat)
#include "tst_listformat.moc"
