// The exclusion dialog and the main window's exclusion line, driven by object name.

#include "../text/Tables.h"
#include "Fakes.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "base/Settings.h"
#include "exclusion/ExclusionChoice.h"
#include "exclusion/ExclusionDialog.h"
#include "settings/SettingsFile.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// A settings file with a key of another program, which a choice must leave as it is.
const QByteArray initialFile = "[GESTBCOD]\r\nCommPort=1\r\n";

// Ticks the numbered boxes, then clicks the button.
void answer(QWidget &dialog, const QList<int> &boxes, const char *button)
{
    for (int i : boxes)
        QTest::mouseClick(child<QCheckBox>(dialog, QStringLiteral("ExCk_%1").arg(i)),
                          Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

// The numbers of the ticked boxes.
QList<int> ticked(QWidget &dialog)
{
    QList<int> numbers;
    for (int i = 1; i <= 8; ++i) {
        if (child<QCheckBox>(dialog, QStringLiteral("ExCk_%1").arg(i))->isChecked())
            numbers << i;
    }
    return numbers;
}

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
        QVERIFY(writeBytes(m_settings.settingsFilePath, initialFile));
    }

    void okStoresTheChoice_data()
    {
        columns<QList<int>, QString, QString>({"chosen", "mask", "caption"});
        // clang-format off
        QTest::newRow("none")       << QList<int>{}        << "00000000" << "";
        QTest::newRow("2, 5 and 7") << QList<int>{2, 5, 7} << "01001010" << " Exclusion Number 257  for insertion.";
        QTest::newRow("8 then 3")   << QList<int>{8, 3}    << "00100001" << " Exclusion Number 38  for insertion.";
        // clang-format on
    }
    void okStoresTheChoice()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(QString, mask);
        app::MainWindow window;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, window);
        // A caption from an earlier choice, which "none" must take away.
        window.setExclusionText(QStringLiteral(" Exclusion Number 4  for insertion."));
        exclusion::ExclusionDialog dialog(choice, prompter, &window);
        dialog.show();
        QCOMPARE(ticked(dialog), QList<int>{});
        answer(dialog, chosen, "BtnOK");

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(choice.mask(), mask);
        QCOMPARE(readBytes(m_settings.settingsFilePath),
                 initialFile + "Exclusion=" + mask.toLatin1() + "\r\n");
        QTEST(child<QLabel>(window, "ExLab")->text(), "caption");
        QVERIFY(prompter.shown.isEmpty());
    }

    // The dialog opens with the last confirmed choice of this run, which Cancel keeps; a new
    // run starts empty, whatever the file holds.
    void reopeningAndCancel()
    {
        FakeDisplay display;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, display);
        {
            exclusion::ExclusionDialog dialog(choice, prompter);
            dialog.show();
            answer(dialog, {4, 6}, "BtnOK");
        }
        const QByteArray stored = readBytes(m_settings.settingsFilePath);
        exclusion::ExclusionDialog again(choice, prompter);
        again.show();
        QCOMPARE(ticked(again), (QList<int>{4, 6}));
        answer(again, {1, 2}, "BtnCan");
        QCOMPARE(again.result(), int(QDialog::Rejected));
        QCOMPARE(choice.mask(), QStringLiteral("00010100"));
        QCOMPARE(display.exclusion, QStringLiteral(" Exclusion Number 46  for insertion."));
        QCOMPARE(readBytes(m_settings.settingsFilePath), stored);

        FakeDisplay nextRunDisplay;
        exclusion::ExclusionChoice nextRun(m_settings, nextRunDisplay);
        exclusion::ExclusionDialog fresh(nextRun, prompter);
        QCOMPARE(ticked(fresh), QList<int>{});
        QVERIFY(nextRunDisplay.exclusion.isEmpty());
        QCOMPARE(settings::readKey(m_settings, QStringLiteral("Exclusion")),
                 QStringLiteral("00010100"));
    }

    // A settings file that cannot be written: the operator is told, and nothing changes.
    void unwritableFile()
    {
        QVERIFY(
            writeBytes(m_dir->filePath(QStringLiteral("blocker")), "")); // where a folder should be
        m_settings.settingsFilePath = m_dir->filePath(QStringLiteral("blocker/KTQ.INI"));
        FakeDisplay display;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(m_settings, display);
        exclusion::ExclusionDialog dialog(choice, prompter);
        dialog.show();
        answer(dialog, {5}, "BtnOK");

        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(prompter.shown.first().text.startsWith(QStringLiteral("Unexpected error #")));
        QVERIFY(dialog.isVisible());
        QVERIFY(choice.mask().isEmpty());
        QVERIFY(display.exclusion.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    base::Settings m_settings;
};

QTEST_MAIN(tst_ExclusionDialog)
#include "tst_exclusiondialog.moc"
