#include "app/Error.h"
#include "app/FileExists.h"
#include "app/Prompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using barlink::Error;
using namespace barlink::app;

namespace {

// Answers prompts from a script (Cancel when it runs out) and records them as "buttons/text";
// every prompt must carry the question icon.
class ScriptedPrompter : public Prompter
{
public:
    QList<Answer> answers;
    QStringList asked;

    Answer ask(Icon icon, Buttons buttons, const QString &text) override
    {
        asked << QStringLiteral("%1/%2").arg(int(buttons)).arg(text);
        if (icon != Icon::Question)
            asked << QStringLiteral("wrong icon");
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
};

// "true", "false" or "error N" for what fileExists did.
QString outcome(const QString &path, Prompter &prompter, const PathQuery &query = queryPath)
{
    try {
        return fileExists(path, prompter, query) ? QStringLiteral("true") : QStringLiteral("false");
    } catch (const Error &error) {
        return QStringLiteral("error %1").arg(error.number());
    }
}

const QString Unformatted
    = QStringLiteral("%1/Unformatted Disk").arg(int(Prompter::Buttons::RetryCancel));
const QString InsertDisk = QStringLiteral("%1/Insert Disk").arg(int(Prompter::Buttons::OkCancel));

} // namespace

class TestFileExists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realEntries_data();
    void realEntries();
    void scriptedFailures_data();
    void scriptedFailures();
};

void TestFileExists::realEntries_data()
{
    QTest::addColumn<QString>("path"); // under the test folder unless absolute
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const char *path, const char *expected) {
        QTest::newRow(name) << QString::fromLatin1(path) << QString::fromLatin1(expected);
    };
    row("normal file", "KTQ.INI", "true");
    row("file in a hidden folder", ".config/KTQ.INI", "true");
    row("folder", ".config", "false");
    row("hidden file", ".hidden", "false");
    row("fifo", "fifo", "false");
    row("device", "/dev/null", "false");
    row("missing", "nothing.ini", "false");
    row("missing folder", "nofolder/KTQ.INI", "false");
    row("under a file", "KTQ.INI/x", "false");
    row("symlink loop", "loop/KTQ.INI", "error 52");
}

void TestFileExists::realEntries()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath(QStringLiteral(".config")));
    for (const char *name : {"KTQ.INI", ".hidden", ".config/KTQ.INI"}) {
        QFile file(root.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(::mkfifo(QFile::encodeName(root.filePath(QStringLiteral("fifo"))).constData(), 0600),
             0);
    QVERIFY(
        QFile::link(root.filePath(QStringLiteral("loop")), root.filePath(QStringLiteral("loop"))));

    ScriptedPrompter prompter;
    QCOMPARE(outcome(QDir::isAbsolutePath(path) ? path : root.filePath(path), prompter), expected);
    QCOMPARE(prompter.asked, QStringList());
}

void TestFileExists::scriptedFailures_data()
{
    QTest::addColumn<QList<int>>("results"); // errno of each query in turn; 0 finds the file
    QTest::addColumn<QList<Prompter::Answer>>("answers");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("asked");

    using P = Prompter::Answer;
    QTest::newRow("unformatted, retry finds the file")
        << QList<int>{EIO, 0} << QList<P>{P::Retry} << QStringLiteral("true")
        << QStringList{Unformatted};
    QTest::newRow("unformatted, cancel") << QList<int>{EIO} << QList<P>{P::Cancel}
                                         << QStringLiteral("false") << QStringList{Unformatted};
    QTest::newRow("insert disk twice, then missing")
        << QList<int>{ENOMEDIUM, ENOMEDIUM, ENOENT} << QList<P>{P::Ok, P::Ok} << "false"
        << QStringList{InsertDisk, InsertDisk};
    QTest::newRow("insert disk, cancel") << QList<int>{ENOMEDIUM} << QList<P>{P::Cancel}
                                         << QStringLiteral("false") << QStringList{InsertDisk};
    QTest::newRow("retry into another failure")
        << QList<int>{EIO, ENOMEDIUM, 0} << QList<P>{P::Retry, P::Ok} << "true"
        << QStringList{Unformatted, InsertDisk};
    QTest::newRow("device gone") << QList<int>{ENODEV} << QList<P>{} << QStringLiteral("false")
                                 << QStringList();
    QTest::newRow("no such device")
        << QList<int>{ENXIO} << QList<P>{} << QStringLiteral("false") << QStringList();
    QTest::newRow("path not found")
        << QList<int>{ENOTDIR} << QList<P>{} << QStringLiteral("false") << QStringList();
    QTest::newRow("permission") << QList<int>{EACCES} << QList<P>{} << QStringLiteral("error 70")
                                << QStringList();
    QTest::newRow("name too long")
        << QList<int>{ENAMETOOLONG} << QList<P>{} << QStringLiteral("error 52") << QStringList();
    QTest::newRow("anything else")
        << QList<int>{EBUSY} << QList<P>{} << QStringLiteral("error 75") << QStringList();
}

void TestFileExists::scriptedFailures()
{
    QFETCH(QList<int>, results);
    QFETCH(QList<Prompter::Answer>, answers);
    QFETCH(QString, expected);
    QFETCH(QStringList, asked);

    ScriptedPrompter prompter;
    prompter.answers = answers;
    int made = 0;
    const auto query = [&](const QString &) {
        const int systemError = results.value(made++, ENOENT);
        return systemError == 0 ? PathStatus{PathStatus::Answer::NormalFile, 0, QString()}
                                : statusFromErrno(systemError);
    };
    QCOMPARE(outcome(QStringLiteral("/media/usb/KTQ.INI"), prompter, query), expected);
    QCOMPARE(prompter.asked, asked);
    QCOMPARE(made, results.size());
}

QTEST_GUILESS_MAIN(TestFileExists)
#include "tst_fileexists.moc"
