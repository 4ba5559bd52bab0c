// The About box, driven by object name.

#include "TestSupport.h"
#include "app/AboutDialog.h"

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
};

QTEST_MAIN(tst_AboutDialog)
#include "tst_aboutdialog.moc"
