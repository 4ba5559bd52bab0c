#pragma once

// The one way tests, fuzzing harnesses and benchmarks reach inside a station: its parts, which
// the station itself hands to no one. A test that needs a part names it here.

#include "app/Station.h"

namespace barlink::app {

class StationProbe
{
public:
    explicit StationProbe(Station &station)
        : m_station(station)
    {}

    [[nodiscard]] base::Settings &settings() const { return m_station.m_settings; }
    [[nodiscard]] base::CurrentItem &item() const { return m_station.m_item; }
    [[nodiscard]] listmanager::ListManagerLink &link() const { return m_station.m_link; }
    [[nodiscard]] base::StationContext &context() const { return m_station.m_context; }
    [[nodiscard]] label::LabelDispatcher &dispatcher() const { return m_station.m_dispatcher; }
    [[nodiscard]] base::LabelGate &gate() const { return m_station.m_gate; }
    [[nodiscard]] program::ProgramBarcode &programBarcode() const
    {
        return m_station.m_programBarcode;
    }
    [[nodiscard]] scanner::ScanPoller &poller() const { return m_station.m_poller; }
    [[nodiscard]] label::ItemSender &sender() const { return m_station.m_sender; }
    [[nodiscard]] base::DoubleScanGuard &doubleScan() const { return m_station.m_doubleScan; }

private:
    Station &m_station;
};

} // namespace barlink::app
