// The field selection setup dialog (MacFlds), driven by object name: load, OK, Cancel, Set
// All / Clear All, the mirror trigger display and the mouse order of storing and loading
// trigger sets.

#include "TestSupport.h"
#include "base/CurrentItem.h"
#include "base/Settings.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/AutoSelSettingsFile.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "fieldsel/FieldSelector.h"
#include "fieldsel/TablePlanWidget.h"

#include <QCheckBox>
#include <QLineEdit>
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
    base::Settings settings;
    base::CurrentItem item;
    std::unique_ptr<AutoSelSettingsProvider> provider;
    std::unique_ptr<FieldSelectionDialog> dialog;

    // keys: lines of the settings section, separated by "\n".
    explicit Station(const QString &keys = QString())
    {
        settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        testing::writeBytes(settings.settingsFilePath,
                            "[GESTBCOD]\r\n" + keys.toLatin1().replace('\n', "\r\n") + "\r\n");
        item.lastProgramName = QStringLiteral("DOOR_LEFT.CNC");
        item.lastProgramComment = QStringLiteral("LEFT DOOR PANEL");
        provider = std::make_unique<AutoSelSettingsProvider>(settings);
        dialog = std::make_unique<FieldSelectionDialog>(provider->settings(), settings, item);
        dialog->show();
    }
    AutoSelSettings &model() { return provider->settings(); }
    QByteArray file() const { return testing::readBytes(settings.settingsFilePath); }
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
        if (name == u"set") {
            const TriggerSet set = model().triggerSet(
                aspect.startsWith(u"Comment") ? TriggerSource::Comment : TriggerSource::ProgramName,
                aspect.endsWith(u"NandM") ? MirrorAction::NormAndMirror : MirrorAction::Mirror);
            return QStringLiteral("%1/%2/%3").arg(set.alignment).arg(set.position).arg(set.text);
        }
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

} // namespace

class tst_FieldSelectionDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the controls show after loading the keys and then the user's actions.
    void controls_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("expected");
        const QString sets = QStringLiteral(
            "AutoSelSetting=1\nPNameMSel=1\nPNameMirrorLR=-1\nPNameMirrorCPos=2\n"
            "PNameMirrorText=pn\nPNameNandMLR=-1\nPNameNandMCPos=3\nPNameNandMText=nm\n"
            "CommentMirrorLR=-1\nCommentMirrorCPos=20\nCommentMirrorText=cm");
        const QString edited = QStringLiteral("MSpec<ed; PosScroll@9; !OptAlnR; ");

        // clang-format off
        QTest::newRow("load: codes, flags, default field, half limits")
            << "FieldCode_FFS=ab\nFieldFlag_FFS= 1\nFieldFlag_BFS=2\nFieldFlag_SFA=0\n"
               "FieldCode_SFN=n\nFieldCode_DFN=n1\nHalfLimitX=1000 mm\nHalfLimitY=abc" << ""
            << "FFS=ab; FFScb=1; BFScb=2; SFAcb=0; SFN=n; DFN=n1; HlfLimX=1000 mm; HlfLimY=abc";
        QTest::newRow("load: code longer than its typing limit is shown whole")
            << "FieldCode_BFN=ABCDEFG" << "" << "BFN=ABCDEFG";
        QTest::newRow("load: comment, norm and mirror, from right")
            << "AutoSelSetting=2\nCommentMSel=0\nCommentNandMLR=0\nCommentNandMCPos=20\n"
               "CommentNandMText=Q" << ""
            << "MCmt=1; NMSel=1; OptAlnR=1; PosScroll=20; PosScroll.maximum=25; "
               "PosDispRight=6 From Right";
        QTest::newRow("load: barcode disables the trigger controls")
            << "AutoSelSetting=3\nPNameMirrorText=XY" << ""
            << "MBC=1; MSpec=; FrameTSet.enabled=0; OptAlnL.enabled=0; LabDispStr.enabled=0";

        QTest::newRow("name: two characters in the last places") << ""
            << "!MPName; !OptAlnL; MSpec<XY; PosScroll@11"
            << "PosScroll.maximum=11; LabDispStr=??????????XY; PosDispLeft=11 From Left; "
               "PosDispRight=1 From Right; PosDispLeft.visible=1; PosDispRight.visible=0";
        QTest::newRow("name: counted from the right") << ""
            << "!MPName; MSpec<z; PosScroll@12; !OptAlnR"
            << "PosScroll.maximum=12; LabDispStr=???????????z; PosDispRight=1 From Right; "
               "PosDispLeft.visible=0; PosDispRight.visible=1";
        QTest::newRow("name: longer text pulls the position in") << ""
            << "!MPName; PosScroll@11; MSpec<ABCDEF"
            << "PosScroll=7; PosScroll.maximum=7; LabDispStr=??????ABCDEF; PosDispLeft=7 From Left";
        QTest::newRow("comment: empty trigger") << "" << "!MCmt"
            << "PosScroll.maximum=26; LabDispStr=?????????????????????????; "
               "PosDispLeft=1 From Left; PosDispRight=26 From Right";
        QTest::newRow("comment: three characters at 5") << "" << "!MCmt; MSpec<abc; PosScroll@5"
            << "PosScroll.maximum=23; LabDispStr=????abc??????????????????; PosDispLeft=5 From Left; "
               "PosDispRight=19 From Right";
        QTest::newRow("barcode disables and keeps the display") << "" << "!MPName; MSpec<XY; !MBC"
            << "LabDispStr=XY??????????; LabDispStr.enabled=0; MSpec.enabled=0; "
               "PosScroll.enabled=0; OptAlnL.enabled=0; FrameTSet.enabled=0";

        QTest::newRow("double click: last program name") << "" << "!MPName; ^LabDispStr"
            << "LabDispStr=DOOR_LEFT.CNC";
        QTest::newRow("double click: last comment") << "" << "!MCmt; ^LabDispStr"
            << "LabDispStr=LEFT DOOR PANEL";
        QTest::newRow("double click: nothing for the barcode") << "" << "!MBC; ^LabDispStr"
            << "LabDispStr=????????????????????????";
        QTest::newRow("double click: the next redraw brings the marks back") << ""
            << "!MPName; ^LabDispStr; !OptAlnL" << "LabDispStr=????????????";

        // A mouse press stores the shown trigger into its set; the click loads the new one.
        // The comment set keeps its position 20: the switch from right to left redraws with
        // the new source, and so with its wider maximum, before the position is checked.
        QTest::newRow("source to comment by mouse") << sets << edited + "!MCmt"
            << "MSpec=cm; PosScroll=20; OptAlnL=1; set.PNameMirror=0/9/ed";
        QTest::newRow("action to norm and mirror by mouse") << sets << edited + "!NMSel"
            << "MSpec=nm; PosScroll=3; OptAlnL=1; set.PNameMirror=0/9/ed";
        QTest::newRow("source to comment from the keyboard") << sets << edited + "~MCmt"
            << "MSpec=cm; PosScroll=20; set.PNameMirror=-1/2/pn";

        // Set All and Clear All act on the current tab's check boxes only; on the other tabs
        // they are hidden, and a click from code changes nothing.
        QStringList off, on;
        for (FieldSlot slot : AllFieldSlots) {
            if (hasEnableFlag(slot)) {
                off << QStringLiteral("FieldFlag_%1=0").arg(slotKey(slot));
                on << QStringLiteral("FieldFlag_%1=1").arg(slotKey(slot));
            }
        }
        const QString none = off.join('\n'), all = on.join('\n');
        const QString shown = QStringLiteral("BtnSA.visible=1; BtnCA.visible=1; ");
        QTest::newRow("set all, standard tab") << none << "tab=1; *BtnSA"
            << shown + "flags=1111 000000000000; flags.model=1111 000000000000";
        QTest::newRow("clear all, front and back tab") << all << "tab=2; *BtnCA"
            << shown + "flags=1111 000000000000; flags.model=1111 000000000000";
        QTest::newRow("set all, trigger tab") << none << "tab=0; *BtnSA"
            << "BtnSA.visible=0; BtnCA.visible=0; flags=0000 000000000000; "
               "flags.model=0000 000000000000";

        // OK writes codes in upper case (the boxes keep what was typed) and flags with a blank.
        QTest::newRow("OK: codes, typing limits, flags, half limits") << ""
            << "FFS<abcdefg; BFS<abcd; !FFScb; !SFScb; !SFScb; HlfLimX<1000 mm or so; !BtnOK"
            << "MacFlds.visible=0; MacFlds.result=1; FFS=abcde; file: FieldCode_FFS=ABCDE; "
               "FieldCode_BFS=ABC; FieldFlag_FFS= 1; FieldFlag_SFS= 0; FieldFlag_BFS= 0; "
               "HalfLimitX=1000 mm or so";
        QTest::newRow("OK: SFN, SFM and DFN always flag 1")
            << "FieldFlag_SFN=0\nFieldFlag_SFM=7\nFieldFlag_DFN=0" << "DFN<n1xy; !BtnOK"
            << "file: FieldFlag_SFN= 1; FieldFlag_SFM= 1; FieldCode_DFN=N1X; FieldFlag_DFN= 1";
        QTest::newRow("OK: flags other than 0 and 1 written as held")
            << "FieldFlag_BFS=2\nFieldFlag_FFA=-1" << "!BtnOK"
            << "file: FieldFlag_BFS= 2; FieldFlag_FFA=-1";
        QTest::newRow("OK: barcode writes 3 and still the four sets")
            << "AutoSelSetting=3\nPNameMirrorCPos=4\nPNameNandMText=n\nCommentMirrorLR=-1\n"
               "CommentNandMCPos=9\nCommentMSel=1" << "!BtnOK"
            << "file: AutoSelSetting=3; PNameMirrorLR=0; PNameMirrorCPos=4; PNameNandMText=n; "
               "CommentMirrorLR=-1; CommentMirrorText=; CommentNandMCPos=9; CommentMSel=1";
        QTest::newRow("OK: the live trigger is stored into its set")
            << "AutoSelSetting=2\nCommentMSel=0" << "MSpec<mi; PosScroll@7; !OptAlnR; !BtnOK"
            << "file: AutoSelSetting=2; CommentNandMLR=0; CommentNandMCPos=7; CommentNandMText=mi; "
               "CommentMSel=0";
        // clang-format on
    }

    void controls()
    {
        QFETCH(QString, keys);
        QFETCH(QString, actions);
        QFETCH(QString, expected);
        Station station(keys);
        station.act(actions);
        station.check(expected);
    }

    // Cancel, and closing the dialog, put back the settings as they were when it was shown;
    // the file is not written.
    void cancelRestoresTheSettingsAsShown()
    {
        Station station(QStringLiteral("FieldCode_SFN=N\nFieldCode_DFN=D"));
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

            FieldSelector selector(*station.provider);
            QCOMPARE(selector.autoSelectField(0, 500, 300), QStringLiteral("N"));
            QCOMPARE(station.model().defaultField(), QStringLiteral("D"));
            QCOMPARE(station.model().source(), TriggerSource::Barcode);
            station.dialog->show();
            QCOMPARE(station.value(QStringLiteral("SFN")), QStringLiteral("N"));
            station.dialog->hide();
        }
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
