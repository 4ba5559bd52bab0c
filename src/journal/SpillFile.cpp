#include "SpillFile.h"

#include "DiskSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

namespace barlink::journal {

namespace {

constexpr char Header[] = "barlink-journal-spill 1 ";

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
    const std::pair<const char *, const QString *> texts[] = {{"reason", &entry.reason},
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
    entry.reason = object.value(QLatin1String("reason")).toString();
    entry.field = object.value(QLatin1String("field")).toString();
    entry.program = object.value(QLatin1String("program")).toString();
    entry.x = object.value(QLatin1String("x")).toString();
    entry.y = object.value(QLatin1String("y")).toString();
    entry.z = object.value(QLatin1String("z")).toString();
    if (const QJsonValue rows = object.value(QLatin1String("rows")); rows.isDouble())
        entry.rows = rows.toInt();
    return entry;
}

QString SpillFile::append(const std::vector<Entry> &entries)
{
    if (entries.empty())
        return {};
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder));
    QFile file(m_path);
    const bool made = !file.exists();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    QByteArray data;
    if (made) {
        data = Header + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '\n';
    } else if (file.size() > 0) {
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
    if (made && !syncFolder(folder))
        return QStringLiteral("the folder %1 could not be synced")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

SpillFile::Contents SpillFile::read() const
{
    Contents contents;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return contents;
    const QByteArray first = file.readLine();
    if (!first.startsWith(Header) || !first.endsWith('\n')) {
        // Without its name the entries cannot be taken exactly once: they are left where they
        // are for a person to look at, and counted as unreadable.
        contents.unreadable = 1;
        return contents;
    }
    contents.token = QString::fromLatin1(first.mid(qsizetype(sizeof(Header)) - 1).trimmed());
    while (!file.atEnd()) {
        const QByteArray text = file.readLine();
        if (!text.endsWith('\n')) {
            ++contents.unreadable;
            break;
        }
        if (std::optional<Entry> entry = entryOf(text))
            contents.entries.push_back(std::move(*entry));
        else if (!text.trimmed().isEmpty())
            ++contents.unreadable;
    }
    return contents;
}

bool SpillFile::remove()
{
    return !QFile::exists(m_path) || QFile::remove(m_path);
}

QString SpillFile::setAside()
{
    const QString aside
        = m_path + QStringLiteral("-unreadable-")
          + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmssZ"));
    return QFile::rename(m_path, aside) ? aside : QString();
}

QString defaultSpillPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/barlink/journal.spill");
}

} // namespace barlink::journal
