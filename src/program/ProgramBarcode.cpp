#include "program/ProgramBarcode.h"
#include "text/TrimSpaces.h"

#include "base/Error.h"
#include "base/FileNames.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "base/Pacer.h"
#include "base/Prompter.h"
#include "base/Settings.h"
#include "base/StatusTexts.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "base/CurrentItem.h"
#include "label/ListFileLoader.h"
#include "label/MirrorMatch.h"
#include "program/ListRow.h"
#include "program/ProgramFileReader.h"
#include "listmanager/Application.h"
#include "listmanager/ListManagerLink.h"
#include "text/FieldSplitter.h"
#include "text/NumberFormat.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"
#include "text/SingleByte.h"

#include <QBuffer>
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
    QString reason;
};


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

float singleValue(const QString &text)
{
    return text::toSingle(text::numericValue(text));
}

// Runs one list manager call; its failure abandons the label, saying what was asked.
template<typename Call> void callListManager(const QString &what, Call &&call)
{
    try {
        call();
    } catch (const Error &error) {
        throw Abandon{QStringLiteral("the list manager failed to %1: %2")
                          .arg(what, unexpectedErrorText(error))};
    }
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

HeaderIndicators applyProgramHeader(QStringView header, label::CurrentItem &item)
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

QString ProgramBarcode::abandonedText(const QString &reason)
{
    return QStringLiteral("Program barcode abandoned: ") + reason;
}

void ProgramBarcode::interpretProgramBarcode(const QString &label)
{
    qCDebug(lcProgram) << "program label of" << label.size() << "characters";
    m_itemTouched = false;
    m_rowsAdded = 0;
    try {
        label::CurrentItem &item = m_parts.item;
        if (item.clearListPending) {
            callListManager(QStringLiteral("clear the list"), [this] {
                if (const auto &lateBound = m_parts.link.lateBoundList())
                    lateBound->setVisible(true);
                m_parts.link.clearHostList();
            });
            item.clearListPending = false;
        }
        handle(parseProgramLabel(label));
    } catch (const Abandon &abandoned) {
        abandon(abandoned.reason);
    } catch (const Error &error) {
        abandon(unexpectedErrorText(error));
    } catch (const std::exception &error) {
        abandon(QString::fromLocal8Bit(error.what()));
    }
}

void ProgramBarcode::handle(const ProgramLabel &label)
{
    float x = 0;
    float y = 0;
    switch (label.form) {
    case ProgramLabel::Form::ListLoad:
        callListManager(QStringLiteral("clear the list"), [this] { m_parts.link.clearHostList(); });
        (void)label::loadListFile(
            label.listName,
            {m_parts.settings, m_parts.link, m_parts.display, m_parts.pacer, m_parts.prompter});
        return;
    case ProgramLabel::Form::Program: {
        // A name that would reach outside the g-code folder is refused before anything
        // changes.
        const QString name = programNameOf(label.header);
        if (!app::isSafeRelativeName(text::trimSpaces(name))) {
            m_parts.display.setStatus(app::unsafeNameMessage(name));
            return;
        }
        takeProgram(label, x, y);
        break;
    }
    case ProgramLabel::Form::BareItem:
        // The item is sent as it is, with the comment of the program it names (none when it
        // names none), never an earlier program's.
        ProgramFileReader(m_parts.settings, m_parts.prompter).readComment(m_parts.item);
        break;
    }

    m_itemTouched = true;
    label::CurrentItem &item = m_parts.item;
    item.itemComment = text::trimSpaces(item.programComment);
    if (label::matchMirrorSpec(m_parts.autoSel.settings(), item)) {
        item.runField = QStringLiteral("&");
        sendStep(x, y);
        item.runField = QStringLiteral("&");
        sendStep(x, y);
    } else {
        sendStep(x, y);
    }
    m_parts.pacer.pause(0.6f);
    app::showReadyAfterPause(m_parts.display, m_parts.pacer);
    wrapUp();
}

void ProgramBarcode::takeProgram(const ProgramLabel &label, float &x, float &y)
{
    label::CurrentItem &item = m_parts.item;
    m_parts.display.setStatus(app::status::savingGCode());
    m_itemTouched = true;
    item.programName = programNameOf(label.header);
    item.itemRepeat = QStringLiteral("1");
    item.itemCount = QStringLiteral("1");
    m_parts.display.setSegmentIndicator(1, true);

    const HeaderIndicators lit = applyProgramHeader(label.header, item);
    if (lit.dimensions)
        m_parts.display.setSegmentIndicator(2, true);
    if (lit.varsAToD)
        m_parts.display.setSegmentIndicator(3, true);
    if (lit.varsEToI)
        m_parts.display.setSegmentIndicator(4, true);

    QByteArray saved;
    if (label.programText.size() > programlabel::UnsavedTextLength) {
        const QString path = ProgramFileReader(m_parts.settings, m_parts.prompter)
                                 .programFilePath(item.programName);
        if (path.isEmpty())
            throw Abandon{QStringLiteral("it names no program file.")};
        if (m_parts.options.overwrite() || !hasNonEmptyFile(path))
            saved = saveProgramFile(path, label.programText);
        else
            qCDebug(lcProgram) << "kept the existing program file" << path;
    }
    completeDimensions(x, y, saved);
}

QByteArray ProgramBarcode::saveProgramFile(const QString &path, const QString &programText)
{
    const QByteArray bytes = text::toSingleByte(programText) + QByteArrayLiteral("\r\n");
    const auto notWritten = [&path](const QFileDevice &file) {
        return Abandon{QStringLiteral("the program file %1 could not be written (%2).")
                           .arg(path, file.errorString())};
    };
    if (mustWriteInPlace(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(bytes) != bytes.size() || !file.flush())
            throw notWritten(file);
        qCDebug(lcProgram) << "saved" << bytes.size() << "bytes in place to" << path;
        return bytes;
    }
    // Written beside the program file and renamed over it only when complete, so the
    // machine never sees a half-written program.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw notWritten(file);
    qCDebug(lcProgram) << "saved" << bytes.size() << "bytes to" << path;
    return bytes;
}

void ProgramBarcode::completeDimensions(float &x, float &y, const QByteArray &saved)
{
    label::CurrentItem &item = m_parts.item;
    x = singleValue(item.dimX);
    y = singleValue(item.dimY);
    const float z = singleValue(item.dimZ);
    if (x != 0 && y != 0 && z != 0) {
        // No program file is read for the dimensions; the comment still comes from this
        // item's program: the text just saved, else the file.
        const ProgramFileReader reader(m_parts.settings, m_parts.prompter);
        if (saved.isEmpty()) {
            reader.readComment(item);
        } else {
            QBuffer buffer;
            buffer.setData(saved);
            buffer.open(QIODevice::ReadOnly);
            item.programComment = readProgramComment(buffer, reader.locale());
        }
        return;
    }

    float readX = 0;
    float readY = 0;
    float readZ = 0;
    readProgramFile(m_parts.settings, item, m_parts.prompter, readX, readY, readZ);
    for (auto [dimension, value] :
         {std::pair{&item.dimX, readX}, {&item.dimY, readY}, {&item.dimZ, readZ}}) {
        if (text::numericValue(*dimension) == 0)
            *dimension = text::formatSingleShortest(value);
    }
    x = singleValue(item.dimX);
    y = singleValue(item.dimY);
}

void ProgramBarcode::sendStep(float x, float y)
{
    label::CurrentItem &item = m_parts.item;
    fieldsel::FieldSelector &selector = m_parts.selector;
    const QChar first = item.runField.isEmpty() ? QChar() : item.runField.front();
    if (first == QLatin1Char('&')) {
        m_parts.display.setAutoFieldSelectionVisible(true);
        item.runField = selector.autoSelectField(8, x, y, item.runField);
    } else if (first == QLatin1Char('P') || item.runField.isEmpty()) {
        m_parts.display.setAutoFieldSelectionVisible(true);
        item.runField = selector.autoSelectField(0, x, y, item.runField);
    } else if (first == QLatin1Char('W')) {
        m_parts.display.setAutoFieldSelectionVisible(true);
        item.runField = selector.autoSelectField(1, x, y, item.runField);
    } else if (QStringView(u"NSATRM").contains(first)) {
        (void)selector.autoSelectField(7, 0, 0, item.runField);
    }

    m_parts.display.setStatus(app::status::addingToList());
    callListManager(QStringLiteral("add the row"),
                    [this] { addListRow(m_parts.item, m_parts.link, m_parts.provider); });
    ++m_rowsAdded;
    if (m_parts.options.autoStart())
        callListManager(QStringLiteral("start the list"), [this] { m_parts.link.hostListStart(); });
    item.runField.clear();
    item.runFieldFixed = false;
}

void ProgramBarcode::wrapUp()
{
    label::CurrentItem &item = m_parts.item;
    m_parts.display.hideSegmentIndicators();
    item.lastProgramName = text::trimSpaces(item.programName);
    item.lastProgramComment = text::trimSpaces(item.programComment);
    if (m_parts.options.showEd() && launchEditor)
        launchEditor();
    item.resetItem();
    m_parts.display.setAutoFieldSelectionVisible(false);
}

void ProgramBarcode::abandon(const QString &reason)
{
    qCInfo(lcProgram) << "abandoned:" << reason;
    if (m_itemTouched) {
        // Nothing of the abandoned label carries over to the next item.
        m_parts.display.hideSegmentIndicators();
        m_parts.item.resetItem();
        m_parts.item.runFieldFixed = false;
        m_parts.display.setAutoFieldSelectionVisible(false);
    }
    QString text = abandonedText(reason);
    if (m_rowsAdded > 0)
        text += QStringLiteral(" Rows of this item already added: %1.").arg(m_rowsAdded);
    m_parts.display.setStatus(text);
    m_parts.prompter.inform(app::Prompter::Icon::Warning, text);
}

} // namespace barlink::program
