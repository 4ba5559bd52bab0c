#include "base/FileExists.h"

#include "base/Error.h"
#include "base/Prompter.h"

namespace barlink::base {

bool fileExists(const QString &path, Prompter &prompter, const PathQuery &query)
{
    using A = PathStatus::Answer;
    for (;;) {
        const PathStatus status = query(path);
        switch (status.answer) {
        case A::NormalFile:
            return true;
        case A::OtherEntry:
        case A::NotFound:
        case A::DeviceUnavailable:
        case A::PathNotFound:
            return false;
        case A::DeviceIoError:
            if (prompter.ask(Prompter::Icon::Question,
                             Prompter::Buttons::RetryCancel,
                             QStringLiteral("Unformatted Disk"))
                != Prompter::Answer::Retry)
                return false;
            break;
        case A::DiskNotReady:
            if (prompter.ask(Prompter::Icon::Question,
                             Prompter::Buttons::OkCancel,
                             QStringLiteral("Insert Disk"))
                != Prompter::Answer::Ok)
                return false;
            break;
        case A::Failed:
            throw base::Error(status.errorNumber, status.description);
        }
    }
}

} // namespace barlink::base
