#pragma once

#include <QString>

#include <optional>

namespace barlink::embeddedlist {

// Where the machine stands with its list.
enum class RunState { Idle, Running, Held, Ended };

// The run commands of the list manager.
enum class RunCommand { Start, Hold, End };

// The state a run command leads to:
// - Start runs the list from any state (an empty list may be started; it runs
//   the rows as they arrive);
// - Hold holds a running list and leaves every other state alone;
// - End ends a running or held list; an idle or ended list stays as it is.
[[nodiscard]] RunState nextRunState(RunState current, RunCommand command);

// "idle", "running", "held", "ended": the names kept in the state file.
[[nodiscard]] QString runStateName(RunState state);
[[nodiscard]] std::optional<RunState> runStateFromName(const QString &name);

// "Idle", "Running", "Held", "Ended": the names shown to the operator.
[[nodiscard]] QString runStateCaption(RunState state);

} // namespace barlink::embeddedlist
