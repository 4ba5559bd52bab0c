// Field selection: the settings model as loaded, saved and switched, the selector's choice of
// a field, and the setup dialog (MacFlds) driven by object name: load, OK, Cancel, Set All /
// Clear All, the mirror trigger display and the mouse order of storing and loading trigger
// sets. Where the rows of an item land on the plan of the machine table. The exclusion dialog
// and the main window's exclusion line.

#include "Fakes.h"
#include "Tables.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "base/CurrentItem.h"
#include "base/Error.h"
#include "base/Settings.h"
#include "exclusion/ExclusionChoice.h"
#include "exclusion/ExclusionDialog.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "fieldsel/FieldSelector.h"
#include "fieldsel/PiecePlan.h"
#include "settings/SettingsFile.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::fieldsel;
using namespace barlink::testing;

using Places = QList<QRectF>; // per piece: its field, then the piece
Q_DECLARE_METATYPE(Places)

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
              {"source", sources[int(m.source())]},
              {"action", m.action() == A::Mirror ? "Mirror" : "NormAndMirror"},
              {"text", m.triggerText()},
              {"pos", QString::number(m.triggerPosition())},
              {"left", QString::number(int(m.fromLeft()))},
              {"max", QString::number(m.positionMaximum())},
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

// A settings file in a temporary folder, the model loaded from it on first use, a selector
// on it and, once opened, the dialog on it.
struct Station
{
    QTemporaryDir dir;
    base::Settings settings;
    base::CurrentItem item;
    AutoSelSettingsProvider provider{settings};
    FieldSelector selector{provider};
    std::unique_ptr<FieldSelectionDialog> dialog;

    // keys: lines of the settings section, separated by "\n"; none: no file.
    explicit Station(const QString &keys = QString())
    {
        settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        if (!keys.isEmpty())
            write(keys);
    }
    void write(const QString &keys)
    {
        QVERIFY(
            testing::writeBytes(settings.settingsFilePath,
                                "[GESTBCOD]\r\n" + keys.toLatin1().replace('\n', "\r\n") + "\r\n"));
    }
    AutoSelSettings &model() { return provider.settings(); }
    QByteArray file() const { return testing::readBytes(settings.settingsFilePath); }

    // Codes are the slot keys; enabled: slot keys, each with an optional "=flag" (1 when left
    // out), all when none are named; half limits of 1000 in X and 600 in Y.
    void enable(const QStringList &enabled)
    {
        for (FieldSlot slot : AllFieldSlots) {
            model().setCode(slot, slotKey(slot));
            qint16 flag = enabled.isEmpty() ? 1 : 0;
            for (const QString &item : enabled) {
                if (item.section('=', 0, 0) == slotKey(slot))
                    flag = qint16(item.contains('=') ? item.section('=', 1).toInt() : 1);
            }
            model().setEnableFlag(slot, flag);
        }
        model().setHalfLimitX(QStringLiteral("1000"));
        model().setHalfLimitY(QStringLiteral("600"));
    }

    void open()
    {
        if (!QFile::exists(settings.settingsFilePath))
            write({});
        item.lastProgramName = QStringLiteral("DOOR_LEFT.CNC");
        item.lastProgramComment = QStringLiteral("LEFT DOOR PANEL");
        dialog = std::make_unique<FieldSelectionDialog>(model(), settings, item);
        dialog->show();
    }
    QWidget *get(const QString &name)
    {
        return name == dialog->objectName() ? dialog.get() : testing::child<QWidget>(*dialog, name);
    }
    QTabWidget *tabs() { return testing::child<QTabWidget>(*dialog, QStringLiteral("SSTab")); }
    void showTabOf(QWidget *control)
    {
        for (int i = 0; i < tabs()->count(); ++i)
            if (tabs()->widget(i)->isAncestorOf(control))
                tabs()->setCurrentIndex(i);
    }

    // "name" gives a control's value (a check box's flag: 2 for partly checked), "name.visible",
    // "name.enabled", "name.maximum" and "MacFlds.result" its state; "set.PNameMirror" and the
    // like the model's trigger set, as alignment/position/text; "flags" the enable check boxes
    // (the standard tab's four, then the front and back tab's twelve) and "flags.model" the
    // model's enable flags.
    QString value(const QString &item)
    {
        const QString name = item.section(u'.', 0, 0), aspect = item.section(u'.', 1);
        if (name == u"set")
            return describe(model()).value(item);
        if (name == u"flags") {
            QString flags;
            for (FieldSlot slot : AllFieldSlots) {
                if (hasEnableFlag(slot))
                    flags += aspect.isEmpty() ? value(slotKey(slot) + QStringLiteral("cb"))
                                              : QString::number(model().enableFlag(slot));
                if (flags.size() == 4)
                    flags += u' ';
            }
            return flags;
        }
        QWidget *w = get(name);
        if (aspect == u"result")
            return QString::number(dialog->result());
        if (auto *box = qobject_cast<QCheckBox *>(w); box && aspect.isEmpty())
            return QString::number(box->checkState() == Qt::PartiallyChecked ? 2
                                                                             : box->isChecked());
        const QVariant v = w->property(!aspect.isEmpty()                    ? qPrintable(aspect)
                                       : qobject_cast<QAbstractButton *>(w) ? "checked"
                                       : qobject_cast<QScrollBar *>(w)      ? "value"
                                                                            : "text");
        return v.typeId() == QMetaType::Bool ? QString::number(v.toBool()) : v.toString();
    }
    // expected: "name=value" items separated by "; ", then optionally "file: " and lines that
    // the settings file holds, also separated by "; ".
    void check(const QString &expected)
    {
        const QString values = expected.section(QStringLiteral("file: "), 0, 0);
        for (const QString &item : values.split(QStringLiteral("; "), Qt::SkipEmptyParts))
            QCOMPARE(item.section(u'=', 0, 0) + u'=' + value(item.section(u'=', 0, 0)), item);
        const QString lines = expected.section(QStringLiteral("file: "), 1);
        for (const QString &line : lines.split(QStringLiteral("; "), Qt::SkipEmptyParts))
            QVERIFY2(file().contains("\r\n" + line.toLatin1() + "\r\n"), qPrintable(line));
    }

    // Actions separated by "; ": "NAME<text" types text into an emptied box, "!NAME" clicks
    // with the mouse, "*NAME" clicks from code, "~NAME" presses the space key on it, "^NAME"
    // double-clicks it, "NAME@n" moves a scroll bar, "tab=n" chooses a tab. The control's own
    // tab is made current first, as a user would.
    void act(const QString &actions)
    {
        for (const QString &action : actions.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
            if (action.startsWith(u"tab=")) {
                tabs()->setCurrentIndex(action.mid(4).toInt());
                continue;
            }
            const QString name = action.section(QRegularExpression(QStringLiteral("[<@]")), 0, 0)
                                     .remove(QRegularExpression(QStringLiteral("^[!*~^]")));
            QWidget *control = get(name);
            showTabOf(control);
            // Near the left edge: an option takes clicks on its indicator and caption only.
            const QPoint at(std::min(8, control->width() / 2), control->height() / 2);
            if (action.startsWith(u'!')) {
                QTest::mouseClick(control, Qt::LeftButton, {}, at);
            } else if (action.startsWith(u'*')) {
                qobject_cast<QAbstractButton *>(control)->click();
            } else if (action.startsWith(u'~')) {
                QTest::keyClick(control, Qt::Key_Space); // clicks without a mouse press
            } else if (action.startsWith(u'^')) {
                QTest::mouseDClick(control, Qt::LeftButton, {}, at);
            } else if (action.contains(u'<')) {
                qobject_cast<QLineEdit *>(control)->clear();
                QTest::keyClicks(control, action.section(u'<', 1));
            } else {
                qobject_cast<QScrollBar *>(control)->setValue(action.section(u'@', 1).toInt());
            }
        }
    }
};

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

class tst_FieldSel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void load_data()
    {
        // keys: lines of the settings section
        columns<QString, QString>({"keys", "expected"});

        // clang-format off
        QTest::newRow("no keys") << "" << "code.FFS=; code.SFN=; flag.FFS=0; dfn=; halfX=; source=Barcode; action=Mirror; text=; pos=1; left=1; max=13; set.PNameMirror=0/0/; enabled=0";
        // A text is cut at a NUL and after 79 characters; the missing-key marker reads as
        // missing, and only when alone.
        QTest::newRow("texts as stored") << "FieldCode_FFS=ab\nFieldCode_DFN=n1\nHalfLimitX=1000 mm\nPNameMirrorText=END.-\nFieldCode_BFS=END.-1\nFieldCode_FFT=" + QString(100, 'x') + QStringLiteral("\nFieldCode_SFT=ab\0cd") << "code.FFS=ab; dfn=n1; halfX=1000 mm; set.PNameMirror=0/0/; code.BFS=END.-1; code.FFT=" + QString(79, 'x') + "; code.SFT=ab";
        QTest::newRow("flags rounded half to even") << "FieldFlag_FFS= 1\nFieldFlag_BFS=2.5\nFieldFlag_SFS=1.5\nFieldFlag_SFA=0.5\nFieldFlag_FFT=x1\nFieldFlag_FFA=-1\nFieldFlag_SFN=99999" << "flag.FFS=1; flag.BFS=2; flag.SFS=2; flag.SFA=0; flag.FFT=0; flag.FFA=-1; flag.SFN=0";
        QTest::newRow("program name, mirror") << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorLR=-1\nPNameMirrorCPos=5\nPNameMirrorText=X1\nPNameNandMText=zz" << "source=ProgramName; action=Mirror; left=1; pos=5; text=X1; max=11; enabled=1; display=????X1??????";
        QTest::newRow("program name, norm and mirror, alignment 1") << "AutoSelSetting=1\nPNameNandMLR=1\nPNameNandMCPos=3\nPNameNandMText=ab" << "action=NormAndMirror; left=0; pos=3; text=ab";
        QTest::newRow("comment keeps a position past 13") << "AutoSelSetting=2\nCommentMSel=1\nCommentMirrorCPos=20\nCommentMirrorText=X" << "source=Comment; action=Mirror; pos=20; max=25";
        QTest::newRow("comment reads its own MSel") << "AutoSelSetting= 2.0x\nPNameMSel=1" << "source=Comment; action=NormAndMirror";
        QTest::newRow("position 0 raised to 1, also in the set") << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorCPos=0" << "pos=1; set.PNameMirror=0/1/";
        QTest::newRow("position lowered to the maximum before the text") << "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorCPos=40\nPNameMirrorText=AB" << "pos=11; max=11; set.PNameMirror=0/13/AB";
        QTest::newRow("barcode: sets loaded, live trigger untouched") << "AutoSelSetting=3\nCommentNandMLR=-1\nCommentNandMCPos=7\nCommentNandMText=Q" << "source=Barcode; text=; pos=1; enabled=0; set.CommentNandM=-1/7/Q";
        QTest::newRow("other source values change nothing") << "AutoSelSetting=1.5\nPNameMSel=0" << "source=Barcode; action=Mirror";
        // clang-format on
    }
    void load()
    {
        Station station(fetch<QString>("keys"));
        checkValues(station.model(), fetch<QString>("expected"));
    }

    // The model is loaded at the first selection, not before, and again after a failure.
    void providerLoadsOnceAndRetriesAfterFailure()
    {
        Station station;
        (void)station.selector.autoSelectField(SelectMode::SeedForNext, 0, 0, QStringLiteral("S"));
        (void)station.selector.autoSelectField(SelectMode::Seed, 0, 0, QStringLiteral("S"));
        QVERIFY(!station.provider.isLoaded());
        station.write("FieldFlag_FFS=40000");
        QCOMPARE(testing::errorNumber(
                     [&] { (void)station.selector.autoSelectField(SelectMode::Normal, 500, 300); }),
                 int(base::Error::Overflow));
        QVERIFY(!station.provider.isLoaded());
        // No codes: the fallback's code is empty.
        station.write("FieldFlag_FFS=1");
        QCOMPARE(station.selector.autoSelectField(SelectMode::Normal, 500, 300), QString());
        AutoSelSettings &first = station.model();
        QCOMPARE(first.enableFlag(FieldSlot::FFS), qint16(1));
        station.write("FieldFlag_FFS=0");
        QCOMPARE(&station.model(), &first);
        QCOMPARE(station.model().enableFlag(FieldSlot::FFS), qint16(1));
    }

    void switchSource_data()
    {
        columns<int, QString, int, int, QString>(
            {"from", "fromText", "to", "storedPosition", "expected"});
        const int name = int(TriggerSource::ProgramName), comment = int(TriggerSource::Comment);
        // clang-format off
        QTest::newRow("name to comment: held to the old maximum") << name << "" << comment << 20 << "pos=13; max=25; text=X; set.CommentMirror=-1/13/X; set.PNameMirror=-1/1/";
        QTest::newRow("comment to name: old text narrows the maximum first") << comment << "AB" << name << 12 << "pos=11; max=12; set.PNameMirror=-1/12/X; set.CommentMirror=-1/1/AB";
        QTest::newRow("to barcode: live trigger stays") << name << "AB" << int(TriggerSource::Barcode) << 5 << "text=AB; max=11; enabled=0";
        // clang-format on
    }
    void switchSource()
    {
        const auto to = TriggerSource(fetch<int>("to"));
        AutoSelSettings model;
        model.setSource(TriggerSource(fetch<int>("from")));
        model.placeText();
        model.setTriggerText(fetch<QString>("fromText"));
        model.setTriggerSet(to,
                            MirrorAction::Mirror,
                            {-1, qint16(fetch<int>("storedPosition")), QStringLiteral("X")});
        // Mouse press on the new option, then its click.
        model.getAutoSel();
        model.setSource(to);
        model.setAutoSel();
        model.placeText();
        checkValues(model, fetch<QString>("expected"));
    }

    void select_data()
    {
        // Slots enabled (all when empty), steps, piece, and the codes the selections return.
        // Steps: "0", "1", "8" select with the piece; "6:R", "7:s" seed from a run field.
        columns<QString, QString, float, float, QString>(
            {"enabled", "steps", "x", "y", "expected"});
        // clang-format off
        const auto add = [](const char *name, const char *enabled, const char *steps,
                            const char *expected, float x = 500, float y = 300) {
            QTest::newRow(name) << QString(enabled) << QString(steps) << x << y << QString(expected);
        };
        add("fits both", "", "0", "FFS");
        add("x only: standard slot", "", "0", "SFS", 500, 700);
        add("y only: front N", "", "0", "FFN", 1500, 300);
        add("neither: fallback", "", "0", "SFN", 1500, 700);
        add("x equal to limit", "", "0", "FFN", 1000, 300);
        add("y equal to limit", "", "0", "SFS", 500, 600);
        add("mirror group", "", "1", "FFA");
        add("only a back slot", "BFT", "0", "BFT");
        add("flag 2 is disabled", "FFS=2,BFS", "0", "BFS");
        add("nothing enabled", "none", "0", "SFN");
        add("T first: FFN before SFS", "SFS,FFN", "7:T,0", "FFN");
        add("R first: SFA before FFM", "SFA,FFM", "7:R,1", "SFA");
        // Below 140 by 60 the piece is in inches: the limits become 39.37 and 23.622.
        add("inches: too big", "", "0", "SFN", 139.9f, 59.9f);
        add("inches: fits", "", "0", "FFS", 39, 23);
        add("inches: x just over", "", "0", "FFN", 39.5f, 23);
        add("x 140 is millimetres", "", "0", "FFS", 140, 30);
        add("y 60 is millimetres", "", "0", "FFS", 30, 60);

        add("mode 8: normal S, mirror R", "", "8,8,8,8", "FFS,FFR,FFS,FFR");
        add("mode 0: S and T in turn", "", "0,0,0", "FFS,FFT,FFS");
        add("mode 1: A and R in turn", "", "1,1", "FFA,FFR");
        add("only FFS, though T is tried first", "FFS", "0,0", "FFS,FFS");
        add("field code R: mode 0 mirrors once", "", "6:R,0,0", "FFR,FFS");
        add("mode 7 seeds, group unforced", "", "7:R,0,8", "FFT,FFA");
        add("seed A, item sent twice", "", "6:A,8,8", "FFA,FFT");
        add("seed N1", "", "8,7:N1,8", "FFS,FFS");
        add("seed M/0", "", "6:M/0,0", "FFR");
        add("lower case seed: no change", "", "8,7:s,8", "FFS,FFR");
        add("empty seed, mode 6 still forces", "", "8,6:,0", "FFS,FFR");
        // clang-format on
    }
    void select()
    {
        const QString &enabled = fetch<QString>("enabled");
        Station station;
        station.enable(enabled.isEmpty() ? QStringList() : enabled.split(','));
        QStringList chosen;
        for (const QString &step : fetch<QString>("steps").split(',')) {
            const auto mode = SelectMode(step.left(1).toInt());
            if (mode == SelectMode::SeedForNext || mode == SelectMode::Seed)
                QCOMPARE(station.selector.autoSelectField(mode, 0, 0, step.mid(2)), QString());
            else
                chosen << station.selector.autoSelectField(
                    mode, fetch<float>("x"), fetch<float>("y"));
        }
        QTEST(chosen.join(','), "expected");
    }

    void controls_data()
    {
        columns<QString, QString, QString>({"keys", "actions", "expected"});
        const QString sets = QStringLiteral(
            "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorLR=-1\nPNameMirrorCPos=2\n"
            "PNameMirrorText=pn\nPNameNandMLR=-1\nPNameNandMCPos=3\nPNameNandMText=nm\n"
            "CommentMirrorLR=-1\nCommentMirrorCPos=20\nCommentMirrorText=cm");
        const QString edited = QStringLiteral("MSpec<ed; PosScroll@9; !OptAlnR; ");

        // clang-format off
        QTest::newRow("load: codes, flags, default field, half limits") << "FieldCode_FFS=ab\nFieldFlag_FFS= 1\nFieldFlag_BFS=2\nFieldFlag_SFA=0\nFieldCode_SFN=n\nFieldCode_DFN=n1\nHalfLimitX=1000 mm\nHalfLimitY=abc" << "" << "FFS=ab; FFScb=1; BFScb=2; SFAcb=0; SFN=n; DFN=n1; HlfLimX=1000 mm; HlfLimY=abc";
        QTest::newRow("load: code longer than its typing limit is shown whole") << "FieldCode_BFN=ABCDEFG" << "" << "BFN=ABCDEFG";
        QTest::newRow("load: comment, norm and mirror, from right") << "AutoSelSetting=2\nCommentMSel=0\nCommentNandMLR=0\nCommentNandMCPos=20\nCommentNandMText=Q" << "" << "MCmt=1; NMSel=1; OptAlnR=1; PosScroll=20; PosScroll.maximum=25; PosDispRight=6 From Right";
        QTest::newRow("load: barcode disables the trigger controls") << "AutoSelSetting=3\nPNameMirrorText=XY" << "" << "MBC=1; MSpec=; FrameTSet.enabled=0; OptAlnL.enabled=0; LabDispStr.enabled=0";

        QTest::newRow("name: two characters in the last places") << "" << "!MPName; !OptAlnL; MSpec<XY; PosScroll@11" << "PosScroll.maximum=11; LabDispStr=??????????XY; PosDispLeft=11 From Left; PosDispRight=1 From Right; PosDispLeft.visible=1; PosDispRight.visible=0";
        QTest::newRow("name: counted from the right") << "" << "!MPName; MSpec<z; PosScroll@12; !OptAlnR" << "PosScroll.maximum=12; LabDispStr=???????????z; PosDispRight=1 From Right; PosDispLeft.visible=0; PosDispRight.visible=1";
        QTest::newRow("name: longer text pulls the position in") << "" << "!MPName; PosScroll@11; MSpec<ABCDEF" << "PosScroll=7; PosScroll.maximum=7; LabDispStr=??????ABCDEF; PosDispLeft=7 From Left";
        QTest::newRow("comment: three characters at 5") << "" << "!MCmt; MSpec<abc; PosScroll@5" << "PosScroll.maximum=23; LabDispStr=????abc??????????????????; PosDispLeft=5 From Left; PosDispRight=19 From Right";
        QTest::newRow("barcode disables and keeps the display") << "" << "!MPName; MSpec<XY; !MBC" << "LabDispStr=XY??????????; LabDispStr.enabled=0; MSpec.enabled=0; PosScroll.enabled=0; OptAlnL.enabled=0; FrameTSet.enabled=0";

        QTest::newRow("double click: last program name") << "" << "!MPName; ^LabDispStr" << "LabDispStr=DOOR_LEFT.CNC";
        QTest::newRow("double click: last comment") << "" << "!MCmt; ^LabDispStr" << "LabDispStr=LEFT DOOR PANEL";

        // A mouse press stores the shown trigger into its set; the click loads the new one.
        // The comment set keeps its position 20: the switch from right to left redraws with
        // the new source, and so with its wider maximum, before the position is checked.
        QTest::newRow("source to comment by mouse") << sets << edited + "!MCmt" << "MSpec=cm; PosScroll=20; OptAlnL=1; set.PNameMirror=0/9/ed";
        QTest::newRow("action to norm and mirror by mouse") << sets << edited + "!NMSel" << "MSpec=nm; PosScroll=3; OptAlnL=1; set.PNameMirror=0/9/ed";
        QTest::newRow("source to comment from the keyboard") << sets << edited + "~MCmt" << "MSpec=cm; PosScroll=20; set.PNameMirror=-1/2/pn";

        // Set All and Clear All act on the current tab's check boxes only.
        QStringList off, on;
        for (FieldSlot slot : AllFieldSlots) {
            if (hasEnableFlag(slot)) {
                off << QStringLiteral("FieldFlag_%1=0").arg(slotKey(slot));
                on << QStringLiteral("FieldFlag_%1=1").arg(slotKey(slot));
            }
        }
        const QString none = off.join('\n'), all = on.join('\n');
        const QString shown = QStringLiteral("BtnSA.visible=1; BtnCA.visible=1; ");
        QTest::newRow("set all, standard tab") << none << "tab=1; *BtnSA" << shown + "flags=1111 000000000000; flags.model=1111 000000000000";
        QTest::newRow("clear all, front and back tab") << all << "tab=2; *BtnCA" << shown + "flags=1111 000000000000; flags.model=1111 000000000000";

        // OK writes codes in upper case (the boxes keep what was typed) and flags with a blank.
        QTest::newRow("OK: codes, typing limits, flags, half limits") << "" << "FFS<abcdefg; BFS<abcd; !FFScb; !SFScb; !SFScb; HlfLimX<1000 mm or so; !BtnOK" << "MacFlds.visible=0; MacFlds.result=1; FFS=abcde; file: FieldCode_FFS=ABCDE; FieldCode_BFS=ABC; FieldFlag_FFS= 1; FieldFlag_SFS= 0; FieldFlag_BFS= 0; HalfLimitX=1000 mm or so";
        QTest::newRow("OK: SFN, SFM and DFN always flag 1") << "FieldFlag_SFN=0\nFieldFlag_SFM=7\nFieldFlag_DFN=0" << "DFN<n1xy; !BtnOK" << "file: FieldFlag_SFN= 1; FieldFlag_SFM= 1; FieldCode_DFN=N1X; FieldFlag_DFN= 1";
        QTest::newRow("OK: flags other than 0 and 1 written as held") << "FieldFlag_BFS=2\nFieldFlag_FFA=-1" << "!BtnOK" << "file: FieldFlag_BFS= 2; FieldFlag_FFA=-1";
        QTest::newRow("OK: barcode writes 3 and still the four sets") << "AutoSelSetting=3\nPNameMirrorCPos=4\nPNameNandMText=n\nCommentMirrorLR=-1\nCommentNandMCPos=9\nCommentMSel=1" << "!BtnOK" << "file: AutoSelSetting=3; PNameMirrorLR=0; PNameMirrorCPos=4; PNameNandMText=n; CommentMirrorLR=-1; CommentMirrorText=; CommentNandMCPos=9; CommentMSel=1";
        QTest::newRow("OK: the live trigger is stored into its set") << "AutoSelSetting=2\nCommentMSel=0" << "MSpec<mi; PosScroll@7; !OptAlnR; !BtnOK" << "file: AutoSelSetting=2; CommentNandMLR=0; CommentNandMCPos=7; CommentNandMText=mi; CommentMSel=0";
        // clang-format on
    }

    void controls()
    {
        Station station(fetch<QString>("keys"));
        station.open();
        station.act(fetch<QString>("actions"));
        station.check(fetch<QString>("expected"));
    }

    // Cancel, and closing the dialog, put back the settings as they were when it was shown;
    // the file is not written.
    void cancelRestoresTheSettingsAsShown()
    {
        Station station(QStringLiteral("FieldCode_SFN=N\nFieldCode_DFN=D"));
        station.open();
        const QByteArray before = station.file();
        for (const char *close : {"BtnCan", "Escape"}) {
            station.dialog->show();
            station.act(QStringLiteral("SFN<q; DFN<e; !MPName"));
            if (qstrcmp(close, "Escape") == 0)
                QTest::keyClick(station.dialog.get(), Qt::Key_Escape);
            else
                QTest::mouseClick(station.get(QLatin1String(close)), Qt::LeftButton);
            QVERIFY(station.dialog->isHidden());
            QCOMPARE(station.file(), before);
            QCOMPARE(station.selector.autoSelectField(SelectMode::Normal, 500, 300),
                     QStringLiteral("N"));
            checkValues(station.model(), QStringLiteral("dfn=D; source=Barcode"));
            station.dialog->show();
            QCOMPARE(station.value(QStringLiteral("SFN")), QStringLiteral("N"));
            station.dialog->hide();
        }
    }

    // limits: "X Y" half limits in mm. The table is 2000 x 1200 mm: a 500 x 300 piece is a
    // quarter of its length and depth.
    void place_data()
    {
        columns<QString, QStringList, double, double, Places, QList<bool>>(
            {"limits", "codes", "x", "y", "places", "mirror"});
        const QRectF frontLeft(0, 0.5, 0.5, 0.5);
        using L = QStringList;
        // clang-format off
        QTest::addRow("front field, against the front at the left end") << "1000 600" << L{"S"} << 500.0 << 300.0 << Places{frontLeft, {0, 0.75, 0.25, 0.25}} << QList<bool>{false};
        QTest::addRow("normal and mirror: the mirror at the right end") << "1000 600" << L{"S", "A"} << 500.0 << 300.0 << Places{frontLeft, {0, 0.75, 0.25, 0.25}, frontLeft, {0.25, 0.75, 0.25, 0.25}} << QList<bool>{false, true};
        QTest::addRow("back field: against the back") << "1000 600" << L{"B"} << 500.0 << 300.0 << Places{{0, 0, 1, 0.5}, {0, 0, 0.25, 0.25}} << QList<bool>{false};
        QTest::addRow("the enabled slot of a shared code") << "1000 600" << L{"Q"} << 500.0 << 300.0 << Places{{0.5, 0, 0.5, 1}, {0.5, 0.75, 0.25, 0.25}} << QList<bool>{false};
        QTest::addRow("a piece longer than its field overhangs it") << "1000 600" << L{"S"} << 1500.0 << 300.0 << Places{frontLeft, {0, 0.75, 0.75, 0.25}} << QList<bool>{false};
        QTest::addRow("a mirror piece longer than its field, within the table") << "1000 600" << L{"A"} << 1500.0 << 300.0 << Places{frontLeft, {0, 0.75, 0.75, 0.25}} << QList<bool>{true};
        QTest::addRow("no half limits: the field without the piece") << "0 600" << L{"N"} << 500.0 << 300.0 << Places{{0, 0, 1, 1}, {}} << QList<bool>{false};
        // clang-format on
    }
    void place()
    {
        const QString &limits = fetch<QString>("limits");
        const QStringList &codes = fetch<QStringList>("codes");
        const Places &places = fetch<Places>("places");
        AutoSelSettings settings;
        settings.setHalfLimitX(limits.section(u' ', 0, 0));
        settings.setHalfLimitY(limits.section(u' ', 1, 1));
        const std::pair<FieldSlot, const char *> codesBySlot[] = {{FieldSlot::SFN, "N"},
                                                                  {FieldSlot::FFS, "S"},
                                                                  {FieldSlot::FFA, "A"},
                                                                  {FieldSlot::BFN, "B"},
                                                                  {FieldSlot::SFS, "Q"},
                                                                  {FieldSlot::SFT, "Q"}};
        for (const auto &[slot, code] : codesBySlot)
            settings.setCode(slot, QLatin1String(code));
        for (FieldSlot slot : {FieldSlot::FFS, FieldSlot::FFA, FieldSlot::BFN, FieldSlot::SFT})
            settings.setEnableFlag(slot, 1);

        const std::vector<PlacedPiece> placed
            = placePieces(settings, codes, fetch<double>("x"), fetch<double>("y"));
        QCOMPARE(placed.size(), std::size_t(codes.size()));
        for (std::size_t i = 0; i < placed.size(); ++i) {
            QCOMPARE(placed[i].field, places.at(qsizetype(2 * i)));
            QCOMPARE(placed[i].piece, places.at(qsizetype(2 * i + 1)));
            QCOMPARE(placed[i].mirror, fetch<QList<bool>>("mirror").at(qsizetype(i)));
        }
    }

    // A settings file that cannot be written: the operator is told, and nothing changes.
    void okStoresTheChoice_data()
    {
        columns<QList<int>, QString, QString, bool>({"chosen", "mask", "caption", "writable"});
        const QString earlier = QStringLiteral(" Exclusion Number 4  for insertion.");
        // clang-format off
        QTest::newRow("none")       << QList<int>{}        << "00000000" << "" << true;
        QTest::newRow("2, 5 and 7") << QList<int>{2, 5, 7} << "01001010" << " Exclusion Number 257  for insertion." << true;
        QTest::newRow("8 then 3")   << QList<int>{8, 3}    << "00100001" << " Exclusion Number 38  for insertion." << true;
        QTest::newRow("file cannot be written") << QList<int>{5} << "" << earlier << false;
        // clang-format on
    }
    void okStoresTheChoice()
    {
        const QString &mask = fetch<QString>("mask");
        const bool writable = fetch<bool>("writable");
        Station station(QStringLiteral("CommPort=1")); // a key the choice must leave alone
        const QByteArray before = station.file();
        if (!writable) {
            QVERIFY(writeBytes(station.dir.filePath("blocker"), "")); // where a folder should be
            station.settings.settingsFilePath = station.dir.filePath("blocker/KTQ.INI");
        }
        app::MainWindow window;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(station.settings, window);
        // A caption from an earlier choice, which "none" must take away.
        window.setExclusionText(QStringLiteral(" Exclusion Number 4  for insertion."));
        exclusion::ExclusionDialog dialog(choice, prompter, &window);
        dialog.show();
        QCOMPARE(ticked(dialog), QList<int>{});
        answer(dialog, fetch<QList<int>>("chosen"), "BtnOK");

        QCOMPARE(dialog.result(), int(writable ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(dialog.isVisible(), !writable);
        QCOMPARE(choice.mask(), mask);
        QCOMPARE(readBytes(station.dir.filePath("KTQ.INI")),
                 writable ? before + "Exclusion=" + mask.toLatin1() + "\r\n" : before);
        QTEST(child<QLabel>(window, "ExLab")->text(), "caption");
        QCOMPARE(prompter.texts().join('|').startsWith(QStringLiteral("Unexpected error #")),
                 !writable);
    }

    // The dialog opens with the last confirmed choice of this run, which Cancel keeps; a new
    // run starts empty, whatever the file holds.
    void reopeningAndCancel()
    {
        Station station(QStringLiteral("CommPort=1"));
        FakeDisplay display;
        ScriptedPrompter prompter;
        exclusion::ExclusionChoice choice(station.settings, display);
        {
            exclusion::ExclusionDialog dialog(choice, prompter);
            dialog.show();
            answer(dialog, {4, 6}, "BtnOK");
        }
        const QByteArray stored = station.file();
        exclusion::ExclusionDialog again(choice, prompter);
        again.show();
        QCOMPARE(ticked(again), (QList<int>{4, 6}));
        answer(again, {1, 2}, "BtnCan");
        QCOMPARE(again.result(), int(QDialog::Rejected));
        QCOMPARE(choice.mask(), QStringLiteral("00010100"));
        QCOMPARE(display.exclusion, QStringLiteral(" Exclusion Number 46  for insertion."));
        QCOMPARE(station.file(), stored);

        FakeDisplay nextRunDisplay;
        exclusion::ExclusionChoice nextRun(station.settings, nextRunDisplay);
        exclusion::ExclusionDialog fresh(nextRun, prompter);
        QCOMPARE(ticked(fresh), QList<int>{});
        QVERIFY(nextRunDisplay.exclusion.isEmpty());
        QCOMPARE(settings::readKey(station.settings, QStringLiteral("Exclusion")),
                 QStringLiteral("00010100"));
    }
};

QTEST_MAIN(tst_FieldSel)
#include "tst_fieldsel.moc"
