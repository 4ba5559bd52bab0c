#include "ScanPanel.h"

#include "PanelLook.h"
#include "ScanWords.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

// The last-scan line is this much larger than the rest of the window.
constexpr qreal ScanLineScale = 1.3;

// A flag that keeps its place while hidden: calm colours, visible only while it means
// something.
QLabel *flag(const QString &text, const char *name, const QString &style, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(style);
    QSizePolicy keptPlace(QSizePolicy::Preferred, QSizePolicy::Preferred);
    keptPlace.setRetainSizeWhenHidden(true);
    label->setSizePolicy(keptPlace);
    label->setVisible(false);
    return label;
}

} // namespace

ScanPanel::ScanPanel(QWidget *parent)
    : QWidget(parent)
{
    const std::array<QString, base::OperatorDisplay::SegmentCount> captions{
        tr("Load List"), tr("Program"), tr("Dimensions"), tr("Vars A-D"), tr("Vars E-I")};
    m_segmentRow = new QHBoxLayout;
    m_segmentRow->setObjectName(QStringLiteral("indicatorRow"));
    for (std::size_t i = 0; i < m_segments.size(); ++i) {
        const QByteArray name = "LabID_" + QByteArray::number(qsizetype(i));
        m_segments[i]
            = flag(captions[i], name.constData(), badgeStyle(QStringLiteral("#2e7d32")), this);
        m_segments[i]->setAlignment(Qt::AlignCenter);
        m_segments[i]->setToolTip(tr("Segment received: %1").arg(captions[i]));
        m_segmentRow->addWidget(m_segments[i]);
    }
    m_segmentRow->addSpacerItem(
        new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_autoFieldSelection = flag(
        tr("Automatic Field Selection"), "LabelAFS", badgeStyle(QStringLiteral("#1565c0")), this);
    m_autoFieldSelection->setAlignment(Qt::AlignCenter);
    m_exclusion = flag(
        QString(), "ExLab", QStringLiteral("QLabel { color: #6a1b9a; font-weight: bold; }"), this);
    m_exclusion->setToolTip(tr("Exclusion insertion"));
    m_segmentRow->addWidget(m_autoFieldSelection);
    m_segmentRow->addWidget(m_exclusion);
    m_flagRow = new QHBoxLayout;
    m_flagRow->setObjectName(QStringLiteral("flagRow"));

    // The last scan's text, clipped rather than widening the window, with the activity
    // indicator beside it; the indicator keeps its place while hidden, so that the line keeps
    // its width when characters start to arrive.
    m_lastScan = new QLabel(tr(" Last Scan:    "), this);
    m_lastScan->setObjectName(QStringLiteral("ComDisplay"));
    m_lastScan->setFrameShape(QFrame::StyledPanel);
    m_lastScan->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui::keepTextLarger(m_lastScan, ScanLineScale);
    QSizePolicy clipped = m_lastScan->sizePolicy();
    clipped.setHorizontalPolicy(QSizePolicy::Ignored);
    m_lastScan->setSizePolicy(clipped);
    m_activity = flag(QStringLiteral("X"),
                      "DSpin",
                      QStringLiteral("QLabel { color: #c62828; font-weight: bold; }"),
                      this);
    m_activity->setAlignment(Qt::AlignCenter);
    m_activity->setToolTip(tr("Receiving from the scanner"));
    m_activity->setMinimumWidth(20);
    QSizePolicy spinPolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    spinPolicy.setRetainSizeWhenHidden(true);
    m_activity->setSizePolicy(spinPolicy);
    auto *scanRow = new QHBoxLayout;
    scanRow->addWidget(m_lastScan);
    scanRow->addWidget(m_activity);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_segmentRow);
    layout->addLayout(m_flagRow);
    layout->addLayout(scanRow);
}

void ScanPanel::setSegment(base::OperatorDisplay::Segment segment, bool visible)
{
    m_segments.at(std::size_t(segment))->setVisible(visible);
}

void ScanPanel::setAutoFieldSelectionVisible(bool visible)
{
    m_autoFieldSelection->setVisible(visible);
}

void ScanPanel::setExclusionText(const QString &text)
{
    m_exclusion->setText(text);
    m_exclusion->setVisible(!text.isEmpty());
}

void ScanPanel::setLastScan(const QString &text)
{
    m_lastScan->setText(shownLine(text));
}

void ScanPanel::setActivity(bool visible, const QString &caption)
{
    m_activity->setVisible(visible);
    if (!caption.isNull())
        m_activity->setText(caption);
}

void ScanPanel::fit(int width)
{
    int needed = m_autoFieldSelection->sizeHint().width() + m_exclusion->sizeHint().width()
                 + 2 * m_segmentRow->spacing();
    for (QLabel *segment : m_segments)
        needed += segment->sizeHint().width() + m_segmentRow->spacing();
    placeInRow({m_autoFieldSelection, m_exclusion}, width >= needed, m_segmentRow, m_flagRow);
}

} // namespace barlink::app
