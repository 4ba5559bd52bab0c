#include "label/ItemSender.h"

#include "base/CurrentItem.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "base/Pacer.h"
#include "base/StatusTexts.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "label/ListFileLoader.h"
#include "label/ListRow.h"
#include "label/MirrorMatch.h"
#include "listmanager/ListManagerLink.h"
#include "scanner/ScannerPort.h"
#include "text/TrimSpaces.h"

namespace barlink::label {

void ItemSender::sendItem(float x, float y, const Way &way, int &rowsAdded)
{
    base::CurrentItem &item = m_parts.item;
    base::OperatorDisplay &display = m_parts.display;
    if (matchMirrorSpec(m_parts.autoSel.settings(), item)) {
        item.runField = QStringLiteral("&");
        sendRow(x, y, way, rowsAdded);
        item.runField = QStringLiteral("&");
        sendRow(x, y, way, rowsAdded);
    } else {
        sendRow(x, y, way, rowsAdded);
    }

    m_parts.pacer.pause(0.6f);
    base::showReadyAfterPause(display, m_parts.pacer);
    display.hideSegmentIndicators();
    item.lastProgramName = text::trimSpaces(item.programName);
    item.lastProgramComment = text::trimSpaces(item.programComment);
    if (m_parts.options.showEd() && way.launchEditor)
        way.launchEditor();
    item.resetItem();
    display.setAutoFieldSelectionVisible(false);
}

void ItemSender::sendRow(float x, float y, const Way &way, int &rowsAdded)
{
    base::CurrentItem &item = m_parts.item;
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
        // A field given by its code only seeds the alternation.
        (void)selector.autoSelectField(7, 0, 0, item.runField);
    }

    m_parts.display.setStatus(base::status::addingToList());
    callListManager(QStringLiteral("add the row"),
                    [this] { addListRow(m_parts.item, m_parts.link, m_parts.provider); });
    ++rowsAdded;
    if (m_parts.options.autoStart())
        callListManager(QStringLiteral("start the list"), [this] { m_parts.link.hostListStart(); });
    item.runField.clear();
    item.runFieldFixed = false;
    if (way.acknowledge && m_parts.port.isOpen())
        m_parts.port.write(acknowledgement().toLatin1());
}

void ItemSender::loadListFile(const QString &listName)
{
    (void)label::loadListFile(
        listName,
        {m_parts.settings, m_parts.link, m_parts.display, m_parts.pacer, m_parts.prompter});
}

} // namespace barlink::label
