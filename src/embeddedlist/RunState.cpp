#include "RunState.h"

namespace barlink::embeddedlist {

RunState nextRunState(RunState current, RunCommand command)
{
    switch (command) {
    case RunCommand::Start:
        return RunState::Running;
    case RunCommand::Hold:
        return current == RunState::Running ? RunState::Held : current;
    case RunCommand::End:
        return current == RunState::Running || current == RunState::Held ? RunState::Ended
                                                                         : current;
    }
    return current;
}

QString runStateName(RunState state)
{
    switch (state) {
    case RunState::Idle:
        return QStringLiteral("idle");
    case RunState::Running:
        return QStringLiteral("running");
    case RunState::Held:
        return QStringLiteral("held");
    case RunState::Ended:
        return QStringLiteral("ended");
    }
    return QStringLiteral("idle");
}

std::optional<RunState> runStateFromName(const QString &name)
{
    for (RunState state : {RunState::Idle, RunState::Running, RunState::Held, RunState::Ended}) {
        if (runStateName(state) == name)
            return state;
    }
    return std::nullopt;
}

QString runStateCaption(RunState state)
{
    QString caption = runStateName(state);
    caption[0] = caption[0].toUpper();
    return caption;
}

} // namespace barlink::embeddedlist
