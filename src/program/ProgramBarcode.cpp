#include "program/ProgramBarcode.h"

#include "base/CurrentItem.h"
#include "base/DoubleScanGuard.h"
#include "base/Error.h"
#include "base/FileNames.h"
#include "base/FileWrites.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "base/Prompter.h"
#include "base/Reasons.h"
#include "base/RowValues.h"
#include "base/Settings.h"
#include "base/StationContext.h"
#include "base/StatusTexts.h"
#include "listmanager/ListManagerLink.h"
#include "program/ItemOutlet.h"
#include "program/ProgramFileReader.h"
#include "text/FieldSplitter.h"
#include "text/SingleByte.h"
#include "text/TrimSpaces.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcProgram, "barlink.program", QtWarningMsg)

namespace barlink::program {

namespace {

// Ends the handling of the label in hand; the reason is shown to the operator.
struct Abandon
{
    base::Reason reason;
};

// The text of an abandoned label with the path the error is about, when it names one.
QString withPath(const QString &text, const base::Error &error)
{
    return error.path().isEmpty() ? text : text + QStringLiteral(" (") + error.path() + u')';
}

bool isBlank(const QString &text)
{
    return text::trimSpaces(text).isEmpty();
}

QString programNameOf(QStringView header)
{
    return text::splitFields(header, QStringView(u"^")).field(1);
}

// A file counts as present only when it can be read and holds at least one byte; any
// error on the way counts as no file.
bool hasNonEmptyFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && !file.read(1).isEmpty();
}

// A program file is replaced by writing the new one beside it and renaming it over the old.
// A folder that takes no new file allows no such replacement; a plain file there that the
// operator may write is then written in place (never a link: it may lead out of the folder).
bool mustWriteInPlace(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink() && file.isWritable()
           && !QFileInfo(file.absolutePath()).isWritable();
}

} // namespace

ProgramLabel parseProgramLabel(QStringView label)
{
    using namespace programlabel;
    if (!label.isEmpty() && label.front().unicode() == PrefixCode)
        label = label.mid(PrefixLength);

    ProgramLabel parsed;
    const qsizetype marker = label.indexOf(QChar(TextMarker));
    if (marker >= 0) {
        parsed.form = ProgramLabel::Form::Program;
        parsed.header = label.left(marker).toString();
        parsed.programText = text::trimSpaces(label.mid(marker + 1));
    } else if (label.startsWith(ListPrefix)) {
        parsed.form = ProgramLabel::Form::ListLoad;
        parsed.listName = label.mid(ListPrefix.size()).toString();
        parsed.listName.chop(ListSuffixLength);
    }
    return parsed;
}

HeaderIndicators applyProgramHeader(QStringView header, base::CurrentItem &item)
{
    HeaderIndicators lit;
    const text::FieldSplitter fields = text::splitFields(header, QStringView(u"^"));
    for (qsizetype n = 2; n <= programlabel::LastCodedField; ++n) {
        const QString field = fields.field(n);
        if (field.isEmpty())
            continue;
        const QChar letter = field.front();
        const QString value = text::trimSpaces(QStringView(field).mid(1));
        switch (letter.unicode()) {
        case u'U':
            if (isBlank(item.runField))
                item.runField = value;
            break;
        case u'V':
            item.itemExtra = value;
            break;
        case u'X':
            item.dimX = value;
            lit.dimensions = true;
            break;
        case u'Y':
            item.dimY = value;
            lit.dimensions = true;
            break;
        case u'Z':
            item.dimZ = value;
            lit.dimensions = true;
            break;
        default:
            if (QString *variable = item.itemVar(letter)) {
                *variable = value;
                const bool firstFour = QStringView(u"ABCD").contains(letter);
                (firstFour ? lit.varsAToD : lit.varsEToI) = true;
            }
            break;
        }
    }
    return lit;
}

base::Reason ProgramBarcode::abandonedText(const base::Reason &reason)
{
    return base::Reason(base::Reason::Code::ProgramAbandoned, reason);
}

void ProgramBarcode::interpretProgramBarcode(const QString &label)
{
    qCDebug(lcProgram) << "program label of" << label.size() << "characters";
    m_itemTouched = false;
    m_rowsAdded = 0;
    m_outcome = {.kind = base::LabelOutcome::Kind::ProgramBarcode,
                 .result = base::LabelOutcome::Result::Taken,
                 .reason = {}};
    try {
        const ProgramLabel parsed = parseProgramLabel(label);
        if (parsed.form == ProgramLabel::Form::ListLoad)
            m_outcome.kind = base::LabelOutcome::Kind::List;
        handle(label, parsed);
    } catch (const Abandon &abandoned) {
        abandon(abandoned.reason);
    } catch (const ItemOutlet::ListManagerFailure &failure) {
        // The error in the one unexpected-error format, as the list manager gave it.
        abandon(base::Reason(base::Reason::Code::ListManagerFailed,
                             failure.asked(),
                             withPath(base::unexpectedErrorText(failure), failure)));
    } catch (const base::Error &error) {
        abandon(base::Reason::text(withPath(base::unexpectedErrorText(error), error)));
    } catch (const std::exception &error) {
        abandon(base::Reason::text(QString::fromLocal8Bit(error.what())));
    }
}

void ProgramBarcode::handle(const QString &text, const ProgramLabel &label)
{
    PlanSize size; // 0 x 0 for a bare item
    switch (label.form) {
    case ProgramLabel::Form::ListLoad:
        m_outcome = m_outlet.loadListFile(label.listName);
        return;
    case ProgramLabel::Form::Program: {
        // A name that would reach outside the g-code folder, and a name or dimension that
        // would break the row, are refused before anything changes.
        if (const base::Reason refusal = refusalOf(label.header); m_outlet.refuse(refusal)) {
            m_outcome.result = base::LabelOutcome::Result::Refused;
            m_outcome.reason = refusal;
            return;
        }
        if (refusedAsRepeat(text))
            return;
        size = takeProgram(label);
        break;
    }
    case ProgramLabel::Form::BareItem:
        if (refusedAsRepeat(text))
            return;
        // The item is sent as it is, with the comment of the program it names (none when it
        // names none), never an earlier program's.
        ProgramFileReader(m_context.settings, m_context.prompter).readComment(m_context.item);
        break;
    }

    m_itemTouched = true;
    // The clear start-up left pending goes with the first rows.
    ItemOutlet::callListManager(base::Reason(base::Reason::Code::ClearList),
                                [this] { (void)m_outlet.clearPendingList(true); });
    base::CurrentItem &item = m_context.item;
    item.itemComment = text::trimSpaces(item.programComment);
    m_outlet.sendItem(size.x, size.y, {.acknowledge = false}, m_rowsAdded);
    m_context.doubleScan.taken();
}

base::Reason ProgramBarcode::refusalOf(const QString &header)
{
    base::Reason refusal = base::programNameRefusal(programNameOf(header));
    base::CurrentItem given;
    (void)applyProgramHeader(header, given);
    for (const auto &[axis, value] :
         {std::pair{"X", given.dimX}, {"Y", given.dimY}, {"Z", given.dimZ}}) {
        if (refusal.isEmpty())
            refusal = base::rowValueRefusal(
                base::Reason(base::Reason::Code::DimensionValue, QString::fromLatin1(axis)), value);
    }
    return refusal;
}

bool ProgramBarcode::refusedAsRepeat(const QString &text)
{
    m_context.doubleScan.add(text);
    const std::optional<base::Reason> repeat = m_outlet.refuseRepeat();
    if (!repeat)
        return false;
    m_outcome.result = base::LabelOutcome::Result::Refused;
    m_outcome.reason = *repeat;
    return true;
}

PlanSize ProgramBarcode::takeProgram(const ProgramLabel &label)
{
    using Segment = base::OperatorDisplay::Segment;
    base::CurrentItem &item = m_context.item;
    m_context.display.setStatus(base::status::savingGCode());
    m_itemTouched = true;
    item.programName = programNameOf(label.header);
    item.itemRepeat = QStringLiteral("1");
    item.itemCount = QStringLiteral("1");
    m_context.display.setSegmentIndicator(Segment::Program, true);

    const HeaderIndicators lit = applyProgramHeader(label.header, item);
    if (lit.dimensions)
        m_context.display.setSegmentIndicator(Segment::Dimensions, true);
    if (lit.varsAToD)
        m_context.display.setSegmentIndicator(Segment::VarsAToD, true);
    if (lit.varsEToI)
        m_context.display.setSegmentIndicator(Segment::VarsEToI, true);

    const ProgramFileReader reader(m_context.settings, m_context.prompter);
    QByteArray saved;
    if (label.programText.size() > programlabel::UnsavedTextLength) {
        const QString path = reader.programFilePath(item.programName);
        if (path.isEmpty())
            throw Abandon{base::Reason(base::Reason::Code::NoProgramFile)};
        if (m_context.options.overwrite() || !hasNonEmptyFile(path)) {
            const QByteArray bytes = programFileBytes(label.programText);
            saved = bytes;
            if (m_context.writes.allow(base::Reason(
                    base::Reason::Code::ProgramFileWrite, path, QString::number(bytes.size()))))
                saveProgramFile(path, bytes);
        } else
            qCDebug(lcProgram) << "kept the existing program file" << path;
    }
    // With all dimensions given, the comment comes from the text just saved, else the file.
    return reader.completeDimensions(item, DimensionText::Shortest, saved);
}

QByteArray ProgramBarcode::programFileBytes(const QString &programText)
{
    return text::toSingleByte(programText) + QByteArrayLiteral("\r\n");
}

void ProgramBarcode::saveProgramFile(const QString &path, const QByteArray &bytes)
{
    const auto notWritten = [&path](const QFileDevice &file) {
        return Abandon{
            base::Reason(base::Reason::Code::ProgramNotWritten, path, file.errorString())};
    };
    if (mustWriteInPlace(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(bytes) != bytes.size() || !file.flush())
            throw notWritten(file);
        qCDebug(lcProgram) << "saved" << bytes.size() << "bytes in place to" << path;
        return;
    }
    // Written beside the program file and renamed over it only when complete, so the
    // machine never sees a half-written program.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw notWritten(file);
    qCDebug(lcProgram) << "saved" << bytes.size() << "bytes to" << path;
}

void ProgramBarcode::abandon(const base::Reason &reason)
{
    qCInfo(lcProgram) << "abandoned:" << reason.english();
    // Nothing of the abandoned label carries over to the next item; a list label leaves the
    // item as it was.
    if (m_itemTouched)
        m_outlet.abandonItem();
    else
        m_context.doubleScan.drop();
    const base::Reason text = ItemOutlet::withRowsAdded(abandonedText(reason), m_rowsAdded);
    m_outcome.result = base::LabelOutcome::Result::Failed;
    m_outcome.reason = text;
    m_context.display.setStatus(text.shown());
    m_context.prompter.inform(base::Prompter::Icon::Warning, text.shown());
}

} // namespace barlink::program
