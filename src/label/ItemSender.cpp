#include "label/ItemSender.h"

#include "base/CurrentItem.h"
#include "base/DoubleScanGuard.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "base/Pacer.h"
#include "base/Reasons.h"
#include "base/RowValues.h"
#include "base/Settings.h"
#include "base/StationContext.h"
#include "base/StatusTexts.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "label/ListFileLoader.h"
#include "label/ListRow.h"
#include "label/MirrorMatch.h"
#include "listmanager/Application.h"
#include "listmanager/ListManagerLink.h"
#include "text/TrimSpaces.h"

#include <utility>

namespace barlink::label {

bool ItemSender::clearPendingList(bool showLateBoundList)
{
    base::CurrentItem &item = m_context.item;
    if (!item.clearListPending)
        return false;
    if (showLateBoundList) {
        if (const auto &lateBound = m_context.link.lateBoundList())
            lateBound->setVisible(true);
    }
    // A clear that fails stays pending.
    const std::optional<qint32> rows = m_context.link.clearHostList();
    item.clearListPending = false;
    if (!m_context.link.commandLineEmpty())
        return false;
    // The rows were the machine's work from before: the operator hears that they went.
    if (!rows)
        note(base::Reason(base::Reason::Code::ListEmptiedUncounted));
    else if (*rows == 1)
        note(base::Reason(base::Reason::Code::ListEmptiedOne));
    else if (*rows > 1)
        note(base::Reason(base::Reason::Code::ListEmptied, *rows));
    return true;
}

bool ItemSender::refuse(const base::Reason &refusal)
{
    if (refusal.isEmpty())
        return false;
    m_context.display.setStatus(refusal.shown());
    return true;
}

std::optional<base::Reason> ItemSender::refuseRepeat()
{
    const std::optional<qint64> since = m_context.doubleScan.repeatOfLast();
    if (!since)
        return std::nullopt;
    abandonItem();
    m_context.display.setStatus(base::DoubleScanGuard::statusText());
    return base::DoubleScanGuard::reason(*since);
}

void ItemSender::abandonItem()
{
    base::CurrentItem &item = m_context.item;
    m_context.doubleScan.drop();
    m_context.display.hideSegmentIndicators();
    m_context.display.setAutoFieldSelectionVisible(false);
    item.resetItem();
    item.runFieldFixed = false;
}

void ItemSender::sendItem(float x, float y, const Way &way, int &rowsAdded)
{
    base::CurrentItem &item = m_context.item;
    base::OperatorDisplay &display = m_context.display;
    // The labels' own values were refused before they reached the item; the comment comes
    // from the program file, which the operator cannot rescan.
    if (base::holdsRowBreak(item.itemComment)) {
        item.itemComment = base::withoutRowBreaks(item.itemComment);
        note(commentCleanedNote());
    }
    if (matchMirrorSpec(m_context.autoSel.settings(), item)) {
        item.runField = QStringLiteral("&");
        sendRow(x, y, way, rowsAdded);
        item.runField = QStringLiteral("&");
        sendRow(x, y, way, rowsAdded);
    } else {
        sendRow(x, y, way, rowsAdded);
    }
    Q_EMIT itemSent();

    // The list manager's time to take the rows in: the next label waits through both pauses.
    const int pauseMs = m_context.settings.itemPauseMs;
    m_context.pacer.pauseMilliseconds(pauseMs);
    base::showReadyAfterPause(display, m_context.pacer, pauseMs);
    display.hideSegmentIndicators();
    item.lastProgramName = text::trimSpaces(item.programName);
    item.lastProgramComment = text::trimSpaces(item.programComment);
    if (m_context.options.showEd())
        Q_EMIT editorRequested(item.programName);
    item.resetItem();
    display.setAutoFieldSelectionVisible(false);
}

void ItemSender::sendRow(float x, float y, const Way &way, int &rowsAdded)
{
    base::CurrentItem &item = m_context.item;
    fieldsel::FieldSelector &selector = m_context.selector;
    const QChar first = item.runField.isEmpty() ? QChar() : item.runField.front();
    if (first == QLatin1Char('&')) {
        m_context.display.setAutoFieldSelectionVisible(true);
        item.runField
            = selector.autoSelectField(fieldsel::SelectMode::Alternate, x, y, item.runField);
    } else if (first == QLatin1Char('P') || item.runField.isEmpty()) {
        m_context.display.setAutoFieldSelectionVisible(true);
        item.runField = selector.autoSelectField(fieldsel::SelectMode::Normal, x, y, item.runField);
    } else if (first == QLatin1Char('W')) {
        m_context.display.setAutoFieldSelectionVisible(true);
        item.runField = selector.autoSelectField(fieldsel::SelectMode::Mirror, x, y, item.runField);
    } else if (QStringView(u"NSATRM").contains(first)) {
        // A field given by its code only seeds the alternation.
        (void)selector.autoSelectField(fieldsel::SelectMode::Seed, 0, 0, item.runField);
    }

    m_context.display.setStatus(base::status::addingToList());
    callListManager(base::Reason(base::Reason::Code::AddRow), [this] {
        m_context.link.addRow(buildListRow(m_context.item), m_context.provider);
    });
    ++rowsAdded;
    m_context.doubleScan.rowsAdded();
    if (m_context.options.autoStart())
        callListManager(base::Reason(base::Reason::Code::StartList),
                        [this] { m_context.link.hostListStart(); });
    const QString field = std::exchange(item.runField, QString());
    item.runFieldFixed = false;
    Q_EMIT rowSent(field, way.acknowledge);
}

base::LabelOutcome ItemSender::loadListFile(const QString &listName)
{
    // A list label empties the list whether or not a clear is pending, and the list then holds
    // what the list file brings: a clear still pending would empty that. A clear that fails
    // ends the label before the load: a list loaded on top of rows that should have gone would
    // have their pieces machined twice. Scanned again, the label tries both anew.
    m_context.doubleScan.forget();
    callListManager(base::Reason(base::Reason::Code::ClearList),
                    [this] { (void)m_context.link.clearHostList(); });
    m_context.item.clearListPending = false;
    ListFileLoader loader(
        m_context.settings, m_context.link, m_context.display, m_context.pacer, m_context.prompter);
    return loader.loadListFile(listName);
}

} // namespace barlink::label
