#include "TestSupport.h"
#include "base/Error.h"
#include "base/Settings.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/AutoSelSettingsFile.h"
#include "fieldsel/AutoSelSettingsProvider.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::fieldsel;

namespace {

// Every value of the model as name -> text, for tables that name only what they check.
QHash<QString, QString> describe(const AutoSelSettings &m)
{
    using S = TriggerSource;
    using A = MirrorAction;
    QHash<QString, QString> d;
    for (FieldSlot slot : AllFieldSlots) {
        d[QStringLiteral("code.") + slotKey(slot)] = m.code(slot);
        d[QStringLiteral("flag.") + slotKey(slot)] = QString::number(m.enableFlag(slot));
    }
    const QList<std::tuple<const char *, S, A>> sets
        = {{"PNameMirror", S::ProgramName, A::Mirror},
           {"PNameNandM", S::ProgramName, A::NormAndMirror},
           {"CommentMirror", S::Comment, A::Mirror},
           {"CommentNandM", S::Comment, A::NormAndMirror}};
    for (const auto &[name, source, action] : sets) {
        const TriggerSet set = m.triggerSet(source, action);
        d[QStringLiteral("set.") + QLatin1String(name)]
            = QStringLiteral("%1/%2/%3").arg(set.alignment).arg(set.position).arg(set.text);
    }
    const char *sources[] = {"ProgramName", "Comment", "Barcode"};
    d.insert({{"dfn", m.defaultField()},
              {"halfX", m.halfLimitX()},
              {"halfY", m.halfLimitY()},
              {"source", sources[int(m.source())]},
              {"action", m.action() == A::Mirror ? "Mirror" : "NormAndMirror"},
              {"text", m.triggerText()},
              {"pos", QString::number(m.triggerPosition())},
              {"left", QString::number(int(m.fromLeft()))},
              {"max", QString::number(m.positionMaximum())},
              {"pNameMSel", QString::number(m.pNameMSel())},
              {"commentMSel", QString::number(m.commentMSel())},
              {"display", m.display().text},
              {"enabled", QString::number(int(m.display().enabled))}});
    return d;
}

// expected: "name=value" items separated by "; ".
void checkValues(const AutoSelSettings &model, const QString &expected)
{
    const QHash<QString, QString> values = describe(model);
    for (const QString &item : expected.split(QStringLiteral("; "))) {
        const QString name = item.section(QLatin1Char('='), 0, 0);
        QVERIFY2(values.contains(name), qPrintable(name));
        QCOMPARE(name + QLatin1Char('=') + values.value(name), item);
    }
}

// A settings file in a temporary folder.
struct SettingsFile
{
    QTemporaryDir dir;
    base::Settings settings;

    SettingsFile() { settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI")); }
    void write(const QString &keys)
    {
        QVERIFY(testing::writeBytes(settings.settingsFilePath,
                                    "[GESTBCOD]\r\n" + keys.toLatin1() + "\r\n"));
    }
};

} // namespace

class tst_AutoSelSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void load_data()
    {
        QTest::addColumn<QString>("keys"); // lines of the settings section
        QTest::addColumn<QString>("expected");

        // clang-format off
        QTest::newRow("no keys") << ""
            << "code.FFS=; code.SFN=; flag.FFS=0; dfn=; halfX=; source=Barcode; action=Mirror; "
               "text=; pos=1; left=1; max=13; set.PNameMirror=0/0/; enabled=0";
        // A text is cut at a NUL and after 79 characters; the missing-key marker reads as
        // missing, and only when alone.
        QTest::newRow("texts as stored")
            << "FieldCode_FFS=ab\nFieldCode_DFN=n1\nHalfLimitX=1000 mm\nPNameMirrorText=END.-\n"
               "FieldCode_BFS=END.-1\nFieldCode_FFT=" + QString(100, 'x')
               + QStringLiteral("\nFieldCode_SFT=ab\0cd")
            << "code.FFS=ab; dfn=n1; halfX=1000 mm; set.PNameMirror=0/0/; code.BFS=END.-1; "
               "code.FFT=" + QString(79, 'x') + "; code.SFT=ab";
        QTest::newRow("flags rounded half to even")
            << "FieldFlag_FFS= 1\nFieldFlag_BFS=2.5\nFieldFlag_SFS=1.5\nFieldFlag_SFA=0.5\n"
               "FieldFlag_FFT=x1\nFieldFlag_FFA=-1\nFieldFlag_SFN=99999"
            << "flag.FFS=1; flag.BFS=2; flag.SFS=2; flag.SFA=0; flag.FFT=0; flag.FFA=-1; "
               "flag.SFN=0";
        QTest::newRow("program name, mirror")
            << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorLR=-1\nPNameMirrorCPos=5\n"
               "PNameMirrorText=X1\nPNameNandMText=zz"
            << "source=ProgramName; action=Mirror; left=1; pos=5; text=X1; max=11; enabled=1; "
               "display=????X1??????";
        QTest::newRow("program name, norm and mirror, alignment 1")
            << "AutoSelSetting=1\nPNameNandMLR=1\nPNameNandMCPos=3\nPNameNandMText=ab"
            << "action=NormAndMirror; left=0; pos=3; text=ab";
        QTest::newRow("comment keeps a position past 13")
            << "AutoSelSetting=2\nCommentMSel=1\nCommentMirrorCPos=20\nCommentMirrorText=X"
            << "source=Comment; action=Mirror; pos=20; max=25";
        QTest::newRow("comment reads its own MSel")
            << "AutoSelSetting= 2.0x\nPNameMSel=1" << "source=Comment; action=NormAndMirror";
        QTest::newRow("position 0 raised to 1, also in the set")
            << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorCPos=0" << "pos=1; set.PNameMirror=0/1/";
        QTest::newRow("position lowered to the maximum before the text")
            << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorCPos=40\nPNameMirrorText=AB"
            << "pos=11; max=11; set.PNameMirror=0/13/AB";
        QTest::newRow("barcode: sets loaded, live trigger untouched")
            << "AutoSelSetting=3\nCommentNandMLR=-1\nCommentNandMCPos=7\nCommentNandMText=Q"
            << "source=Barcode; text=; pos=1; enabled=0; set.CommentNandM=-1/7/Q";
        QTest::newRow("other source values change nothing")
            << "AutoSelSetting=1.5\nPNameMSel=0" << "source=Barcode; action=Mirror";
        // clang-format on
    }

    void load()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);

        SettingsFile file;
        if (!keys.isEmpty())
            file.write(keys);
        AutoSelSettings model;
        loadAutoSelSettings(model, file.settings);
        checkValues(model, expected);
    }

    void providerLoadsOnceAndRetriesAfterFailure()
    {
        SettingsFile file;
        file.write("FieldFlag_FFS=40000");
        AutoSelSettingsProvider provider(file.settings);
        QCOMPARE(testing::errorNumber([&] { (void)provider.settings(); }), int(Error::Overflow));
        QVERIFY(!provider.isLoaded());

        file.write("FieldFlag_FFS=1");
        AutoSelSettings &first = provider.settings();
        QCOMPARE(first.enableFlag(FieldSlot::FFS), qint16(1));
        file.write("FieldFlag_FFS=0");
        QCOMPARE(&provider.settings(), &first);
        QCOMPARE(provider.settings().enableFlag(FieldSlot::FFS), qint16(1));
    }

    // The key formats are pinned by the dialog's OK; here every value, the live trigger included
    // (it is stored into its set on saving), comes back on loading.
    void saveLoadsBack()
    {
        SettingsFile file;
        AutoSelSettings model;
        loadAutoSelSettings(model, file.settings);
        model.setCode(FieldSlot::FFS, QStringLiteral("ab"));
        model.setEnableFlag(FieldSlot::FFS, 1);
        model.setEnableFlag(FieldSlot::BFS, 2);
        model.setDefaultField(QStringLiteral("n"));
        model.setHalfLimitX(QStringLiteral("12 mm"));
        model.setTriggerSet(TriggerSource::ProgramName, MirrorAction::NormAndMirror, {-1, 7, "q"});
        model.setSource(TriggerSource::Comment);
        model.setAction(MirrorAction::Mirror);
        model.placeText();
        model.setTriggerText(QStringLiteral("mir"));
        model.setTriggerPosition(18);
        model.setFromLeft(false);
        saveAutoSelSettings(model, file.settings);
        QCOMPARE(model.code(FieldSlot::FFS), QStringLiteral("ab")); // only the file gets upper case
        model.setCode(FieldSlot::FFS, QStringLiteral("AB"));
        model.setDefaultField(QStringLiteral("N"));
        AutoSelSettings loaded;
        loadAutoSelSettings(loaded, file.settings);
        QCOMPARE(describe(loaded), describe(model));
    }

    void switchSource_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("fromText");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("storedPosition");
        QTest::addColumn<QString>("expected");

        const int name = int(TriggerSource::ProgramName);
        const int comment = int(TriggerSource::Comment);
        // clang-format off
        QTest::newRow("name to comment: held to the old maximum") << name << "" << comment << 20
            << "pos=13; max=25; text=X; set.CommentMirror=-1/13/X; set.PNameMirror=-1/1/";
        QTest::newRow("comment to name: old text narrows the maximum first")
            << comment << "AB" << name << 12
            << "pos=11; max=12; set.PNameMirror=-1/12/X; set.CommentMirror=-1/1/AB";
        QTest::newRow("to barcode: live trigger stays")
            << name << "AB" << int(TriggerSource::Barcode) << 5
            << "text=AB; max=11; enabled=0";
        // clang-format on
    }

    void switchSource()
    {
        QFETCH(int, from);
        QFETCH(QString, fromText);
        QFETCH(int, to);
        QFETCH(int, storedPosition);
        QFETCH(QString, expected);

        AutoSelSettings model;
        model.setSource(TriggerSource(from));
        model.placeText();
        model.setTriggerText(fromText);
        model.setTriggerSet(TriggerSource(to),
                            MirrorAction::Mirror,
                            {-1, qint16(storedPosition), QStringLiteral("X")});
        // Mouse press on the new option, then its click.
        model.getAutoSel();
        model.setSource(TriggerSource(to));
        model.setAutoSel();
        model.placeText();
        checkValues(model, expected);
    }
};

QTEST_GUILESS_MAIN(tst_AutoSelSettings)
#include "tst_autoselsettings.moc"
