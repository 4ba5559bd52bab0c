#include "SpillFile.h"

#include "DiskSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>

namespace barlink::journal {

namespace {

constexpr char Header[] = "barlink-journal-spill 1 ";
// The first line is a few dozen bytes; more is not a first line.
constexpr qint64 MaxNameLine = 256;
// Between the spill file's name and the time it was set aside (the name an earlier version
// gave a file it could not read, whose lines are now taken too).
const QLatin1String AsideMark("-unreadable-");

} // namespace

SpillFile::SpillFile(QString path)
    : m_path(std::move(path))
{}

QByteArray SpillFile::line(const Entry &entry)
{
    QJsonObject object{
        {QStringLiteral("time"), entry.time.toMSecsSinceEpoch()},
        {QStringLiteral("station"), entry.station},
        {QStringLiteral("source"), storedName(entry.source)},
        {QStringLiteral("label"), entry.label},
        {QStringLiteral("kind"), storedName(entry.kind)},
        {QStringLiteral("outcome"), storedName(entry.outcome)},
    };
    // The reason's code and arguments beside its text, as the journal file keeps them.
    const QString reason = entry.reason.english();
    const QString reasonCode = entry.reason.name();
    const QString reasonArgs = entry.reason.storedArgs();
    const std::pair<const char *, const QString *> texts[] = {{"reason", &reason},
                                                              {"reason_code", &reasonCode},
                                                              {"reason_args", &reasonArgs},
                                                              {"field", &entry.field},
                                                              {"program", &entry.program},
                                                              {"x", &entry.x},
                                                              {"y", &entry.y},
                                                              {"z", &entry.z}};
    for (const auto &[name, text] : texts) {
        if (!text->isEmpty())
            object.insert(QLatin1String(name), *text);
    }
    if (entry.rows)
        object.insert(QStringLiteral("rows"), *entry.rows);
    // Compact JSON escapes line ends inside texts, so that one entry is one line.
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<Entry> SpillFile::entryOf(const QByteArray &line)
{
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    const std::optional<Source> source
        = sourceNamed(object.value(QLatin1String("source")).toString());
    const std::optional<Kind> kind = kindNamed(object.value(QLatin1String("kind")).toString());
    const std::optional<Outcome> outcome
        = outcomeNamed(object.value(QLatin1String("outcome")).toString());
    const QJsonValue time = object.value(QLatin1String("time"));
    if (!source || !kind || !outcome || !time.isDouble())
        return std::nullopt;
    Entry entry;
    entry.time = QDateTime::fromMSecsSinceEpoch(qint64(time.toDouble()), Qt::UTC);
    entry.station = object.value(QLatin1String("station")).toString();
    entry.source = *source;
    entry.label = object.value(QLatin1String("label")).toString();
    entry.kind = *kind;
    entry.outcome = *outcome;
    entry.reason = base::Reason::fromStored(object.value(QLatin1String("reason")).toString(),
                                            object.value(QLatin1String("reason_code")).toString(),
                                            object.value(QLatin1String("reason_args")).toString());
    entry.field = object.value(QLatin1String("field")).toString();
    entry.program = object.value(QLatin1String("program")).toString();
    entry.x = object.value(QLatin1String("x")).toString();
    entry.y = object.value(QLatin1String("y")).toString();
    entry.z = object.value(QLatin1String("z")).toString();
    if (const QJsonValue rows = object.value(QLatin1String("rows")); rows.isDouble())
        entry.rows = rows.toInt();
    return entry;
}

bool SpillFile::isNameLine(const QByteArray &line)
{
    return line.startsWith(Header) && line.endsWith('\n')
           && !line.mid(qsizetype(sizeof(Header)) - 1).trimmed().isEmpty();
}

QString SpillFile::tokenOf(const QByteArray &nameLine)
{
    return QString::fromLatin1(nameLine.mid(qsizetype(sizeof(Header)) - 1).trimmed());
}

SpillFile::Found SpillFile::found() const
{
    QFile file(m_path);
    if (!file.exists())
        return Found::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Found::Unreadable;
    if (file.size() == 0)
        return Found::Empty;
    return isNameLine(file.readLine(MaxNameLine)) ? Found::Named : Found::NotNamed;
}

qint64 SpillFile::countEntries() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    qint64 lines = 0;
    QByteArray chunk;
    while (!(chunk = file.read(1 << 16)).isEmpty())
        lines += chunk.count('\n');
    return std::max<qint64>(0, lines - 1);
}

QString SpillFile::append(const std::vector<Entry> &entries)
{
    if (entries.empty())
        return {};
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder));
    // Entries appended to a file without its first line could not be taken exactly once: such
    // a file is set aside for its lines to be taken as they are, and a new one is begun.
    const Found before = found();
    if ((before == Found::NotNamed || before == Found::Unreadable) && setAside().isEmpty())
        return QStringLiteral("the spill file %1 cannot be read and cannot be moved aside")
            .arg(QDir::toNativeSeparators(m_path));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    // A new file, or one a failed first append left empty: its name in the folder is synced
    // with its first entries.
    const bool fresh = file.size() == 0;
    QByteArray data;
    if (fresh) {
        // Also where the first append failed (a full disk) and was cut off again.
        data = Header + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '\n';
    } else {
        // A line cut short by a power cut is ended, so that it spoils no entry after it.
        char last = '\n';
        if (!file.seek(file.size() - 1) || !file.getChar(&last))
            return file.errorString();
        if (last != '\n')
            data = "\n";
    }
    for (const Entry &entry : entries)
        data += line(entry);
    const qint64 size = file.size();
    if (file.write(data) != data.size() || !syncData(file)) {
        const QString error = file.errorString();
        // Whatever part went in is cut off again, so that a later append starts a whole line.
        file.resize(size);
        return error.isEmpty() ? QStringLiteral("the spill file could not be synced") : error;
    }
    if (fresh && !syncFolder(folder))
        return QStringLiteral("the folder %1 could not be synced")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

bool SpillFile::remove()
{
    return !QFile::exists(m_path) || QFile::remove(m_path);
}

QString SpillFile::setAside()
{
    const QString stem
        = m_path + AsideMark
          + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmsszzzZ"));
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stem + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(m_path, aside))
        return {};
    static_cast<void>(syncFolder(QFileInfo(m_path).absolutePath()));
    return aside;
}

QStringList SpillFile::waiting() const
{
    const QFileInfo info(m_path);
    const QString prefix = info.fileName() + AsideMark;
    QStringList files;
    const QFileInfoList found = info.dir().entryInfoList(
        {prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    // A time (and a number when two came in one millisecond) after the mark, nothing else: not
    // a temporary file of another program's.
    static const QRegularExpression stamp(QStringLiteral("^\\d{8}T\\d{6}(\\d{3})?Z(-\\d+)?$"));
    for (const QFileInfo &file : found) {
        if (stamp.match(file.fileName().mid(prefix.size())).hasMatch())
            files << file.filePath();
    }
    if (info.exists())
        files << m_path;
    return files;
}

QString defaultSpillPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/barlink/journal.spill");
}

} // namespace barlink::journal
