#include "TestConsoleWindow.h"
#include "ui_TestConsoleWindow.h"

#include "base/ProductEnvironment.h"

#include <QDir>

namespace barlink::testconsole {

void TestConsoleWindow::offerStationListFile()
{
    // The designed list file names a Windows station's folder; here the same file sits in
    // this station's list folder.
    const QString listFile = QDir::toNativeSeparators(listFolderIn(m_product.productFolder())
                                                      + QStringLiteral("/List1.lst"));
    m_ui->txtAppLstName->setText(listFile);
    m_ui->txtListName->setText(listFile);
}

} // namespace barlink::testconsole
