// The About box, driven by object name, and where the station's windows are placed.

#include "TestSupport.h"
#include "app/AboutDialog.h"
#include "base/CenterForm.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace barlink;
using testing::child;

class tst_AboutDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsThisBuildCentredAndClosesWithOk()
    {
        app::AboutDialog dialog;
        QCOMPARE(child<QLabel>(dialog, "lblProdInfo")->text(),
                 QStringLiteral("Barcode Manager, Version 8.1.0"));
        QVERIFY(!child<QLabel>(dialog, "VerLabel")->text().isEmpty());
        QVERIFY(!child<QLabel>(dialog, "imgApp")->pixmap().isNull());

        dialog.show();
        const QPoint offset
            = dialog.frameGeometry().center() - dialog.screen()->geometry().center();
        // A few pixels of rounding and of the window frame aside.
        QVERIFY2(qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4,
                 qPrintable(QStringLiteral("%1,%2 off centre").arg(offset.x()).arg(offset.y())));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOk"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // A window placed beside another lies wholly in the screen's available area, whatever
    // the screen's size and the windows' sizes (large scale factors make both big).
    void placedBesideOnTheScreen_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QPoint>("expected");
        const QRect fullHd(0, 0, 1920, 1040);
        QTest::newRow("right") << fullHd << QRect(24, 24, 600, 500) << QSize(900, 560)
                               << QPoint(648, 24);
        QTest::newRow("below") << QRect(0, 0, 1280, 1400) << QRect(24, 24, 600, 500)
                               << QSize(900, 560) << QPoint(24, 548);
        QTest::newRow("smaller, below") << QRect(0, 0, 853, 682) << QRect(24, 24, 620, 400)
                                        << QSize(900, 560) << QPoint(24, 448);
        QTest::newRow("no useful room: over the anchor")
            << QRect(0, 30, 1024, 738) << QRect(24, 54, 1400, 1300) << QSize(2000, 1200)
            << QPoint(24, 54);
        QTest::newRow("second screen") << QRect(1920, 0, 1920, 1080) << QRect(1944, 24, 600, 500)
                                       << QSize(900, 560) << QPoint(2568, 24);
    }
    void placedBesideOnTheScreen()
    {
        QFETCH(QRect, area);
        QFETCH(QRect, anchor);
        QFETCH(QSize, wanted);
        QFETCH(QPoint, expected);
        const QRect placed = base::placeBeside(area, anchor, wanted);
        QVERIFY2(area.contains(placed),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(placed.x())
                                .arg(placed.y())
                                .arg(placed.width())
                                .arg(placed.height())));
        QCOMPARE(placed.topLeft(), expected);
    }
};

QTEST_MAIN(tst_AboutDialog)
#include "tst_aboutdialog.moc"
