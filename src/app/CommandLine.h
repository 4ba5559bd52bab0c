#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::app {

// What barlink prints for -h/--help or -v/--version anywhere on its command line (the
// arguments after the program's name), before any window is made; nothing for any other
// command line, which starts the station.
[[nodiscard]] std::optional<QString> commandLineAnswer(const QStringList &arguments);

// Runs what barlink does without a station or a display: the answer to --help or --version,
// the journal export (--export-journal) and trying labels (--try). Returns the exit status,
// or nothing when the command line starts the station.
[[nodiscard]] std::optional<int> runWithoutStation(int &argc, char **argv);

} // namespace barlink::app
