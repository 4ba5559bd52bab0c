#include "CuttingList.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace barlink::labeltool {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; the five unused codes stay as
// Latin-1 reads them.
constexpr std::array<char16_t, 32> Windows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(Windows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString normalisedHeader(const QString &header)
{
    QString key;
    for (const QChar c : header.toLower()) {
        if (c.isLetterOrNumber())
            key += c;
    }
    return key;
}

const QHash<QString, CuttingColumn> &headerNames()
{
    static const QHash<QString, CuttingColumn> names = [] {
        using C = CuttingColumn;
        const std::pair<C, const char16_t *> words[] = {
            {C::Name, u"name"},
            {C::Name, u"piece"},
            {C::Name, u"part"},
            {C::Name, u"piecename"},
            {C::Name, u"partname"},
            {C::Name, u"teil"},
            {C::Name, u"teilname"},
            {C::Name, u"bauteil"},
            {C::Name, u"bezeichnung"},
            {C::Name, u"nome"},
            {C::Name, u"pezzo"},
            {C::Name, u"nomepezzo"},
            {C::Name, u"particolare"},
            {C::Program, u"program"},
            {C::Program, u"programme"},
            {C::Program, u"programm"},
            {C::Program, u"programma"},
            {C::Program, u"prog"},
            {C::Program, u"cnc"},
            {C::X, u"x"},
            {C::X, u"length"},
            {C::X, u"länge"},
            {C::X, u"laenge"},
            {C::X, u"lunghezza"},
            {C::Y, u"y"},
            {C::Y, u"width"},
            {C::Y, u"breite"},
            {C::Y, u"larghezza"},
            {C::Z, u"z"},
            {C::Z, u"thickness"},
            {C::Z, u"dicke"},
            {C::Z, u"stärke"},
            {C::Z, u"staerke"},
            {C::Z, u"spessore"},
            {C::Field, u"field"},
            {C::Field, u"workfield"},
            {C::Field, u"feld"},
            {C::Field, u"arbeitsfeld"},
            {C::Field, u"campo"},
            {C::Field, u"campodilavoro"},
            {C::Quantity, u"quantity"},
            {C::Quantity, u"qty"},
            {C::Quantity, u"count"},
            {C::Quantity, u"anzahl"},
            {C::Quantity, u"menge"},
            {C::Quantity, u"stück"},
            {C::Quantity, u"stueck"},
            {C::Quantity, u"stk"},
            {C::Quantity, u"quantità"},
            {C::Quantity, u"quantita"},
            {C::Quantity, u"qta"},
            {C::Material, u"material"},
            {C::Material, u"werkstoff"},
            {C::Material, u"materiale"},
            {C::Comment, u"comment"},
            {C::Comment, u"note"},
            {C::Comment, u"notes"},
            {C::Comment, u"kommentar"},
            {C::Comment, u"bemerkung"},
            {C::Comment, u"commento"},
            {C::Order, u"order"},
            {C::Order, u"customer"},
            {C::Order, u"customerorder"},
            {C::Order, u"auftrag"},
            {C::Order, u"kunde"},
            {C::Order, u"kundeauftrag"},
            {C::Order, u"ordine"},
            {C::Order, u"cliente"},
            {C::Order, u"commessa"},
            {C::Order, u"clienteordine"},
        };
        QHash<QString, CuttingColumn> hash;
        for (const auto &[column, word] : words)
            hash.insert(QString::fromUtf16(word), column);
        return hash;
    }();
    return names;
}

// One record of fields and the line it begins on.
struct Record
{
    int line = 0;
    QStringList fields;
    bool unterminated = false;
};

// Splits the text into RFC 4180 records. A quote counts only at the start of a field; one
// later in an unquoted field is kept as it is, as the office programs write such fields.
QList<Record> records(const QString &text, QChar separator)
{
    QList<Record> result;
    Record record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    record.line = line;
    const auto endField = [&] {
        record.fields << field;
        field.clear();
        fieldStarted = false;
    };
    const auto endRecord = [&](int nextLine) {
        endField();
        result << record;
        record = Record{};
        record.line = nextLine;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++line;
            endRecord(line);
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted)
        record.unterminated = true;
    if (quoted || !field.isEmpty() || !record.fields.isEmpty())
        endRecord(line);
    return result;
}

QChar separatorOf(const QString &text)
{
    const QString firstLine = text.left(text.indexOf(QLatin1Char('\n')));
    return firstLine.count(QLatin1Char(';')) > firstLine.count(QLatin1Char(',')) ? QLatin1Char(';')
                                                                                 : QLatin1Char(',');
}

bool blank(const QStringList &fields)
{
    for (const QString &field : fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

} // namespace

QString cuttingListText(const QByteArray &bytes, bool *windows1252)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    const bool valid = !utf8.hasError();
    if (windows1252)
        *windows1252 = !valid;
    if (!valid)
        return fromWindows1252(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

CuttingColumn cuttingColumn(const QString &header)
{
    return headerNames().value(normalisedHeader(header), CuttingColumn::Count);
}

CuttingList readCuttingList(const QByteArray &bytes)
{
    CuttingList list;
    const QString text = cuttingListText(bytes, &list.windows1252);
    list.separator = separatorOf(text);
    QList<Record> all = records(text, list.separator);
    while (!all.isEmpty() && blank(all.front().fields))
        all.removeFirst();
    if (all.isEmpty()) {
        list.error = QStringLiteral("the cutting list is empty");
        return list;
    }

    const Record header = all.takeFirst();
    QList<CuttingColumn> columns;
    bool known = false;
    for (const QString &name : header.fields) {
        const CuttingColumn column = cuttingColumn(name);
        columns << column;
        if (column != CuttingColumn::Count)
            known = true;
        else if (!name.trimmed().isEmpty() && !list.unknownColumns.contains(name.trimmed()))
            list.unknownColumns << name.trimmed();
    }
    if (!known) {
        list.error = QStringLiteral("line %1 is no header: none of its names is a known column")
                         .arg(header.line);
        return list;
    }

    for (const Record &record : std::as_const(all)) {
        if (record.unterminated) {
            list.problems << LineProblem{record.line,
                                         QStringLiteral("a quoted field is never closed")};
            continue;
        }
        if (blank(record.fields))
            continue;
        CuttingRow row;
        row.line = record.line;
        for (qsizetype i = 0; i < record.fields.size() && i < columns.size(); ++i) {
            // A column named twice: the first one holds.
            if (columns[i] != CuttingColumn::Count && row.values[int(columns[i])].isEmpty())
                row.values[int(columns[i])] = record.fields[i].trimmed();
        }
        list.rows << row;
    }
    return list;
}

} // namespace barlink::labeltool
