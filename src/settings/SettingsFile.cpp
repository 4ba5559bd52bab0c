#include "settings/SettingsFile.h"

#include "base/Reasons.h"
#include "text/EscapedBytes.h"
#include "text/TrimSpaces.h"

#include "base/FileExists.h"
#include "base/Prompter.h"
#include "base/Settings.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsFilePlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace barlink::settings {

namespace {

// Texts of the station's standard keys are read through a buffer of this size (127
// characters and the end mark).
constexpr int TextBuffer = 128;
// The keys this station adds hold paths, which must not be cut short.
constexpr int PathBuffer = 4096;

QString section()
{
    return QString(SettingsSection);
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// The value as a problem shows it: a long one cut short.
QString shown(const QString &value)
{
    constexpr qsizetype Shown = 80;
    return value.size() <= Shown ? value : value.left(Shown) + QStringLiteral("...");
}

// "JournalDays=1,000 is not used: <why>. <instead>"
base::Reason
notUsed(const char *key, const QString &value, const base::Reason &why, const base::Reason &instead)
{
    return base::Reason(
        base::Reason::Code::NotUsed, QString::fromLatin1(key), shown(value), why, instead);
}

// A whole number written with decimal digits alone (a "-" before them for a negative one),
// from low to high; nothing for anything else ("1,000", "1e3", "+5", " 5", "4294967296").
std::optional<int> wholeNumber(const QString &text, int low, int high)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    return value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// A number written with decimal digits and at most one point ("1", "1.5", ".5"), from low to
// high; nothing for anything else ("1,5", "1e0", "-1", "100").
std::optional<double> decimalNumber(const QString &text, double low, double high)
{
    static const QRegularExpression number(
        QStringLiteral("^([0-9]{1,6}(\\.[0-9]{0,6})?|\\.[0-9]{1,6})$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double value = QLocale::c().toDouble(text);
    return value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// Why text is no connection string libpq reads; empty when it is one.
base::Reason connectionStringProblem(const QString &text)
{
    if (text.size() > MaxJournalServerLength)
        return base::Reason(base::Reason::Code::TooLong, MaxJournalServerLength);
    if (std::any_of(text.begin(), text.end(), isControl))
        return base::Reason(base::Reason::Code::HoldsControl);
    if (text.startsWith(QLatin1String("postgresql://"))
        || text.startsWith(QLatin1String("postgres://"))) {
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
            return base::Reason(base::Reason::Code::AddressBlanks);
        return {};
    }
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && text[i].isSpace())
            ++i;
    };
    for (skipBlanks(); i < n; skipBlanks()) {
        const qsizetype keyword = i;
        while (i < n && !text[i].isSpace() && text[i] != QLatin1Char('='))
            ++i;
        if (i == keyword)
            return base::Reason(base::Reason::Code::KeywordExpected, i + 1);
        const QString name = text.mid(keyword, i - keyword);
        skipBlanks();
        if (i == n || text[i] != QLatin1Char('='))
            return base::Reason(base::Reason::Code::NoEquals, name);
        ++i;
        skipBlanks();
        if (i < n && text[i] == QLatin1Char('\'')) {
            for (++i;; ++i) {
                if (i >= n)
                    return base::Reason(base::Reason::Code::NoClosingQuote, name);
                if (text[i] == QLatin1Char('\\'))
                    ++i;
                else if (text[i] == QLatin1Char('\''))
                    break;
            }
            ++i;
        } else {
            for (; i < n && !text[i].isSpace(); ++i) {
                if (text[i] == QLatin1Char('\\'))
                    ++i;
            }
        }
    }
    return {};
}

// The keys this station adds besides the paths: a value is used only when it is well formed
// and in range; otherwise the default stays and the problem is told.
void readAddedKeys(const ProfileFile &file, base::Settings &settings)
{
    const QString sec = section();
    const auto given = [&](const char *key, int bufferSize = TextBuffer) {
        return file.value(sec, QLatin1String(key), bufferSize).value_or(QString());
    };
    QList<base::Reason> &problems = settings.problems;
    const base::Settings defaults;
    settings.journalDays = defaults.journalDays;
    settings.duplicateSeconds = defaults.duplicateSeconds;
    settings.itemPauseMs = defaults.itemPauseMs;
    settings.fontScale = defaults.fontScale;
    settings.shiftStart = defaults.shiftStart;
    settings.highContrast = defaults.highContrast;
    settings.touch = defaults.touch;
    settings.listManagerBeside = defaults.listManagerBeside;
    settings.resultSound = defaults.resultSound;
    settings.refuseReply.clear();
    settings.labelEnd.clear();
    settings.stationName.clear();
    settings.listManagerService = defaults.listManagerService;
    settings.listManagerTimeoutMs = defaults.listManagerTimeoutMs;

    if (const QString days = given("JournalDays"); !days.isEmpty()) {
        if (const auto value = wholeNumber(days, 0, MaxJournalDays))
            settings.journalDays = *value;
        else
            problems << notUsed(
                "JournalDays",
                days,
                base::Reason(base::Reason::Code::WholeDays, MaxJournalDays),
                base::Reason(base::Reason::Code::UsedInstead, settings.journalDays));
    }
    if (const QString seconds = given("DuplicateSeconds"); !seconds.isEmpty()) {
        if (const auto value = wholeNumber(seconds, 0, MaxDuplicateSeconds))
            settings.duplicateSeconds = *value;
        else
            problems << notUsed(
                "DuplicateSeconds",
                seconds,
                base::Reason(base::Reason::Code::WholeSeconds, MaxDuplicateSeconds),
                settings.duplicateSeconds == 0
                    ? base::Reason(base::Reason::Code::ZeroInstead)
                    : base::Reason(base::Reason::Code::UsedInstead, settings.duplicateSeconds));
    }
    if (const QString pause = given("ItemPauseMs"); !pause.isEmpty()) {
        if (const auto value = wholeNumber(pause, 0, MaxItemPauseMs))
            settings.itemPauseMs = *value;
        else
            problems << notUsed(
                "ItemPauseMs",
                pause,
                base::Reason(base::Reason::Code::WholeMilliseconds, 0, MaxItemPauseMs),
                base::Reason(base::Reason::Code::UsedInstead, settings.itemPauseMs));
    }
    if (const QString scale = given("FontScale"); !scale.isEmpty()) {
        if (const auto value = decimalNumber(scale, MinFontScale, MaxFontScale))
            settings.fontScale = *value;
        else
            problems << notUsed("FontScale",
                                scale,
                                base::Reason(base::Reason::Code::DecimalRange,
                                             QStringLiteral("%1").arg(MinFontScale),
                                             QStringLiteral("%1").arg(MaxFontScale)),
                                base::Reason(base::Reason::Code::UsedInstead,
                                             QStringLiteral("%1").arg(settings.fontScale)));
    }
    // A switch, 0 or 1; anything else leaves the default, with what that means.
    const auto readSwitch = [&](const char *key, bool &on, base::Reason::Code otherwise) {
        const QString value = given(key);
        if (value.isEmpty())
            return;
        if (const auto number = wholeNumber(value, 0, 1))
            on = *number == 1;
        else
            problems << notUsed(
                key, value, base::Reason(base::Reason::Code::ZeroOrOne), base::Reason(otherwise));
    };
    readSwitch("HighContrast", settings.highContrast, base::Reason::Code::UsualColours);
    readSwitch("Touch", settings.touch, base::Reason::Code::UsualTargets);
    readSwitch(
        "ListManagerBeside", settings.listManagerBeside, base::Reason::Code::ListWindowAsOpened);

    if (const QString start = given("ShiftStart"); !start.isEmpty()) {
        const QTime time = QTime::fromString(start, QStringLiteral("HH:mm"));
        if (time.isValid())
            settings.shiftStart = time;
        else
            problems << notUsed("ShiftStart",
                                start,
                                base::Reason(base::Reason::Code::TimeOfDay),
                                base::Reason(base::Reason::Code::MidnightCounters));
    }
    readSwitch("ResultSound", settings.resultSound, base::Reason::Code::NoSound);

    const QString reply = given("RefuseReply", PathBuffer);
    const text::EscapedBytes replyBytes = text::unescapeBytes(reply);
    if (!replyBytes.ok()) {
        problems << notUsed("RefuseReply",
                            reply,
                            replyBytes.error,
                            base::Reason(base::Reason::Code::NoRefuseReply));
    } else {
        settings.refuseReply = reply;
        if (replyBytes.bytes.contains("ACK\r"))
            problems << base::Reason(base::Reason::Code::AckInReply, shown(reply));
    }

    // A label end cuts every label where it occurs: only characters that no label holds can be
    // one. "CR" or "13" written for a carriage return would cut labels in the middle.
    const QString labelEnd = given("LabelEnd");
    const text::EscapedBytes end = text::unescapeBytes(labelEnd);
    const auto lineControl
        = [](char byte) { return static_cast<unsigned char>(byte) < 0x20 || byte == 0x7f; };
    const base::Reason endProblem = !end.ok() ? end.error
                                    : std::all_of(end.bytes.cbegin(), end.bytes.cend(), lineControl)
                                        ? base::Reason()
                                        : base::Reason(base::Reason::Code::LabelEndControls);
    if (endProblem.isEmpty())
        settings.labelEnd = labelEnd;
    else
        problems << notUsed(
            "LabelEnd", labelEnd, endProblem, base::Reason(base::Reason::Code::QuietLabelEnd));

    if (const QString name = given("StationName", PathBuffer); !name.isEmpty()) {
        if (name.size() <= MaxStationNameLength
            && std::none_of(name.begin(), name.end(), isControl))
            settings.stationName = name;
        else
            problems << notUsed(
                "StationName",
                name,
                base::Reason(base::Reason::Code::StationNameRule, MaxStationNameLength),
                base::Reason(base::Reason::Code::HostName));
    }
    if (const QString service = given("ListManagerService", PathBuffer); !service.isEmpty()) {
        static const QRegularExpression busName(
            QStringLiteral("^[A-Za-z_-][A-Za-z0-9_-]*(\\.[A-Za-z_-][A-Za-z0-9_-]*)+$"));
        if (service.size() <= MaxBusNameLength && busName.match(service).hasMatch())
            settings.listManagerService = service;
        else
            problems << notUsed(
                "ListManagerService",
                service,
                base::Reason(base::Reason::Code::BusNameRule),
                base::Reason(base::Reason::Code::UsedInstead, settings.listManagerService));
    }
    if (const QString ms = given("ListManagerTimeoutMs"); !ms.isEmpty()) {
        if (const auto value = wholeNumber(ms, MinListManagerTimeoutMs, MaxListManagerTimeoutMs))
            settings.listManagerTimeoutMs = *value;
        else
            problems << notUsed(
                "ListManagerTimeoutMs",
                ms,
                base::Reason(base::Reason::Code::WholeMilliseconds,
                             MinListManagerTimeoutMs,
                             MaxListManagerTimeoutMs),
                base::Reason(base::Reason::Code::UsedInstead, settings.listManagerTimeoutMs));
    }
    base::Reason serverProblem;
    settings.journalServer = readJournalServer(settings, &serverProblem);
    settings.journalServerGiven
        = file.value(sec, QStringLiteral("JournalServer"), PathBuffer).has_value();
    if (!serverProblem.isEmpty())
        problems << serverProblem;
}

} // namespace

QString readJournalServer(const base::Settings &settings, base::Reason *problem)
{
    const QString server = ProfileFile(settings.settingsFilePath)
                               .value(section(), QStringLiteral("JournalServer"), PathBuffer)
                               .value_or(QString());
    const base::Reason why = server.isEmpty() ? base::Reason() : connectionStringProblem(server);
    if (why.isEmpty())
        return server;
    if (problem)
        *problem = notUsed("JournalServer",
                           server,
                           base::Reason(base::Reason::Code::ConnectionString, why),
                           base::Reason(base::Reason::Code::NotForwarded));
    return {};
}

void writeFontScale(const base::Settings &settings, double scale)
{
    writeKey(settings, QStringLiteral("FontScale"), QString::number(scale));
}

void writeHighContrast(const base::Settings &settings, bool on)
{
    writeKey(
        settings, QStringLiteral("HighContrast"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void writeTouch(const base::Settings &settings, bool on)
{
    writeKey(settings, QStringLiteral("Touch"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString findSettingsFile(const QString &folder, base::Prompter &prompter)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(SettingsFileName);
    if (fileExists(exact, prompter))
        return exact;
    return settingsFileInOtherCase(dir, prompter);
}

bool loadSettings(base::Settings &settings, base::Options &options, base::Prompter &prompter)
{
    settings.settingsFilePath = QDir(settings.programDir).filePath(SettingsFileName);
    QString found = findSettingsFile(settings.programDir, prompter);
    if (found.isEmpty()) {
        settings.settingsFilePath = QDir(settings.windowsDir).filePath(SettingsFileName);
        found = findSettingsFile(settings.windowsDir, prompter);
    }
    if (found.isEmpty()) {
        const auto shown = [](const QString &folder) {
            return QDir::toNativeSeparators(QDir(folder).filePath(SettingsFileName));
        };
        prompter.informWithDetails(
            base::Prompter::Icon::Critical,
            QStringLiteral("File KTQ.INI Not Found"),
            QStringLiteral("Looked for:\n%1\n%2\n\nSettings saved from now on go to a new "
                           "file:\n%2")
                .arg(shown(settings.programDir), shown(settings.windowsDir)));
        return false;
    }
    settings.settingsFilePath = found;

    const SettingsDefaults defaults = settingsDefaults();
    const ProfileFile file(found);
    const QString sec = section();
    const auto text
        = [&](const char *key, const QString &defaultValue, int bufferSize = TextBuffer) {
              // A missing key takes the default whole; only values from the file are cut.
              return file.value(sec, QLatin1String(key), bufferSize).value_or(defaultValue);
          };
    QList<base::Reason> &problems = settings.problems;
    problems.clear();
    // The first of a key given twice is read, and nothing after a second header of the
    // section: the lines that are not read are told.
    for (const ProfileFile::Repeat &repeat : file.repeats(sec)) {
        problems << base::Reason(repeat.section ? base::Reason::Code::SectionGivenTwice
                                                : base::Reason::Code::KeyGivenTwice,
                                 repeat.name,
                                 repeat.firstLine,
                                 repeat.line);
    }
    // A number key read as ever (its leading digits), the number as written: one beyond
    // 32 bits is not wrapped into another, and one outside the key's range is told with the
    // text the file gives.
    struct Number
    {
        qint64 value = 0;
        QString written; // empty for a missing key, read as its default
    };
    const auto number = [&](const char *key, int defaultValue) {
        const QString written = file.value(sec, QLatin1String(key), PathBuffer).value_or(QString());
        if (written.isEmpty())
            return Number{defaultValue, {}};
        return Number{ProfileFile::wholeNumberIn(written).value, written};
    };

    settings.serialSettings = text("Settings", defaults.serialSettings);
    settings.gcodePath = barlink::text::trimSpaces(text("GCodePath", defaults.gcodePath));
    settings.listPath = barlink::text::trimSpaces(text("ListPath", defaults.listPath));
    // A port number is 16 bits; beyond, there is no port (0), as there always was.
    const Number port = number("CommPort", defaults.commPort);
    if (port.value >= std::numeric_limits<qint16>::min()
        && port.value <= std::numeric_limits<qint16>::max()) {
        settings.serialPort = static_cast<qint16>(port.value);
    } else {
        settings.serialPort = 0;
        problems << notUsed(
            "CommPort",
            port.written,
            base::Reason(base::Reason::Code::PortNumberRange, std::numeric_limits<qint16>::max()),
            base::Reason(base::Reason::Code::UsedInstead, 0));
    }
    const Number pollTime = number("CommPollTime", defaults.commPollTime);
    if (pollTime.value > MaxCommPollTime) {
        settings.commPollTime = MaxCommPollTime;
        problems << base::Reason(
            base::Reason::Code::PollTooLong, shown(pollTime.written), MaxCommPollTime);
    } else if (pollTime.value > 99) {
        settings.commPollTime = int(pollTime.value);
    } else if (pollTime.value < std::numeric_limits<qint32>::min()) {
        // Up to 99 the interval keeps its value without a word; a number no 32 bits hold
        // is told.
        problems << notUsed("CommPollTime",
                            pollTime.written,
                            base::Reason(base::Reason::Code::PollRange, MaxCommPollTime),
                            base::Reason(base::Reason::Code::UsedInstead, settings.commPollTime));
    }
    settings.csvInPath = withoutTrailingSeparator(
        barlink::text::trimSpaces(text("CSVInPath", defaults.csvInPath)));
    settings.csvOutPath = withoutTrailingSeparator(
        barlink::text::trimSpaces(text("CSVOutPath", defaults.csvOutPath)));
    // A switch is 0, 1 or 2 (greyed); any other number ticks it, and is told.
    const auto switchNumber = [&](const char *key, int defaultValue) {
        const Number read = number(key, defaultValue);
        if (read.value >= 0 && read.value <= 2)
            return int(read.value);
        problems << notUsed(key,
                            read.written,
                            base::Reason(base::Reason::Code::SwitchValues),
                            base::Reason(base::Reason::Code::UsedInstead, 1));
        return 1;
    };
    const int autoStart = switchNumber("AutoStart", defaults.autoStart);
    const int overwrite = switchNumber("Overwrite", defaults.overwrite);
    const int autoClear = switchNumber("AutoClear", defaults.autoClear);
    settings.commDevice
        = barlink::text::trimSpaces(text("CommDevice", defaults.commDevice, PathBuffer));
    settings.editorPath
        = barlink::text::trimSpaces(text("EditorPath", defaults.editorPath, PathBuffer));

    readAddedKeys(file, settings);

    options.setValue(base::Options::AutoStart, autoStart);
    options.setValue(base::Options::Overwrite, overwrite);
    options.setValue(base::Options::AutoClear, autoClear);
    return true;
}

void saveSerialSettings(const base::Settings &settings)
{
    writeKey(settings, QStringLiteral("Settings"), settings.serialSettings);
    writeKey(settings, QStringLiteral("CommPort"), QString::number(settings.serialPort));
}

void saveCommDevice(const base::Settings &settings)
{
    writeKey(settings, QStringLiteral("CommDevice"), settings.commDevice);
}

QString optionSwitchKey(base::Options::Switch s)
{
    switch (s) {
    case base::Options::AutoClear:
        return QStringLiteral("AutoClear");
    case base::Options::Overwrite:
        return QStringLiteral("Overwrite");
    case base::Options::AutoStart:
        return QStringLiteral("AutoStart");
    case base::Options::ShowEd:
        break;
    }
    return {};
}

QString signedNumberText(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

void writeOptionSwitch(const base::Settings &settings, base::Options::Switch s, int value)
{
    const QString key = optionSwitchKey(s);
    if (!key.isEmpty())
        writeKey(settings, key, signedNumberText(value));
}

QString readKey(const base::Settings &settings,
                const QString &key,
                const QString &defaultValue,
                int bufferSize)
{
    return ProfileFile(settings.settingsFilePath)
        .readString(section(), key, defaultValue, bufferSize);
}

int readIntKey(const base::Settings &settings, const QString &key, int defaultValue)
{
    return ProfileFile(settings.settingsFilePath).readInt(section(), key, defaultValue);
}

void writeKey(const base::Settings &settings, const QString &key, const QString &value)
{
    ProfileFile(settings.settingsFilePath).writeString(section(), key, value);
}

QString portDeviceName(const base::Settings &settings)
{
    if (!settings.commDevice.isEmpty())
        return settings.commDevice;
    if (settings.serialPort < 1)
        return {};
    return numberedPortDevice(settings.serialPort);
}

} // namespace barlink::settings
