#include "scanner/ScannerLog.h"

Q_LOGGING_CATEGORY(lcScanner, "barlink.scanner", QtWarningMsg)
