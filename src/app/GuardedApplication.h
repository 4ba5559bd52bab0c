#pragma once

#include <QApplication>

namespace barlink::app {

// The application object of the station: an error that no handler caught on its way to the
// event loop is shown to the operator as an unexpected error, and the station goes on.
class GuardedApplication : public QApplication
{
    Q_OBJECT
public:
    GuardedApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the unexpected-error message for the exception being handled (call it in a catch
    // block). While one such message is open, further ones are only logged, so that a fault
    // that repeats with every tick of a timer cannot pile up message boxes.
    static void reportCurrentException();

private:
    static bool s_reporting;
};

} // namespace barlink::app
