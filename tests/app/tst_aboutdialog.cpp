// The About box, driven by object name.

#include "app/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace barlink;

namespace {

template<typename T> T *child(QWidget &window, const char *name)
{
    auto *widget = window.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control named %s", name);
    return widget;
}

} // namespace

class tst_AboutDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheVersionOfThisBuild()
    {
        app::AboutDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Barlink"));
        QCOMPARE(child<QLabel>(dialog, "lblProdInfo")->text(),
                 QStringLiteral("Barcode Manager, Version 8.1.0"));
        QVERIFY(!child<QLabel>(dialog, "lblKtqInfo")->text().isEmpty());
        QVERIFY(!child<QLabel>(dialog, "VerLabel")->text().isEmpty());
        QVERIFY(!child<QLabel>(dialog, "imgApp")->pixmap().isNull());
    }

    void centredAndClosedWithOk()
    {
        app::AboutDialog dialog;
        dialog.show();
        const QRect screen = dialog.screen()->geometry();
        const QPoint offset = dialog.frameGeometry().center() - screen.center();
        // A few pixels of rounding and of the window frame aside.
        QVERIFY2(qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4,
                 qPrintable(QStringLiteral("%1,%2 off centre").arg(offset.x()).arg(offset.y())));

        auto *ok = child<QPushButton>(dialog, "cmdOk");
        QCOMPARE(ok->text(), QStringLiteral("&Ok"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(tst_AboutDialog)
#include "tst_aboutdialog.moc"
