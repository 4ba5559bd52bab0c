// The committed inputs of one fuzzing harness, replayed: the examples it starts from and the
// inputs that once broke one of its checks. The harness checks what must hold after each
// input and aborts the run when something does not, so a failing input shows as a crash of
// the row that carries its file name.

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

class tst_FuzzCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void corpusIsThere()
    {
        QVERIFY2(!QDir(QStringLiteral(BARLINK_FUZZ_CORPUS)).entryList(QDir::Files).isEmpty(),
                 BARLINK_FUZZ_CORPUS);
    }

    void replay_data()
    {
        QTest::addColumn<QByteArray>("input");
        const QDir corpus(QStringLiteral(BARLINK_FUZZ_CORPUS));
        for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
            QFile file(corpus.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                QTest::newRow(qPrintable(name)) << file.readAll();
        }
    }

    void replay()
    {
        QFETCH(QByteArray, input);
        // Names the input in the log before a failing check ends the run.
        qInfo("%s", QTest::currentDataTag());
        // What the harness returns only steers the fuzzer; its checks abort on a fault.
        (void)LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.constData()),
                                     std::size_t(input.size()));
    }
};

QTEST_GUILESS_MAIN(tst_FuzzCorpus)
#include "tst_fuzzcorpus.moc"
