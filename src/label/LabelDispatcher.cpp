#include "label/LabelDispatcher.h"

#include "base/CurrentItem.h"
#include "base/DoubleScanGuard.h"
#include "base/Error.h"
#include "base/FileNames.h"
#include "base/FileWrites.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "base/Reasons.h"
#include "base/RowValues.h"
#include "base/Settings.h"
#include "base/StationContext.h"
#include "base/StatusTexts.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "label/CompanionCsv.h"
#include "label/FieldCodes.h"
#include "label/ItemSender.h"
#include "listmanager/ListManagerLink.h"
#include "program/ProgramFileReader.h"
#include "text/NumericValue.h"
#include "text/TrimSpaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcLabel, "barlink.label", QtWarningMsg)

namespace barlink::label {

namespace {

// Outcome of a label that did not complete an item.
enum Outcome { NotTakenIn = 0, NoRunField = 1, SegmentTakenIn = 2 };

// A segment's type digit is the number of its indicator.
using Segment = base::OperatorDisplay::Segment;

// "PROG" and "PROG.cnc" both name the program file "PROG.CNC" / "PROG.cnc".
QString withCncExtension(QString name)
{
    if (name.right(4).toUpper() != QLatin1String(".CNC"))
        name += QStringLiteral(".CNC");
    return name;
}

// The numeric value of one character: its digit, or 0.
int digitValue(const QString &character)
{
    return static_cast<int>(text::numericValue(character));
}

} // namespace

bool LabelDispatcher::interpretLabel(const QString &label)
{
    qCDebug(lcLabel) << "label" << label;
    base::CurrentItem &item = m_context.item;

    using Kind = base::LabelOutcome::Kind;
    using Result = base::LabelOutcome::Result;
    const bool command = isCommand(label);
    const QString fieldCode = command ? QString() : fieldCodeIn(label);
    const bool plain = isPlainLabel(label);
    const Kind segmentKind
        = digitValue(label.mid(1, 1)) == int(Segment::LoadList) ? Kind::List : Kind::Segment;
    const Kind kind = command                ? Kind::Command
                      : !fieldCode.isEmpty() ? Kind::FieldCode
                      : plain                ? Kind::PlainName
                                             : segmentKind;
    // Until it is decided, a label whose handling throws counts as failed, with its kind.
    decide(kind, Result::Failed);

    if (command) {
        // A list command carries out the clear start-up left pending; other labels leave it
        // for the first that sends rows.
        const bool cleared = m_sender.clearPendingList(false);
        runCommand(label, cleared);
        m_context.doubleScan.forget();
        decide(Kind::Command, Result::Taken);
        return true;
    }
    if (!fieldCode.isEmpty()) {
        m_context.item.runField = fieldCode;
        m_context.item.runFieldFixed = true;
        seedFieldSelection(fieldsel::SelectMode::SeedForNext);
        decide(Kind::FieldCode, Result::Taken);
        return true;
    }

    // A name that would reach outside its folder, and a value that would break the row, are
    // refused before anything changes.
    if (const base::Reason refusal = refusalOf(label); m_sender.refuse(refusal)) {
        decide(kind, Result::Refused, refusal);
        return false;
    }

    item.itemRepeat = QStringLiteral("1");
    item.itemCount = QStringLiteral("1");

    QString count;
    int outcome = NotTakenIn;
    if (plain) {
        try {
            takePlainLabel(label, count, outcome);
        } catch (...) {
            abandonItem();
            throw;
        }
    } else {
        const QString type = label.mid(1, 1);
        count = label.mid(2, 1);
        if (digitValue(count) == 9) {
            item.itemRepeat = QStringLiteral("999");
            count = QStringLiteral("1");
        }
        const int t = digitValue(type);
        // A segment needs its three-character header and a type that has an indicator;
        // anything else is not taken in.
        const bool takeIn = label.startsWith(QLatin1Char('%')) && label.size() >= 3 && t <= 4
                            && !m_segmentsSeen.contains(type);
        if (takeIn) {
            m_segmentsSeen += type;
            const QString contents = label.mid(3);
            m_context.display.setSegmentIndicator(Segment(t), true);
            if (Segment(t) == Segment::LoadList) {
                m_segmentsSeen.clear();
                try {
                    m_outcome = m_sender.loadListFile(contents);
                } catch (...) {
                    m_context.display.hideSegmentIndicators();
                    throw;
                }
                return false;
            }
            try {
                readSegmentContents(Segment(t), contents);
            } catch (...) {
                abandonItem();
                throw;
            }
            (void)m_tokens.nextToken(QString());
            outcome = SegmentTakenIn;
        }
    }
    if (outcome == SegmentTakenIn)
        m_context.doubleScan.add(label);

    const bool complete
        = !m_segmentsSeen.isEmpty() && text::numericValue(count) == double(m_segmentsSeen.size());
    if (complete) {
        // Labels that name no program (dimensions alone with a count of 1 or 9) send nothing.
        if (text::trimSpaces(item.programName).isEmpty()) {
            const base::Reason refusal(base::Reason::Code::NoProgramNamed);
            (void)m_sender.refuse(refusal);
            abandonItem();
            decide(kind, Result::Refused, refusal);
            return false;
        }
        if (const std::optional<base::Reason> repeat = m_sender.refuseRepeat()) {
            forgetSegments();
            decide(kind, Result::Refused, *repeat);
            return false;
        }
        m_rowsAdded = 0;
        base::Reason warning;
        try {
            warning = completeItem();
        } catch (const base::Error &error) {
            abandonItem();
            throw program::ItemOutlet::withRowsAdded(error, m_rowsAdded);
        } catch (...) {
            abandonItem();
            throw;
        }
        m_context.doubleScan.taken();
        decide(kind, Result::Taken, warning);
        return true;
    }

    switch (outcome) {
    case SegmentTakenIn:
        m_context.display.setStatus(base::status::waitingForNext());
        decide(kind, Result::Waiting);
        break;
    case NotTakenIn:
        m_context.display.setStatus(base::status::formattingError() + QStringLiteral("  ") + label);
        decide(kind, Result::Refused, notASegmentReason(label));
        break;
    default:
        // "Run Field Not Selected" stays
        decide(kind, Result::Refused, base::Reason(base::Reason::Code::NoWorkField));
        break;
    }
    return false;
}

base::Reason LabelDispatcher::notASegmentReason(const QString &label) const
{
    if (!label.startsWith(QLatin1Char('%')))
        return base::Reason(base::Reason::Code::HoldsNoSegmentStart,
                            label.contains(QLatin1Char('%')) ? QStringLiteral("%")
                                                             : QStringLiteral("$"));
    if (label.size() < 3)
        return base::Reason(base::Reason::Code::TooShortForSegment);
    const QString type = label.mid(1, 1);
    if (digitValue(type) > int(Segment::VarsEToI))
        return base::Reason(base::Reason::Code::UnknownSegment, type);
    return base::Reason(base::Reason::Code::SegmentTwice, type);
}

void LabelDispatcher::decide(base::LabelOutcome::Kind kind,
                             base::LabelOutcome::Result result,
                             const base::Reason &reason)
{
    m_outcome = {.kind = kind, .result = result, .reason = reason};
}

bool LabelDispatcher::isPlainLabel(const QString &label)
{
    return !label.contains(QLatin1Char('%')) && !label.contains(QLatin1Char('$'));
}

bool LabelDispatcher::isCommand(const QString &label)
{
    for (const char *command : {"%START%", "%STOP%", "%END%", "%CLEAR%", "%SETPOINT%", "%SETP%"}) {
        if (label == QLatin1String(command))
            return true;
    }
    return false;
}

void LabelDispatcher::runCommand(const QString &label, bool listCleared)
{
    listmanager::ListManagerLink &link = m_context.link;
    if (label == QLatin1String("%START%")) {
        link.hostListStart();
    } else if (label == QLatin1String("%STOP%")) {
        link.hostListStop();
    } else if (label == QLatin1String("%END%")) {
        link.hostListEnd();
    } else if (label == QLatin1String("%CLEAR%")) {
        if (!m_segmentsSeen.isEmpty()) {
            m_context.display.hideSegmentIndicators();
            m_context.item.resetItem();
            m_segmentsSeen.clear();
        } else if (!listCleared) {
            (void)link.clearHostList();
        }
    } else {
        link.setpoint();
    }
    base::showReadyAfterPause(m_context.display, m_context.pacer, m_context.settings.itemPauseMs);
}

QString LabelDispatcher::fieldCodeIn(const QString &label)
{
    if (label.size() < 3 || label.size() > 5)
        return {};
    const QString code = text::trimSpaces(label).mid(1, label.size() - 2);
    return FieldCodes::isFieldCode(code) ? code : QString();
}

base::Reason LabelDispatcher::refusalOf(const QString &label) const
{
    if (isPlainLabel(label)) {
        // "!" alone reaches here as a blank: no name, so no ".CNC" row.
        const QString name = text::trimSpaces(label);
        return name.isEmpty() ? base::Reason(base::Reason::Code::NoProgramNamed)
                              : base::programNameRefusal(name);
    }
    if (!label.startsWith(QLatin1Char('%')) || label.size() < 3
        || m_segmentsSeen.contains(label.mid(1, 1)))
        return {};
    const QString contents = label.mid(3);
    switch (Segment(digitValue(label.mid(1, 1)))) {
    case Segment::LoadList:
        return base::isSafeRelativeName(contents) ? base::Reason()
                                                  : base::unsafeNameMessage(contents);
    case Segment::Program: {
        const qsizetype space = contents.indexOf(QLatin1Char(' '));
        const QString name = space < 0 ? contents : text::trimSpaces(contents.left(space));
        if (text::trimSpaces(name).isEmpty())
            return base::Reason(base::Reason::Code::NoProgramNamed);
        if (base::Reason refusal = base::programNameRefusal(name); !refusal.isEmpty() || space < 0)
            return refusal;
        // The work field token: a control character in it (a tab, NUL or DEL after the label)
        // would make it no field code, and the row would go to another field.
        try {
            const QString field = text::TokenReader().nextToken(contents.mid(space + 1));
            if (base::holdsControl(field))
                return base::rowValueRefusal(base::Reason(base::Reason::Code::WorkFieldValue),
                                             field);
        } catch (const base::Error &) {
        }
        return {};
    }
    case Segment::Dimensions: {
        // The three tokens the segment gives DimX, DimY and DimZ. Contents too long to take
        // apart fail when they are read, as they always have.
        text::TokenReader tokens;
        try {
            for (const char *axis : {"X", "Y", "Z"}) {
                const base::Reason refusal = base::rowValueRefusal(
                    base::Reason(base::Reason::Code::DimensionValue, QString::fromLatin1(axis)),
                    tokens.nextToken(contents));
                if (!refusal.isEmpty())
                    return refusal;
            }
        } catch (const base::Error &) {
        }
        return {};
    }
    default:
        return {};
    }
}

void LabelDispatcher::takePlainLabel(const QString &label, QString &count, int &outcome)
{
    base::CurrentItem &item = m_context.item;
    const fieldsel::AutoSelSettings &autoSel = m_context.autoSel.settings();
    const QString defaultField = autoSel.defaultField();
    if (!defaultField.isEmpty() && !item.runFieldFixed) {
        item.runField = defaultField.toUpper();
        item.runFieldFixed = true;
        seedFieldSelection(fieldsel::SelectMode::Seed);
    }
    if (autoSel.mirrorSourceIsNameOrComment() || item.runFieldFixed) {
        item.programName = withCncExtension(text::trimSpaces(label));
        moveCompanionCsv();
        count = QStringLiteral("1");
        m_segmentsSeen = QStringLiteral("1");
        m_context.doubleScan.add(label);
        return;
    }
    m_context.display.setStatus(base::status::runFieldNotSelected());
    outcome = NoRunField;
}

void LabelDispatcher::readSegmentContents(Segment type, const QString &contents)
{
    base::CurrentItem &item = m_context.item;
    switch (type) {
    case Segment::Program: {
        const qsizetype space = contents.indexOf(QLatin1Char(' '));
        if (space < 0) {
            item.programName = contents;
            break;
        }
        item.programName = withCncExtension(text::trimSpaces(contents.left(space)));
        moveCompanionCsv();
        float x = 0;
        float y = 0;
        float z = 0;
        program::readProgramFile(m_context.settings, item, m_context.prompter, x, y, z);
        item.itemComment = item.programComment;
        const QString rest = contents.mid(space + 1);
        const QString runField = m_tokens.nextToken(rest);
        if (!item.runFieldFixed)
            item.runField = runField;
        item.itemExtra = m_tokens.nextToken(rest);
        break;
    }
    case Segment::Dimensions:
        item.dimX = m_tokens.nextToken(contents);
        item.dimY = m_tokens.nextToken(contents);
        item.dimZ = m_tokens.nextToken(contents);
        break;
    case Segment::VarsAToD:
    case Segment::VarsEToI: {
        const std::size_t first = type == Segment::VarsAToD ? 0 : 4;
        for (std::size_t i = first; i < first + 4; ++i)
            item.itemVars[i] = m_tokens.nextToken(contents);
        break;
    }
    default:
        break;
    }
}

void LabelDispatcher::moveCompanionCsv()
{
    const base::Settings &settings = m_context.settings;
    if (m_context.writes.enabled()) {
        copyCompanionCsv(settings, m_context.item, m_context.prompter);
        return;
    }
    const QString path = findCompanionCsv(settings, m_context.item.programName, m_context.prompter);
    if (!path.isEmpty())
        (void)m_context.writes.allow(
            base::Reason(base::Reason::Code::CompanionCsvMove, path, settings.csvOutPath));
}

base::Reason LabelDispatcher::missingProgramWarning(const QString &programName,
                                                    const QString &folder)
{
    const base::Reason where = folder.trimmed().isEmpty()
                                   ? base::Reason(base::Reason::Code::CurrentFolder)
                                   : base::Reason::text(QDir::toNativeSeparators(folder.trimmed()));
    if (programName.isEmpty())
        return base::Reason(base::Reason::Code::NoProgramNoDimensions);
    return base::Reason(base::Reason::Code::ProgramNotInFolder, programName, where);
}

base::Reason LabelDispatcher::completeItem()
{
    base::CurrentItem &item = m_context.item;
    m_segmentsSeen.clear();

    // Dimensions the labels left at zero are taken from the program file. Without the file
    // the row goes all the same, since the program may be on the machine alone, but the
    // operator hears that it carries no size.
    const program::PlanSize size
        = program::ProgramFileReader(m_context.settings, m_context.prompter)
              .completeDimensions(item, program::DimensionText::Compact);
    base::Reason warning;
    if (size.programMissing) {
        warning = missingProgramWarning(text::trimSpaces(item.programName),
                                        m_context.settings.gcodePath);
        m_sender.note(warning);
    }
    // The clear start-up left pending goes with the first rows; automatic clear does not
    // clear the emptied list again.
    const bool cleared = m_sender.clearPendingList(false);
    if (m_context.options.autoClear() && !cleared)
        (void)m_context.link.clearHostList();
    m_sender.sendItem(size.x, size.y, {.acknowledge = true}, m_rowsAdded);
    return warning;
}

void LabelDispatcher::abandonItem()
{
    forgetSegments();
    m_sender.abandonItem();
}

void LabelDispatcher::forgetSegments()
{
    m_segmentsSeen.clear();
    (void)m_tokens.nextToken(QString());
}

void LabelDispatcher::seedFieldSelection(fieldsel::SelectMode mode)
{
    (void)m_context.selector.autoSelectField(mode, 0, 0, m_context.item.runField);
}

} // namespace barlink::label
