#include "TestConsoleWindow.h"

namespace barlink::testconsole {

void TestConsoleWindow::offerStationListFile()
{
    // The designed list file names a Windows station's list folder already.
}

} // namespace barlink::testconsole
