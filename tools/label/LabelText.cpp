#include "LabelText.h"

#include "base/Error.h"
#include "base/FileNames.h"
#include "label/FieldCodes.h"
#include "program/CompressedLabel.h"
#include "program/CompressedLabelDecoder.h"
#include "program/ProgramBarcode.h"
#include "scanner/ScanPoller.h"

#include <algorithm>

namespace barlink::labeltool {

namespace {

namespace pl = program::programlabel;

LabelText refused(const QString &error)
{
    LabelText label;
    label.error = error;
    return label;
}

bool isLatin1(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

bool isPrintableAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F;
    });
}

// Characters the scanner polling acts on before a label reaches the dispatcher: "^" sends
// it to the program barcode handler, "!" becomes a blank.
QString ordinaryLabelProblem(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("the label would be empty");
    if (!isLatin1(text))
        return QStringLiteral("\"%1\" holds a character the scanner cannot send").arg(text);
    if (text.contains(QChar(pl::Separator)))
        return QStringLiteral("\"%1\" holds \"^\", which makes it a program barcode").arg(text);
    if (text.contains(QChar(pl::TextMarker)))
        return QStringLiteral("\"%1\" holds \"!\", which the station reads as a blank").arg(text);
    if (text.front().unicode() == program::compressedlabel::Marker)
        return QStringLiteral("\"%1\" begins with \"\u00f1\", the mark of a compressed label")
            .arg(text);
    if (text.front() == QLatin1Char('\'') && text.indexOf(QLatin1Char('$'), 1) > 0)
        return QStringLiteral("\"%1\" begins with \"'\" and holds \"$\", which the station cuts")
            .arg(text);
    return {};
}

LabelText ordinary(const QString &text)
{
    const QString problem = ordinaryLabelProblem(text);
    if (!problem.isEmpty())
        return refused(problem + QLatin1Char('.'));
    LabelText label;
    label.text = text;
    label.twoDimensional = !isPrintableAscii(text);
    return label;
}

QString unsafeNameError(const QString &name)
{
    return QStringLiteral("\"%1\" reaches outside its folder; the station refuses it.").arg(name);
}

// The part of a program file that goes into the label: the file without its final line end.
QString programTextOf(const QByteArray &programFile)
{
    QByteArray bytes = programFile;
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromLatin1(bytes);
}

} // namespace

LabelText commandLabel(const QString &name)
{
    static const QStringList commands{QStringLiteral("START"),
                                      QStringLiteral("STOP"),
                                      QStringLiteral("END"),
                                      QStringLiteral("CLEAR"),
                                      QStringLiteral("SETPOINT"),
                                      QStringLiteral("SETP")};
    const QString upper = name.toUpper();
    if (!commands.contains(upper))
        return refused(QStringLiteral("\"%1\" is no list command (%2).")
                           .arg(name, commands.join(QStringLiteral(", "))));
    return ordinary(QLatin1Char('%') + upper + QLatin1Char('%'));
}

LabelText fieldCodeLabel(const QString &code)
{
    if (!label::FieldCodes::isFieldCode(code))
        return refused(QStringLiteral("\"%1\" is none of the 36 work field codes (N, N1, N/, N1/, "
                                      "N/0, N/1, the same with M, S, A, T and R).")
                           .arg(code));
    return ordinary(QLatin1Char('%') + code + QLatin1Char('%'));
}

LabelText programNameLabel(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return refused(QStringLiteral("a program name label needs a name."));
    if (name.contains(QLatin1Char('%')) || name.contains(QLatin1Char('$')))
        return refused(
            QStringLiteral("\"%1\" holds \"%\" or \"$\", which makes it a segment label.")
                .arg(name));
    if (name.size() >= 3 && name.size() <= 5
        && label::FieldCodes::isFieldCode(trimmed.mid(1, name.size() - 2)))
        return refused(QStringLiteral("\"%1\" would be read as a field-code label.").arg(name));
    if (!base::isSafeRelativeName(trimmed))
        return refused(unsafeNameError(trimmed));
    LabelText label = ordinary(name);
    if (label.ok() && !trimmed.endsWith(QLatin1String(".CNC"), Qt::CaseInsensitive))
        label.notes << QStringLiteral("the station sends it as %1.CNC.").arg(trimmed);
    if (label.ok())
        label.notes << QStringLiteral("a plain name needs a work field: a field-code label "
                                      "scanned before it, a default field, or selection by name.");
    return label;
}

int segmentType(const QString &name)
{
    static const QStringList words{QStringLiteral("list"),
                                   QStringLiteral("program"),
                                   QStringLiteral("dims"),
                                   QStringLiteral("vars-ad"),
                                   QStringLiteral("vars-ei")};
    const qsizetype word = words.indexOf(name.toLower());
    if (word >= 0)
        return int(word);
    if (name.size() == 1 && name.front() >= QLatin1Char('0') && name.front() <= QLatin1Char('4'))
        return name.front().unicode() - u'0';
    return -1;
}

LabelText segmentLabel(int type, int count, const QStringList &values)
{
    struct Arity
    {
        qsizetype least;
        qsizetype most;
        const char *what;
    };
    static const Arity arities[] = {
        {1, 1, "a list name"},
        {1, 3, "a program name, optionally a run field and one more value"},
        {3, 3, "X, Y and Z"},
        {4, 4, "variables A, B, C and D"},
        {4, 4, "variables E, F, G and I"},
    };
    if (type < 0 || type > 4)
        return refused(QStringLiteral("segment types are 0 to 4 (list, program, dims, vars-ad, "
                                      "vars-ei)."));
    if (!(count >= 1 && count <= 4) && count != 9)
        return refused(QStringLiteral("an item is made of 1 to 4 segment labels (or repeated "
                                      "999 times with count 9), not %1.")
                           .arg(count));
    const Arity &arity = arities[type];
    if (values.size() < arity.least || values.size() > arity.most)
        return refused(
            QStringLiteral("a type %1 segment takes %2.").arg(type).arg(QLatin1String(arity.what)));
    for (const QString &value : values) {
        if (value.contains(QLatin1Char('%')))
            return refused(QStringLiteral("\"%1\": \"%\" would end the label early.").arg(value));
        if (type != 0 && (value.isEmpty() || value.contains(QLatin1Char(' '))))
            return refused(
                QStringLiteral("\"%1\": each value is one word without blanks.").arg(value));
    }
    if ((type == 0 || type == 1) && !base::isSafeRelativeName(values.front().trimmed()))
        return refused(unsafeNameError(values.front()));

    LabelText label = ordinary(QLatin1Char('%') + QString::number(type) + QString::number(count)
                               + values.join(QLatin1Char(' ')));
    if (label.ok() && type == 1 && values.size() == 1)
        label.notes << QStringLiteral("without a run field the name is taken as it is: no .CNC "
                                      "added, no program file read.");
    return label;
}

LabelText listLabel(const QString &listName)
{
    if (listName.contains(QChar(pl::TextMarker)) || listName.contains(QChar(pl::Separator)))
        return refused(QStringLiteral("a list name cannot hold \"!\" or \"^\"."));
    if (!isLatin1(listName))
        return refused(
            QStringLiteral("\"%1\" holds a character the scanner cannot send.").arg(listName));
    if (!base::isSafeRelativeName(listName))
        return refused(unsafeNameError(listName));
    LabelText label;
    label.text = pl::ListPrefix + listName + QString(pl::ListSuffixLength, QChar(pl::Separator));
    label.twoDimensional = true;
    return label;
}

LabelText bareItemLabel()
{
    LabelText label;
    label.text = QChar(pl::Separator);
    return label;
}

LabelText programBarcodeLabel(const QString &name,
                              const QList<HeaderField> &fields,
                              const QByteArray &programFile)
{
    if (name.trimmed().isEmpty())
        return refused(QStringLiteral("a program barcode needs a program name."));
    if (name.contains(QChar(pl::Separator)) || name.contains(QChar(pl::TextMarker)))
        return refused(QStringLiteral("a program name cannot hold \"^\" or \"!\"."));
    if (!isLatin1(name))
        return refused(
            QStringLiteral("\"%1\" holds a character the scanner cannot send.").arg(name));
    if (!base::isSafeRelativeName(name.trimmed()))
        return refused(unsafeNameError(name));
    const char16_t first = name.front().unicode();
    if (first == pl::PrefixCode || first == program::compressedlabel::Marker || first == u'\'')
        return refused(
            QStringLiteral("a program name cannot begin with \"%1\".").arg(name.front()));
    if (fields.size() > pl::LastCodedField - 1)
        return refused(QStringLiteral("a header carries at most %1 coded fields.")
                           .arg(pl::LastCodedField - 1));

    LabelText label;
    QString header = name;
    for (const HeaderField &field : fields) {
        if (!pl::CodeLetters.contains(field.letter))
            return refused(QStringLiteral("\"%1\" is no header letter (%2).")
                               .arg(field.letter)
                               .arg(pl::CodeLetters));
        if (field.value.contains(QChar(pl::Separator))
            || field.value.contains(QChar(pl::TextMarker)))
            return refused(
                QStringLiteral("the %1 value cannot hold \"^\" or \"!\".").arg(field.letter));
        if (!isLatin1(field.value))
            return refused(QStringLiteral("the %1 value holds a character the scanner cannot send.")
                               .arg(field.letter));
        if (field.value.trimmed() != field.value)
            label.notes << QStringLiteral("the station drops the blanks around the %1 value.")
                               .arg(field.letter);
        header += QChar(pl::Separator);
        header += field.letter;
        header += field.value;
    }

    // The scanner polling hands a label to the program barcode handler only when it holds
    // "^": a header without coded fields gets one empty field, which the station skips.
    if (fields.isEmpty())
        header += QChar(pl::Separator);

    const QString programText = programTextOf(programFile);
    if (programText.size() <= pl::UnsavedTextLength)
        label.notes << QStringLiteral("a program text of %1 characters or fewer is not saved by "
                                      "the station; only the item is sent.")
                           .arg(pl::UnsavedTextLength);
    else if (programText.startsWith(QLatin1Char(' ')) || programText.endsWith(QLatin1Char(' ')))
        label.notes << QStringLiteral("the station saves the program without its leading and "
                                      "trailing blanks.");
    label.text = header + QChar(pl::TextMarker) + programText;
    label.twoDimensional = true;
    if (label.text.size() > scanner::ScanPoller::MaxScanBuffer)
        return refused(QStringLiteral("the label has %1 characters; the station takes at most %2.")
                           .arg(label.text.size())
                           .arg(scanner::ScanPoller::MaxScanBuffer));
    return label;
}

LabelText withScannerPrefix(const LabelText &label, const QString &seven)
{
    if (!label.ok())
        return label;
    if (seven.size() != pl::PrefixLength - 1 || !isLatin1(seven))
        return refused(QStringLiteral("the prefix takes exactly %1 characters after the code 209.")
                           .arg(pl::PrefixLength - 1));
    if (!label.text.contains(QChar(pl::Separator)))
        return refused(QStringLiteral("only labels for the program barcode handler (program, list, "
                                      "bare) are read with the prefix."));
    LabelText prefixed = label;
    prefixed.text = QChar(pl::PrefixCode) + seven + label.text;
    prefixed.twoDimensional = true;
    return prefixed;
}

LabelText compressedLabel(const LabelText &label, int level)
{
    if (!label.ok())
        return label;
    LabelText compressed = label;
    try {
        compressed.text = program::makeCompressedLabel(label.text, level);
    } catch (const base::Error &error) {
        return refused(error.description());
    }
    compressed.twoDimensional = true;
    return compressed;
}

QString checkAgainstDecoder(const LabelText &label, const QString &expected)
{
    if (!label.text.startsWith(QChar(program::compressedlabel::Marker)))
        return label.text == expected ? QString() : QStringLiteral("the label differs");
    const program::CompressedLabelDecoder::Result result
        = program::CompressedLabelDecoder().decode(label.text);
    if (!result.ok())
        return result.error;
    return result.text == expected ? QString()
                                   : QStringLiteral("the decoder gives back a different text");
}

} // namespace barlink::labeltool
