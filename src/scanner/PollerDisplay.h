#pragma once

namespace barlink::base {
class OperatorDisplay;
} // namespace barlink::base

namespace barlink::scanner {

class ScanPoller;

// Shows what the poller emits on the operator's display: the activity indicator, the last-scan
// line, the status line (once, after a label's outcome, that labels come without their end). The
// connections live as long as the poller.
void showPollerOn(ScanPoller &poller, base::OperatorDisplay &display);

} // namespace barlink::scanner
