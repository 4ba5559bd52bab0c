#pragma once

#include "base/Reasons.h"

#include <QString>

#include <exception>
#include <new>

namespace barlink::base {

// A run-time error of the station: a number and a description, thrown where a step of the
// station fails and caught by the step whose rule says what follows the failure.
class Error : public std::exception
{
public:
    // Numbers in use across the program.
    enum Number : int {
        InvalidCall = 5,
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        InternalError = 51,
        BadFileName = 52,
        FileNotFound = 53,
        BadFileMode = 54,
        DeviceIoError = 57,
        FileAlreadyExists = 58,
        DiskFull = 61,
        InputPastEnd = 62,
        DeviceUnavailable = 68,
        PermissionDenied = 70,
        DiskNotReady = 71,
        PathFileAccessError = 75,
        PathNotFound = 76,
        ObjectNotSet = 91,
        InvalidPropertyValue = 380,
        CannotCreateObject = 429,
        AutomationError = 440,
        // The scanner port.
        InvalidPortNumber = 8002,
        PortAlreadyOpen = 8005,
        HardwareNotAvailable = 8010,
        DeviceNotOpen = 8012,
        CannotSetCommState = 8015,
    };

    // path: the file or folder the error is about, when the step that raises it knows it.
    // A description given as text is the system's own words (or another program's), told as
    // they are; one given as a reason is shown in the operator's language.
    Error(int number, QString description, QString path = {})
        : Error(number, Reason::text(std::move(description)), std::move(path))
    {}
    Error(int number, Reason reason, QString path = {})
        : m_number(number)
        , m_reason(std::move(reason))
        , m_description(m_reason.english())
        , m_path(std::move(path))
        , m_what(QStringLiteral("%1: %2").arg(number).arg(m_description).toUtf8())
    {}

    [[nodiscard]] int number() const noexcept { return m_number; }
    [[nodiscard]] const QString &description() const noexcept { return m_description; }
    // The description as a reason.
    [[nodiscard]] const Reason &reason() const noexcept { return m_reason; }
    // Empty when the error is about no file in particular.
    [[nodiscard]] const QString &path() const noexcept { return m_path; }
    [[nodiscard]] const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number = 0;
    Reason m_reason;
    QString m_description;
    QString m_path;
    QByteArray m_what;
};

// The one format in which unexpected errors are shown to the operator:
// "Unexpected error # 53 occured: File not found".
[[nodiscard]] inline QString unexpectedErrorText(int number, const QString &description)
{
    const QString num
        = number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
    return QStringLiteral("Unexpected error #") + num + QStringLiteral(" occured: ") + description;
}

[[nodiscard]] inline QString unexpectedErrorText(const Error &error)
{
    return unexpectedErrorText(error.number(), error.description());
}

// The further text of the unexpected-error message: the path the error is about
// ("Path: /data/Barlink.csv"); empty when it names none.
[[nodiscard]] inline QString unexpectedErrorDetails(const Error &error)
{
    return error.path().isEmpty() ? QString() : QStringLiteral("Path: ") + error.path();
}

// What the journal keeps of an error: its description, and the path it is about
// ("Path not found: /data/Barlink.csv").
[[nodiscard]] inline Reason errorReason(const Error &error)
{
    return error.path().isEmpty() ? error.reason()
                                  : Reason(Reason::Code::AtPath, error.reason(), error.path());
}

// The same for any exception: an Error with its own number, a failed allocation as 7, any
// other as 51 with what the exception says.
[[nodiscard]] inline QString unexpectedErrorText(const std::exception &exception)
{
    if (const auto *error = dynamic_cast<const Error *>(&exception))
        return unexpectedErrorText(*error);
    if (dynamic_cast<const std::bad_alloc *>(&exception))
        return unexpectedErrorText(Error::OutOfMemory, QStringLiteral("Out of memory"));
    return unexpectedErrorText(Error::InternalError,
                               QStringLiteral("Internal error: ")
                                   + QString::fromLocal8Bit(exception.what()));
}

} // namespace barlink::base
