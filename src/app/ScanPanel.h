#pragma once

#include "base/OperatorDisplay.h"

#include <QWidget>

#include <array>

class QBoxLayout;
class QLabel;

namespace barlink::app {

// What the scanner is delivering now: the segments of the item received so far, the flags of
// the automatic field selection and of the exclusion choice (beside the segments, or under
// them where the width is too small for both), and the last scan's raw text with the
// activity indicator. The indicators keep their place while hidden, so that nothing moves as
// the segments of an item arrive.
class ScanPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ScanPanel(QWidget *parent = nullptr);

    void setSegment(base::OperatorDisplay::Segment segment, bool visible);
    void setAutoFieldSelectionVisible(bool visible);
    void setExclusionText(const QString &text);
    void setLastScan(const QString &text);
    void setActivity(bool visible, const QString &caption);
    // The flags beside the segments where width allows, else on a line under them.
    void fit(int width);

private:
    std::array<QLabel *, base::OperatorDisplay::SegmentCount> m_segments{};
    QLabel *m_autoFieldSelection = nullptr;
    QLabel *m_exclusion = nullptr;
    QLabel *m_lastScan = nullptr;
    QLabel *m_activity = nullptr;
    QBoxLayout *m_segmentRow = nullptr;
    QBoxLayout *m_flagRow = nullptr;
};

} // namespace barlink::app
