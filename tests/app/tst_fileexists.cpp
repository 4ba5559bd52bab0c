#include "Fakes.h"
#include "base/Error.h"
#include "base/FileExists.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using barlink::Error;
using namespace barlink;
using namespace barlink::base;
using barlink::testing::ScriptedPrompter;
using P = base::Prompter::Answer;

namespace {

// "true", "false" or "error N" for what fileExists did.
QString
outcome(const QString &path, base::Prompter &prompter, const base::PathQuery &query = queryPath)
{
    try {
        return fileExists(path, prompter, query) ? QStringLiteral("true") : QStringLiteral("false");
    } catch (const Error &error) {
        return QStringLiteral("error %1").arg(error.number());
    }
}

} // namespace

class TestFileExists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realEntries_data()
    {
        QTest::addColumn<QString>("path"); // under the test folder unless absolute
        QTest::addColumn<QString>("expected");
        // clang-format off
        const auto row = [](const char *name, const char *path, const char *expected) { QTest::newRow(name) << QString::fromLatin1(path) << QString::fromLatin1(expected); };
        row("normal file", "KTQ.INI", "true");  row("file in a hidden folder", ".config/KTQ.INI", "true");
        row("folder", ".config", "false");      row("hidden file", ".hidden", "false");     row("fifo", "fifo", "false");
        row("device", "/dev/null", "false");    row("missing", "nofolder/KTQ.INI", "false"); row("under a file", "KTQ.INI/x", "false");
        row("symlink loop", "loop/KTQ.INI", "error 52");
        // clang-format on
    }
    void realEntries()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QDir root(dir.path());
        QVERIFY(root.mkpath(QStringLiteral(".config")));
        for (const char *name : {"KTQ.INI", ".hidden", ".config/KTQ.INI"})
            QVERIFY(QFile(root.filePath(QLatin1String(name))).open(QIODevice::WriteOnly));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(root.filePath(QStringLiteral("fifo"))).constData(), 0600),
            0);
        QVERIFY(QFile::link(root.filePath(QStringLiteral("loop")),
                            root.filePath(QStringLiteral("loop"))));

        ScriptedPrompter prompter;
        QTEST(outcome(root.filePath(path), prompter), "expected");
        QVERIFY(prompter.shown.isEmpty());
    }

    // Each row scripts what the file system says in turn (errno; 0 finds the file) and the
    // operator's answers; the texts are those of the boxes shown.
    void scriptedFailures_data()
    {
        QTest::addColumn<QList<int>>("results");
        QTest::addColumn<QList<P>>("answers");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("asked");
        const QString unformatted = QStringLiteral("Unformatted Disk");
        const QString insert = QStringLiteral("Insert Disk");
        using E = QList<int>;
        // clang-format off
        QTest::newRow("unformatted, retry finds it") << E{EIO, 0} << QList<P>{P::Retry} << "true" << QStringList{unformatted};
        QTest::newRow("unformatted, cancel")         << E{EIO} << QList<P>{P::Cancel} << "false" << QStringList{unformatted};
        QTest::newRow("insert disk twice, missing")  << E{ENOMEDIUM, ENOMEDIUM, ENOENT} << QList<P>{P::Ok, P::Ok} << "false" << QStringList{insert, insert};
        QTest::newRow("insert disk, cancel")         << E{ENOMEDIUM} << QList<P>{P::Cancel} << "false" << QStringList{insert};
        QTest::newRow("retry into another failure")  << E{EIO, ENOMEDIUM, 0} << QList<P>{P::Retry, P::Ok} << "true" << QStringList{unformatted, insert};
        // Errors that ask nothing: the file is not there, or an error is thrown.
        const auto quiet = [](const char *name, int systemError, const char *expected) { QTest::newRow(name) << E{systemError} << QList<P>{} << QString::fromLatin1(expected) << QStringList{}; };
        quiet("device gone", ENODEV, "false");       quiet("no such device", ENXIO, "false");   quiet("path not found", ENOTDIR, "false");
        quiet("permission", EACCES, "error 70");     quiet("name too long", ENAMETOOLONG, "error 52"); quiet("anything else", EBUSY, "error 75");
        // clang-format on
    }
    void scriptedFailures()
    {
        QFETCH(QList<int>, results);
        QFETCH(QList<P>, answers);
        ScriptedPrompter prompter;
        prompter.answers.append(answers);
        int made = 0;
        const auto query = [&](const QString &) {
            const int systemError = results.value(made++, ENOENT);
            return systemError == 0
                       ? base::PathStatus{base::PathStatus::Answer::NormalFile, 0, QString()}
                       : statusFromErrno(systemError);
        };
        QTEST(outcome(QStringLiteral("/media/usb/KTQ.INI"), prompter, query), "expected");
        QTEST(prompter.texts(), "asked");
        QCOMPARE(made, results.size());
        for (const auto &shown : std::as_const(prompter.shown)) {
            QCOMPARE(shown.icon, base::Prompter::Icon::Question);
            QCOMPARE(shown.buttons,
                     shown.text == QLatin1String("Insert Disk")
                         ? base::Prompter::Buttons::OkCancel
                         : base::Prompter::Buttons::RetryCancel);
        }
    }
};

QTEST_GUILESS_MAIN(TestFileExists)
#include "tst_fileexists.moc"
