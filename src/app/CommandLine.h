#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::app {

// What barlink prints for -h/--help or -v/--version anywhere on its command line (the
// arguments after the program's name), before any window is made; nothing for any other
// command line, which starts the station.
[[nodiscard]] std::optional<QString> commandLineAnswer(const QStringList &arguments);

} // namespace barlink::app
