// The field selection setup dialog (MacFlds), driven by object name: load, OK, Cancel, Set
// All / Clear All, the mirror trigger display and the mouse order of storing and loading
// trigger sets.

#include "app/Settings.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/AutoSelSettingsFile.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "fieldsel/FieldSelector.h"
#include "fieldsel/TablePlanWidget.h"
#include "label/CurrentItem.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::fieldsel;

namespace {

// A settings file in a temporary folder, the model loaded from it, and the dialog on it.
struct Station
{
    QTemporaryDir dir;
    app::Settings settings;
    label::CurrentItem item;
    std::unique_ptr<AutoSelSettingsProvider> provider;
    std::unique_ptr<FieldSelectionDialog> dialog;

    // keys: lines of the settings section, separated by "\n"; none: no file at all.
    explicit Station(const QString &keys = QString())
    {
        settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        if (!keys.isNull()) {
            QFile file(settings.settingsFilePath);
            if (file.open(QIODevice::WriteOnly))
                file.write("[GESTBCOD]\r\n" + keys.toLatin1().replace('\n', "\r\n") + "\r\n");
        }
        item.lastProgramName = QStringLiteral("DOOR_LEFT.CNC");
        item.lastProgramComment = QStringLiteral("LEFT DOOR PANEL");
        provider = std::make_unique<AutoSelSettingsProvider>(settings);
        dialog = std::make_unique<FieldSelectionDialog>(provider->settings(), settings, item);
        dialog->show();
    }
    AutoSelSettings &model() { return provider->settings(); }
    QByteArray file() const
    {
        QFile file(settings.settingsFilePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template<typename T = QWidget> T *get(const QString &name)
    {
        auto *widget = dialog->objectName() == name ? qobject_cast<T *>(dialog.get())
                                                    : dialog->findChild<T *>(name);
        if (!widget)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }

    // "name" gives a control's value, "name.visible" and "name.enabled" its state.
    QString value(const QString &item)
    {
        const QString name = item.section(QLatin1Char('.'), 0, 0);
        const QString aspect = item.section(QLatin1Char('.'), 1);
        QWidget *w = get(name);
        if (aspect == QLatin1String("visible"))
            return QString::number(int(w->isVisible()));
        if (aspect == QLatin1String("enabled"))
            return QString::number(int(w->isEnabled()));
        if (aspect == QLatin1String("max"))
            return QString::number(qobject_cast<QScrollBar *>(w)->maximum());
        if (auto *box = qobject_cast<QCheckBox *>(w))
            return QString::number(
                box->checkState() == Qt::PartiallyChecked ? 2 : int(box->isChecked()));
        if (auto *option = qobject_cast<QRadioButton *>(w))
            return QString::number(int(option->isChecked()));
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text();
        if (auto *bar = qobject_cast<QScrollBar *>(w))
            return QString::number(bar->value());
        if (auto *label = qobject_cast<QLabel *>(w))
            return label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            return button->text() + QLatin1Char('|') + button->toolTip();
        if (auto *group = qobject_cast<QGroupBox *>(w))
            return group->title();
        return w->windowTitle();
    }
    void showTabOf(QWidget *control)
    {
        auto *tabs = get<QTabWidget>(QStringLiteral("SSTab"));
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control))
                tabs->setCurrentIndex(i);
    }
    // expected: "name=value" items separated by "; ".
    void check(const QString &expected)
    {
        for (const QString &item : expected.split(QStringLiteral("; "))) {
            const QString name = item.section(QLatin1Char('='), 0, 0);
            QCOMPARE(name + QLatin1Char('=') + value(name), item);
        }
    }

    // Actions separated by "; ": "NAME<text" types text into an emptied box, "!NAME" clicks
    // with the mouse, "NAME@n" moves a scroll bar, "tab=n" chooses a tab.
    // The control's own tab is made current first, as a user would.
    void act(const QString &actions)
    {
        for (const QString &action : actions.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
            const QString name = action.section(QRegularExpression(QStringLiteral("[<@]")), 0, 0)
                                     .remove(QLatin1Char('!'));
            if (!action.startsWith(QLatin1String("tab=")))
                showTabOf(get(name));
            if (action.startsWith(QLatin1Char('!'))) {
                // Near the left edge: an option takes clicks on its indicator and caption only.
                QWidget *control = get(name);
                QTest::mouseClick(control,
                                  Qt::LeftButton,
                                  {},
                                  QPoint(std::min(8, control->width() / 2), control->height() / 2));
            } else if (action.contains(QLatin1Char('<'))) {
                auto *edit = get<QLineEdit>(action.section(QLatin1Char('<'), 0, 0));
                edit->clear();
                QTest::keyClicks(edit, action.section(QLatin1Char('<'), 1));
            } else if (action.contains(QLatin1Char('@'))) {
                get<QScrollBar>(action.section(QLatin1Char('@'), 0, 0))
                    ->setValue(action.section(QLatin1Char('@'), 1).toInt());
            } else if (action.startsWith(QLatin1String("tab="))) {
                get<QTabWidget>(QStringLiteral("SSTab"))->setCurrentIndex(action.mid(4).toInt());
            }
        }
    }
};

const QString AllFlagKeys
    = QStringLiteral("SFS SFA SFT SFR BFN BFM FFN FFM BFS BFA BFT BFR FFS FFA FFT FFR");

} // namespace

class tst_FieldSelectionDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsAndTooltips()
    {
        Station station;
        station.check(QStringLiteral(
            "MacFlds=Automatic Field Selection Setup; "
            "BtnOK=OK|Exit and keep changes; BtnCan=Cancel|Exit and loose changes; "
            "BtnCA=Clear All|Disable all fields on this tab; "
            "BtnSA=Set All|Enable all fields on this tab; "
            "MBC=1; MCmt=0; MPName=0; MSel=1; NMSel=0; OptAlnL=1; "
            "fraMirror=Mirror; fraProduce=On Match Produce: ; "
            "FrameTSet=Set Characters to Trigger Mirror ; fraDefaultField=Default Field; "
            "LabDispStr=????????????????????????"));
        auto *tabs = station.get<QTabWidget>(QStringLiteral("SSTab"));
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions.join(QLatin1Char('|')),
                 QStringLiteral("Auto Field Select|Standard Fields|Front and Back|Field Limits"));
        const QStringList radioCaptions = {QStringLiteral("MBC=Barcode"),
                                           QStringLiteral("MCmt=Comment"),
                                           QStringLiteral("MPName=Program Name"),
                                           QStringLiteral("MSel=Mirror"),
                                           QStringLiteral("NMSel=Norm and Mirror")};
        for (const QString &caption : radioCaptions) {
            const QString name = caption.section(QLatin1Char('='), 0, 0);
            QCOMPARE(name + QLatin1Char('=') + station.get<QRadioButton>(name)->text(), caption);
        }
    }

    void typingIsLimitedAndEditsTheModel_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("held");

        // clang-format off
        QTest::newRow("front S takes 5")   << "FFS" << "abcdefg" << "abcde";
        QTest::newRow("front R takes 5")   << "FFR" << "abcdefg" << "abcde";
        QTest::newRow("back S takes 3")    << "BFS" << "abcdefg" << "abc";
        QTest::newRow("standard N takes 3") << "SFN" << "abcdefg" << "abc";
        QTest::newRow("front N takes 3")   << "FFN" << "abcdefg" << "abc";
        QTest::newRow("default field 3")   << "DFN" << "n1xy" << "n1x";
        QTest::newRow("half limit free")   << "HlfLimX" << "1000 mm or so" << "1000 mm or so";
        QTest::newRow("trigger free")      << "MSpec" << "ABCDEFGHIJKLMNOP" << "ABCDEFGHIJKLMNOP";
        // clang-format on
    }

    void typingIsLimitedAndEditsTheModel()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, held);

        Station station(QStringLiteral("AutoSelSetting=1"));
        station.act(box + QLatin1Char('<') + typed);
        QCOMPARE(station.value(box), held);
        const AutoSelSettings &m = station.model();
        const QHash<QString, QString> model = {{"FFS", m.code(FieldSlot::FFS)},
                                               {"FFR", m.code(FieldSlot::FFR)},
                                               {"BFS", m.code(FieldSlot::BFS)},
                                               {"SFN", m.code(FieldSlot::SFN)},
                                               {"FFN", m.code(FieldSlot::FFN)},
                                               {"DFN", m.defaultField()},
                                               {"HlfLimX", m.halfLimitX()},
                                               {"MSpec", m.triggerText()}};
        QCOMPARE(model.value(box), held);
    }

    void load_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");

        // clang-format off
        QTest::newRow("no keys") << ""
            << "FFS=; FFScb=0; SFN=; DFN=; HlfLimX=; MBC=1; MSel=1; OptAlnL=1; MSpec=; "
               "FrameTSet.enabled=0; MSpec.enabled=0; PosScroll.enabled=0";
        QTest::newRow("codes, flags, default field, half limits")
            << "FieldCode_FFS=ab\nFieldFlag_FFS= 1\nFieldFlag_BFS=2\nFieldFlag_SFA=0\n"
               "FieldCode_SFN=n\nFieldCode_DFN=n1\nHalfLimitX=1000 mm\nHalfLimitY=abc"
            << "FFS=ab; FFScb=1; BFScb=2; SFAcb=0; SFN=n; DFN=n1; HlfLimX=1000 mm; HlfLimY=abc";
        QTest::newRow("code longer than its typing limit is shown whole")
            << "FieldCode_BFN=ABCDEFG" << "BFN=ABCDEFG";
        QTest::newRow("program name, mirror, from left")
            << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorLR=-1\nPNameMirrorCPos=11\nPNameMirrorText=XY"
            << "MPName=1; MSel=1; OptAlnL=1; MSpec=XY; PosScroll=11; PosScroll.max=11; "
               "LabDispStr=??????????XY; PosDispLeft=11 From Left; PosDispRight=1 From Right; "
               "PosDispLeft.visible=1; PosDispRight.visible=0; FrameTSet.enabled=1";
        QTest::newRow("comment, norm and mirror, from right")
            << "AutoSelSetting=2\nCommentMSel=0\nCommentNandMLR=0\nCommentNandMCPos=20\nCommentNandMText=Q"
            << "MCmt=1; NMSel=1; OptAlnR=1; PosScroll=20; PosScroll.max=25; "
               "LabDispStr=???????????????????Q?????; PosDispRight=6 From Right; "
               "PosDispLeft.visible=0; PosDispRight.visible=1";
        QTest::newRow("barcode: trigger controls disabled")
            << "AutoSelSetting=3\nPNameMirrorText=XY"
            << "MBC=1; MSpec=; FrameTSet.enabled=0; OptAlnL.enabled=0; LabDispStr.enabled=0";
        // clang-format on
    }

    void load()
    {
        QFETCH(QString, keys);
        Station station(keys);
        QFETCH(QString, expected);
        station.check(expected);
    }

    void ok_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("lines"); // expected in the file, separated by "; "

        // clang-format off
        QTest::newRow("codes in upper case, flags with a blank")
            << "" << "FFS<ab; !FFScb; !SFScb; !SFScb"
            << "FieldCode_FFS=AB; FieldFlag_FFS= 1; FieldFlag_SFS= 0; FieldFlag_BFS= 0";
        QTest::newRow("SFN, SFM and DFN always flag 1")
            << "FieldFlag_SFN=0\nFieldFlag_SFM=7\nFieldFlag_DFN=0" << "DFN<n"
            << "FieldFlag_SFN= 1; FieldFlag_SFM= 1; FieldCode_DFN=N; FieldFlag_DFN= 1";
        QTest::newRow("flags other than 0 and 1 written as held")
            << "FieldFlag_BFS=2\nFieldFlag_FFA=-1" << ""
            << "FieldFlag_BFS= 2; FieldFlag_FFA=-1";
        QTest::newRow("half limits as typed") << "" << "HlfLimX<12 mm; HlfLimY<x"
            << "HalfLimitX=12 mm; HalfLimitY=x";
        QTest::newRow("barcode writes 3 and still the four sets")
            << "AutoSelSetting=3\nPNameMirrorCPos=4\nPNameNandMText=n\nCommentMirrorLR=-1\n"
               "CommentNandMCPos=9\nCommentMSel=1" << ""
            << "AutoSelSetting=3; PNameMirrorLR=0; PNameMirrorCPos=4; PNameMirrorText=; "
               "PNameNandMLR=0; PNameNandMCPos=0; PNameNandMText=n; CommentMirrorLR=-1; "
               "CommentMirrorCPos=0; CommentMirrorText=; CommentNandMLR=0; CommentNandMCPos=9; "
               "CommentNandMText=; PNameMSel=0; CommentMSel=1";
        QTest::newRow("the live trigger is stored into its set")
            << "AutoSelSetting=2\nCommentMSel=0" << "MSpec<mi; PosScroll@7; !OptAlnR"
            << "AutoSelSetting=2; CommentNandMLR=0; CommentNandMCPos=7; CommentNandMText=mi; "
               "CommentMSel=0";
        // clang-format on
    }

    void ok()
    {
        QFETCH(QString, keys);
        QFETCH(QString, actions);
        QFETCH(QString, lines);

        Station station(keys);
        station.act(actions);
        QTest::mouseClick(station.get(QStringLiteral("BtnOK")), Qt::LeftButton);
        QVERIFY(station.dialog->isHidden());
        QCOMPARE(station.dialog->result(), int(QDialog::Accepted));
        const QByteArray file = station.file();
        for (const QString &line : lines.split(QStringLiteral("; ")))
            QVERIFY2(file.contains("\r\n" + line.toLatin1() + "\r\n"), qPrintable(line));
        // Only the file gets upper case; the boxes keep what was typed.
        if (actions.contains(QLatin1String("FFS<ab")))
            QCOMPARE(station.value(QStringLiteral("FFS")), QStringLiteral("ab"));
    }

    void okWritesEveryKeyOnce()
    {
        Station station;
        QTest::mouseClick(station.get(QStringLiteral("BtnOK")), Qt::LeftButton);
        QList<QByteArray> keys;
        for (const QByteArray &line : station.file().split('\n').mid(1))
            if (!line.trimmed().isEmpty())
                keys << line.left(line.indexOf('='));
        QStringList expected;
        for (const QString &slot :
             QStringLiteral("SFN SFM SFS SFA SFT SFR BFN BFM FFN FFM BFS BFA BFT BFR FFS FFA FFT "
                            "FFR DFN")
                 .split(QLatin1Char(' ')))
            expected << "FieldCode_" + slot << "FieldFlag_" + slot;
        expected << "HalfLimitX"
                 << "HalfLimitY"
                 << "AutoSelSetting";
        for (const char *set : {"PNameMirror", "PNameNandM", "CommentMirror", "CommentNandM"})
            expected << set + QStringLiteral("LR") << set + QStringLiteral("CPos")
                     << set + QStringLiteral("Text");
        expected << "PNameMSel"
                 << "CommentMSel";
        QCOMPARE(QString::fromLatin1(keys.join(' ')), expected.join(QLatin1Char(' ')));
    }

    void cancelKeepsEditsButNotTheFile()
    {
        Station station(QStringLiteral("FieldCode_SFN=N\nFieldCode_DFN=D"));
        const QByteArray before = station.file();
        station.act(QStringLiteral("SFN<q; DFN<e"));
        QTest::mouseClick(station.get(QStringLiteral("BtnCan")), Qt::LeftButton);
        QVERIFY(station.dialog->isHidden());
        QCOMPARE(station.file(), before);

        // The next selection uses the edit; a fresh start reads the old code.
        FieldSelector selector(*station.provider);
        QCOMPARE(selector.autoSelectField(0, 500, 300), QStringLiteral("q"));
        QCOMPARE(station.model().defaultField(), QStringLiteral("e"));
        AutoSelSettings restarted;
        loadAutoSelSettings(restarted, station.settings);
        QCOMPARE(restarted.code(FieldSlot::SFN), QStringLiteral("N"));
    }

    void setAllClearAll_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("buttonsShown");
        QTest::addColumn<QString>("changed"); // the check boxes that take the new value

        const QString standard = QStringLiteral("SFS SFA SFT SFR");
        const QString frontBack = QStringLiteral("BFN BFM FFN FFM BFS BFA BFT BFR FFS FFA FFT FFR");
        // clang-format off
        QTest::newRow("set all, standard")      << 1 << 0 << "BtnSA" << true  << standard;
        QTest::newRow("clear all, standard")    << 1 << 1 << "BtnCA" << true  << standard;
        QTest::newRow("set all, front and back") << 2 << 0 << "BtnSA" << true << frontBack;
        QTest::newRow("clear all, front and back") << 2 << 1 << "BtnCA" << true << frontBack;
        QTest::newRow("set all, trigger tab")   << 0 << 0 << "BtnSA" << false << "";
        QTest::newRow("clear all, limits tab")  << 3 << 1 << "BtnCA" << false << "";
        // clang-format on
    }

    void setAllClearAll()
    {
        QFETCH(int, tab);
        QFETCH(int, from);
        QFETCH(QString, button);
        QFETCH(bool, buttonsShown);
        QFETCH(QString, changed);

        QStringList keys;
        for (const QString &slot : AllFlagKeys.split(QLatin1Char(' ')))
            keys << QStringLiteral("FieldFlag_%1=%2").arg(slot).arg(from);
        Station station(keys.join(QLatin1Char('\n')));
        station.act(QStringLiteral("tab=%1").arg(tab));
        QCOMPARE(station.get(QStringLiteral("BtnSA"))->isVisible(), buttonsShown);
        QCOMPARE(station.get(QStringLiteral("BtnCA"))->isVisible(), buttonsShown);
        // A hidden button can still be clicked from code: it changes nothing then.
        station.get<QPushButton>(button)->click();

        const int to = button == QLatin1String("BtnSA") ? 1 : 0;
        for (FieldSlot slot : AllFieldSlots) {
            if (!hasEnableFlag(slot))
                continue;
            const QString key = slotKey(slot);
            const int expected = changed.split(QLatin1Char(' ')).contains(key) ? to : from;
            QCOMPARE(key + QLatin1Char('=') + station.value(key + QStringLiteral("cb")),
                     key + QLatin1Char('=') + QString::number(expected));
            QCOMPARE(int(station.model().enableFlag(slot)), expected);
        }
    }

    void triggerDisplay_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("expected");

        // clang-format off
        QTest::newRow("name: two characters in the last places")
            << "!MPName; !OptAlnL; MSpec<XY; PosScroll@11"
            << "PosScroll.max=11; LabDispStr=??????????XY; PosDispLeft=11 From Left; "
               "PosDispRight=1 From Right; PosDispLeft.visible=1; PosDispRight.visible=0";
        QTest::newRow("name: counted from the right")
            << "!MPName; MSpec<z; PosScroll@12; !OptAlnR"
            << "PosScroll.max=12; LabDispStr=???????????z; PosDispRight=1 From Right; "
               "PosDispLeft.visible=0; PosDispRight.visible=1";
        QTest::newRow("name: longer text pulls the position in")
            << "!MPName; PosScroll@11; MSpec<ABCDEF"
            << "PosScroll=7; PosScroll.max=7; LabDispStr=??????ABCDEF; PosDispLeft=7 From Left";
        QTest::newRow("comment: empty trigger")
            << "!MCmt"
            << "PosScroll.max=26; LabDispStr=?????????????????????????; "
               "PosDispLeft=1 From Left; PosDispRight=26 From Right";
        QTest::newRow("comment: three characters at 5")
            << "!MCmt; MSpec<abc; PosScroll@5"
            << "PosScroll.max=23; LabDispStr=????abc??????????????????; PosDispLeft=5 From Left; "
               "PosDispRight=19 From Right";
        QTest::newRow("barcode disables and keeps the display")
            << "!MPName; MSpec<XY; !MBC"
            << "LabDispStr=XY??????????; LabDispStr.enabled=0; MSpec.enabled=0; "
               "PosScroll.enabled=0; OptAlnL.enabled=0; FrameTSet.enabled=0";
        // clang-format on
    }

    void triggerDisplay()
    {
        QFETCH(QString, actions);
        Station station;
        station.act(actions);
        QFETCH(QString, expected);
        station.check(expected);
    }

    void sourceChangeStoresAndLoadsSets_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("mouse");
        QTest::addColumn<QString>("shown");  // the set of the new choice
        QTest::addColumn<QString>("stored"); // the set left behind, alignment/position/text

        // The comment set keeps its position 20: the switch from right to left redraws with
        // the new source, and so with its wider maximum, before the position is checked.
        // clang-format off
        QTest::newRow("to comment by mouse") << "MCmt" << true
            << "MSpec=cm; PosScroll=20; OptAlnL=1" << "0/9/ed";
        QTest::newRow("to norm and mirror by mouse") << "NMSel" << true
            << "MSpec=nm; PosScroll=3; OptAlnL=1" << "0/9/ed";
        QTest::newRow("to comment from the keyboard") << "MCmt" << false
            << "MSpec=cm; PosScroll=20" << "-1/2/pn";
        // clang-format on
    }

    void sourceChangeStoresAndLoadsSets()
    {
        QFETCH(QString, option);
        QFETCH(bool, mouse);
        QFETCH(QString, stored);

        Station station(QStringLiteral(
            "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorLR=-1\nPNameMirrorCPos=2\n"
            "PNameMirrorText=pn\nPNameNandMLR=-1\nPNameNandMCPos=3\nPNameNandMText=nm\n"
            "CommentMirrorLR=-1\nCommentMirrorCPos=20\nCommentMirrorText=cm"));
        station.act(QStringLiteral("MSpec<ed; PosScroll@9; !OptAlnR"));
        if (mouse)
            station.act(QLatin1Char('!') + option);
        else
            QTest::keyClick(station.get(option), Qt::Key_Space); // clicks without a press
        QFETCH(QString, shown);
        station.check(shown);

        const TriggerSet set
            = station.model().triggerSet(TriggerSource::ProgramName, MirrorAction::Mirror);
        QCOMPARE(QStringLiteral("%1/%2/%3").arg(set.alignment).arg(set.position).arg(set.text),
                 stored);
        // Back to the first choice by mouse: what was stored comes back.
        station.act(option == QLatin1String("MCmt") ? QStringLiteral("!MPName")
                                                    : QStringLiteral("!MSel"));
        station.check(QStringLiteral("MSpec=") + stored.section(QLatin1Char('/'), 2));
    }

    void doubleClickShowsLastText_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("shown");

        QTest::newRow("program name") << "MPName"
                                      << "DOOR_LEFT.CNC";
        QTest::newRow("comment") << "MCmt"
                                 << "LEFT DOOR PANEL";
        QTest::newRow("barcode") << "MBC"
                                 << "????????????????????????";
    }

    void doubleClickShowsLastText()
    {
        QFETCH(QString, source);
        QFETCH(QString, shown);

        Station station;
        station.act(QLatin1Char('!') + source);
        auto *display = station.get<QLabel>(QStringLiteral("LabDispStr"));
        QTest::mouseDClick(display, Qt::LeftButton);
        QCOMPARE(display->text(), shown);
        // The next redraw brings the question marks back.
        station.act(QStringLiteral("!OptAlnL"));
        QVERIFY(display->text().startsWith(QLatin1Char('?')));
    }

    void tablePlansHoldTheirControls()
    {
        Station station;
        for (auto *plan : station.dialog->findChildren<TablePlanWidget *>()) {
            station.showTabOf(plan);
            QVERIFY(plan->minimumSizeHint().isValid());
            for (int i = 0; i < plan->fieldCount(); ++i) {
                QVERIFY(plan->tableRect().contains(plan->fieldRect(i)));
                for (int j = i + 1; j < plan->fieldCount(); ++j)
                    QVERIFY(!plan->fieldRect(i).intersects(plan->fieldRect(j)));
            }
        }
        // Every code box lies inside a drawn field of its plan.
        for (FieldSlot slot : AllFieldSlots) {
            QWidget *box = station.get(slotKey(slot));
            station.showTabOf(box);
            auto *plan = qobject_cast<TablePlanWidget *>(box->parentWidget()->parentWidget());
            QVERIFY2(plan, slotKey(slot).data());
            const QRect placed(box->mapTo(plan, QPoint()), box->size());
            bool inside = false;
            for (int i = 0; i < plan->fieldCount(); ++i)
                inside = inside || plan->fieldRect(i).contains(placed);
            QVERIFY2(inside, slotKey(slot).data());
        }
    }
};

QTEST_MAIN(tst_FieldSelectionDialog)
#include "tst_fieldselectiondialog.moc"
