#pragma once

#include <QString>

namespace barlink::base {

// What the operator sees of the station's work: the main window implements it,
// tests record it.
class OperatorDisplay
{
public:
    virtual ~OperatorDisplay() = default;

    // Status line (lblStatusBar).
    virtual void setStatus(const QString &text) = 0;
    [[nodiscard]] virtual QString status() const = 0;
    // The segment indicators LabID(0..4), one for each segment type of an item, numbered as
    // the types are.
    enum class Segment {
        LoadList,   // "Load List"
        Program,    // "Program"
        Dimensions, // "Dimensions"
        VarsAToD,   // "Vars A-D"
        VarsEToI,   // "Vars E-I"
    };
    static constexpr int SegmentCount = 5;

    virtual void setSegmentIndicator(Segment segment, bool visible) = 0;
    // LabelAFS, "Automatic Field Selection".
    virtual void setAutoFieldSelectionVisible(bool visible) = 0;
    // ExLab, the exclusion choice.
    virtual void setExclusionText(const QString &text) = 0;
    // ComDisplay, " Last Scan:    " and the label being received.
    virtual void setLastScan(const QString &text) = 0;
    // DSpin, the activity indicator; shown with the first character of each piece received.
    virtual void setActivity(bool visible, const QString &caption = QString()) = 0;
    // lblCurSettings, the open port and its line settings ("COM1:9600,N,8,1").
    virtual void setCurrentSettings(const QString &text) = 0;

    // The scanner port's state, shown on the main window at all times; the station tells it
    // with a signal of its own.
    enum class PortState {
        Open,    // labels are taken
        Waiting, // the device is not there (unplugged, not plugged in yet): tried again every 2 s
        Closed,  // closed on purpose: no port chosen, or the station shut down
    };
    // The system beep.
    virtual void beep() = 0;

    // Hides all five segment indicators.
    void hideSegmentIndicators()
    {
        for (int i = 0; i < SegmentCount; ++i)
            setSegmentIndicator(Segment(i), false);
    }
};

} // namespace barlink::base
