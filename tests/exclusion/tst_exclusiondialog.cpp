// The exclusion dialog and the main window's exclusion line, driven by object name.

#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "exclusion/ExclusionChoice.h"
#include "exclusion/ExclusionDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

template<typename T> T *child(QWidget &window, const QString &name)
{
    auto *widget = window.findChild<T *>(name);
    if (!widget)
        qFatal("no control named %s", qPrintable(name));
    return widget;
}

QCheckBox *exCk(QWidget &dialog, int i)
{
    return child<QCheckBox>(dialog, QStringLiteral("ExCk_%1").arg(i));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A settings file with a key of another program, which a choice must leave as it is.
const QByteArray initialFile = "[GESTBCOD]\r\nCommPort=1\r\n";

} // namespace

class tst_ExclusionDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = {};
        m_settings.settingsFilePath = m_dir->filePath(QStringLiteral("KTQ.INI"));
        QFile file(m_settings.settingsFilePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(initialFile);
    }

    void layout()
    {
        app::MainWindow window;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, window);
        exclusion::ExclusionDialog dialog(choice, prompter);

        QCOMPARE(dialog.objectName(), QStringLiteral("ExInsForm"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Exclusion Insertion"));
        QCOMPARE(
            child<QLabel>(dialog, QStringLiteral("Label1"))->text(),
            QStringLiteral("Automatic insertion of an Exclusion number in the List Manager "
                           "upon scan of barcode.  Select desired Exclusion number to insert."));
        QCOMPARE(child<QPushButton>(dialog, QStringLiteral("BtnOK"))->text(), QStringLiteral("OK"));
        QCOMPARE(child<QPushButton>(dialog, QStringLiteral("BtnCan"))->text(),
                 QStringLiteral("Cancel"));
        dialog.show();
        for (int i = 1; i <= 8; ++i) {
            QCOMPARE(exCk(dialog, i)->text(), QString::number(i));
            QVERIFY(!exCk(dialog, i)->isChecked());
            // 1 at the left to 8 at the right.
            if (i > 1)
                QVERIFY(exCk(dialog, i)->x() > exCk(dialog, i - 1)->x());
        }
    }

    void okStoresTheChoice_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("caption");

        QTest::newRow("none") << QList<int>{} << "00000000"
                              << "";
        QTest::newRow("2, 5 and 7") << QList<int>{2, 5, 7} << "01001010"
                                    << " Exclusion Number 257  for insertion.";
        QTest::newRow("3 and 8") << QList<int>{8, 3} << "00100001"
                                 << " Exclusion Number 38  for insertion.";
        QTest::newRow("first only") << QList<int>{1} << "10000000"
                                    << " Exclusion Number 1  for insertion.";
        QTest::newRow("all") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << "11111111"
                             << " Exclusion Number 12345678  for insertion.";
    }

    void okStoresTheChoice()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(QString, mask);
        QFETCH(QString, caption);

        app::MainWindow window;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, window);
        // A caption from an earlier choice, which "none" must take away.
        window.setExclusionText(QStringLiteral(" Exclusion Number 4  for insertion."));

        exclusion::ExclusionDialog dialog(choice, prompter, &window);
        dialog.show();
        for (int i : chosen)
            QTest::mouseClick(exCk(dialog, i), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("BtnOK")), Qt::LeftButton);

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(choice.mask(), mask);
        QCOMPARE(app::readKey(m_settings, QStringLiteral("Exclusion")), mask);
        QCOMPARE(readAll(m_settings.settingsFilePath),
                 initialFile + "Exclusion=" + mask.toLatin1() + "\r\n");
        QCOMPARE(child<QLabel>(window, QStringLiteral("ExLab"))->text(), caption);
        QVERIFY(prompter.shown.isEmpty());
    }

    // The dialog opens with the last confirmed choice of this run; a new choice starts empty,
    // whatever the file holds.
    void reopening()
    {
        FakeDisplay display;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, display);
        {
            exclusion::ExclusionDialog dialog(choice, prompter);
            dialog.show();
            QTest::mouseClick(exCk(dialog, 4), Qt::LeftButton);
            QTest::mouseClick(exCk(dialog, 6), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("BtnOK")), Qt::LeftButton);
        }
        exclusion::ExclusionDialog again(choice, prompter);
        for (int i = 1; i <= 8; ++i)
            QCOMPARE(exCk(again, i)->isChecked(), i == 4 || i == 6);

        FakeDisplay nextRunDisplay;
        exclusion::ExclusionChoice nextRun(m_settings, nextRunDisplay);
        exclusion::ExclusionDialog fresh(nextRun, prompter);
        for (int i = 1; i <= 8; ++i)
            QVERIFY(!exCk(fresh, i)->isChecked());
        QVERIFY(nextRunDisplay.exclusion.isEmpty());
        QCOMPARE(app::readKey(m_settings, QStringLiteral("Exclusion")), QStringLiteral("00010100"));
    }

    void cancelChangesNothing()
    {
        FakeDisplay display;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, display);
        choice.choose({true, false, false, false, false, false, false, false});
        const QByteArray before = readAll(m_settings.settingsFilePath);

        exclusion::ExclusionDialog dialog(choice, prompter);
        dialog.show();
        QTest::mouseClick(exCk(dialog, 1), Qt::LeftButton);
        QTest::mouseClick(exCk(dialog, 2), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("BtnCan")), Qt::LeftButton);

        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(choice.mask(), QStringLiteral("10000000"));
        QCOMPARE(display.exclusion, QStringLiteral(" Exclusion Number 1  for insertion."));
        QCOMPARE(readAll(m_settings.settingsFilePath), before);
    }

    // A settings file that cannot be written: the operator is told, and nothing changes.
    void unwritableFile()
    {
        // A file where the settings folder would have to be.
        QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_settings.settingsFilePath = m_dir->filePath(QStringLiteral("blocker/KTQ.INI"));
        FakeDisplay display;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, display);
        exclusion::ExclusionDialog dialog(choice, prompter);
        dialog.show();
        QTest::mouseClick(exCk(dialog, 5), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("BtnOK")), Qt::LeftButton);

        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(prompter.shown.first().text.startsWith(QStringLiteral("Unexpected error #")));
        QVERIFY(dialog.isVisible());
        QVERIFY(choice.mask().isEmpty());
        QVERIFY(display.exclusion.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    app::Settings m_settings;
};

QTEST_MAIN(tst_ExclusionDialog)
#include "tst_exclusiondialog.moc"
