#pragma once

namespace barlink::app {

class MainWindow;
class Station;

// The one place where the main window and the station meet. The option switches show the
// station's and set them; the window shows what the station tells through its signals (each
// label's entry with its result and counters, where its pieces went, the port's, the journal's
// and the shop's states, whether the last item can be taken back); and the station gets what
// the operator asks of it through the window (a typed label, taking the last item back, lost
// entries seen, the end when the window closes).
void showStationOn(Station &station, MainWindow &window);

} // namespace barlink::app
