#include "ResultPanel.h"

#include "PanelLook.h"
#include "ScanWords.h"
#include "base/Clock.h"
#include "ui/OutcomePalette.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

// The result's word, its first line and the banner, as factors of the window's text size:
// they follow every change of it.
constexpr qreal ResultWordScale = 3.0;
constexpr qreal ResultHeadlineScale = 1.5;
constexpr qreal ResultLineScale = 1.2;
// Past twice the system's text size the word grows no more: it is read from afar already, and
// larger it would leave the reason too little of a small screen's width.
constexpr qreal ResultWordMostScale = 2.0;

// The band's border, white while it has the focus.
constexpr int BandBorder = 3;

// A refusal the band no longer shows stays this long after a later item was taken.
constexpr int RefusalKeptMilliseconds = 5000;

// The band keeps room for a word of this many characters and a reason of this many a line.
constexpr int ResultWordCharacters = 9;
constexpr int ResultLineCharacters = 24;

// The result's colours, with a word on each (the colour is never alone).
ui::OutcomeLook resultLook(ScanResult::Tone tone)
{
    switch (tone) {
    case ScanResult::Tone::Ok:
        return ui::OutcomeLook::ResultOk;
    case ScanResult::Tone::Warning:
        return ui::OutcomeLook::ResultWarning;
    case ScanResult::Tone::Waiting:
        return ui::OutcomeLook::ResultWaiting;
    case ScanResult::Tone::Refused:
    case ScanResult::Tone::Failed:
        return ui::OutcomeLook::ResultRefused;
    case ScanResult::Tone::Ready:
        break;
    }
    return ui::OutcomeLook::ResultReady;
}

// The scanner away has a colour no result has (ResultLost), for a state that outranks every
// result.
const QString LostSymbol = QStringLiteral("\u2298 ");

// A symbol beside the word, for those who do not tell the colours apart.
QString resultSymbol(ScanResult::Tone tone)
{
    switch (tone) {
    case ScanResult::Tone::Ok:
        return QStringLiteral("\u2714 ");
    case ScanResult::Tone::Warning:
        return QStringLiteral("\u26a0 ");
    case ScanResult::Tone::Waiting:
        return QStringLiteral("\u2026 ");
    case ScanResult::Tone::Refused:
    case ScanResult::Tone::Failed:
        return QStringLiteral("\u2716 ");
    case ScanResult::Tone::Ready:
        break;
    }
    return {};
}

QLabel *plainLabel(const char *name, QWidget *parent, bool wrap)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

// Texts that wrap (or are cut) give their width to the layout and take the height they need.
void givesWidth(QLabel *label)
{
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
}

} // namespace

ResultPanel::ResultPanel(base::Clock &clock, QWidget *parent)
    : QWidget(parent)
    , m_refusalTimer(clock.makeTimer())
{
    m_refusalTimer->setSingleShot(true);
    m_refusalTimer->setInterval(RefusalKeptMilliseconds);
    connect(m_refusalTimer.get(), &base::Timer::timeout, this, [this] {
        m_refusal.clear();
        showLastLabel();
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    // The result of the label handled last fills the width: its word large enough to read
    // from a few metres, white on the colour of the result. The take-back button sits under
    // the word, leaving the texts the band's width to wrap in. While the scanner is away the
    // band says so instead, in the same large word, with the last result on a line under it.
    m_band = new QFrame(this);
    m_band->setObjectName(QStringLiteral("fraResult"));
    m_band->setAutoFillBackground(true);
    m_word = plainLabel("lblResultWord", m_band, false);
    m_word->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    keepScaled(m_word, ResultWordScale, true, ResultWordMostScale);
    m_takeBack = new QPushButton(tr("Take back last item"), m_band);
    m_takeBack->setObjectName(QStringLiteral("cmdTakeBack"));
    m_takeBack->setEnabled(false);
    m_takeBack->setFocusPolicy(Qt::TabFocus);
    connect(m_takeBack, &QPushButton::clicked, this, &ResultPanel::takeBackClicked);
    auto *wordColumn = new QVBoxLayout;
    wordColumn->addWidget(m_word, 1);
    wordColumn->addWidget(m_takeBack);

    m_headline = plainLabel("lblResultHeadline", m_band, true);
    m_headline->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_advice = plainLabel("lblResultAdvice", m_band, true);
    // The last label handled and what became of it: one line, cut short with an ellipsis where
    // it is too long (a translated outcome often is), its whole text in the tool tip; the
    // reason itself is in full above it.
    m_lastLabel = plainLabel("lblLastLabel", m_band, false);
    m_lastLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lastLabel->installEventFilter(this);
    m_next = plainLabel("lblResultNext", m_band, true);
    m_before = plainLabel("lblResultBefore", m_band, true);
    m_before->setVisible(false);
    keepScaled(m_headline, ResultHeadlineScale, true);
    keepScaled(m_advice, ResultLineScale, false);
    keepScaled(m_next, ResultLineScale, true);
    m_texts = new QVBoxLayout;
    m_texts->setSpacing(4);
    for (QLabel *line : {m_headline, m_advice, m_before, m_lastLabel, m_next}) {
        givesWidth(line);
        m_texts->addWidget(line);
    }

    m_bandLayout = new QHBoxLayout(m_band);
    m_bandLayout->setSpacing(16);
    // The frame's border (BandBorder, white while the band has the focus) comes out of the
    // margins: the texts keep their width.
    m_bandLayout->setContentsMargins(m_bandLayout->contentsMargins()
                                     - QMargins(BandBorder, BandBorder, BandBorder, BandBorder));
    m_bandLayout->addLayout(wordColumn);
    m_bandLayout->addLayout(m_texts, 1);
    layout->addWidget(m_band);
    // Enter on the band, or a touch anywhere on it, says a refusal has been seen.
    m_band->setFocusPolicy(Qt::StrongFocus);
    m_band->setToolTip(tr("Touch the result, or press Enter on it, once you have seen a refusal"));
    m_band->installEventFilter(this);
    for (QLabel *line : m_band->findChildren<QLabel *>())
        line->installEventFilter(this);
    showResult(ScanResult::ready());
}

ResultPanel::~ResultPanel() = default;

void ResultPanel::showResult(const ScanResult &result)
{
    m_result = result;
    showBand();
}

void ResultPanel::setListState(const listmanager::ListState &state)
{
    m_listState = state;
    if (m_command)
        showBand();
}

void ResultPanel::showBand()
{
    const bool lost = !m_lostSince.isEmpty();
    const QString word
        = m_result.word.isEmpty() ? QString() : resultSymbol(m_result.tone) + m_result.word;
    // The scanner away outranks the result: labels scanned now are lost whatever came before.
    ScanResult shown
        = lost ? ScanResult{.tone = m_result.tone,
                            .word = tr("NO SCANNER"),
                            .headline
                            = m_lostDevice.isEmpty()
                                  ? tr("Since %1").arg(m_lostSince)
                                  : tr("Since %1: %2 is not there").arg(m_lostSince, m_lostDevice),
                            .advice = tr("Labels scanned now are not read. Plug the scanner in "
                                         "(check its cable): Barlink takes it back by itself "
                                         "within a few seconds."),
                            .next = {}}
               : m_result;
    // A list command's result says what the list is now, as far as the list manager tells.
    if (!lost && m_command && m_listState.reach == listmanager::Reach::Reached) {
        const int rows = m_listState.rows;
        const QString rowText = rows == 1 ? tr("1 row") : tr("%1 rows").arg(rows);
        // In the words of the list's badge: a list not in run with a row in work is held.
        const char *runState = m_listState.inRun        ? "Running"
                               : m_listState.exeRow > 0 ? "Held"
                                                        : "Idle";
        shown.advice = m_listState.opened
                           ? tr("The list now: %1 \u00b7 %2")
                                 .arg(QCoreApplication::translate("RunState", runState), rowText)
                           : tr("The list now: not open");
    }
    // The band's frame turns white while it has the focus.
    const ui::OutcomeColours colours
        = ui::outcomeColours(lost ? ui::OutcomeLook::ResultLost : resultLook(shown.tone));
    m_band->setStyleSheet(QStringLiteral("#fraResult { background: %1; border: %2px solid %1; "
                                         "border-radius: 6px; } "
                                         "#fraResult:focus { border-color: %3; } "
                                         "#fraResult > QLabel { color: %3; }")
                              .arg(colours.background.name())
                              .arg(BandBorder)
                              .arg(colours.text.name()));
    m_word->setText(lost ? LostSymbol + shown.word : word);
    m_word->setVisible(!m_word->text().isEmpty());
    m_headline->setText(shown.headline);
    m_advice->setText(shown.advice);
    m_advice->setVisible(!shown.advice.isEmpty());
    m_before->setText(!lost || word.isEmpty() ? QString()
                                              : tr("Last result: %1")
                                                    .arg(QStringList{word, m_result.headline}.join(
                                                        QStringLiteral(" \u00b7 "))));
    m_before->setVisible(lost && !word.isEmpty());
    m_next->setText(shown.next);
    m_next->setVisible(!shown.next.isEmpty());
    m_band->setAccessibleName(
        QStringList{shown.word, shown.headline, shown.advice, m_before->text(), shown.next}.join(
            u' '));
}

void ResultPanel::showEntry(const journal::Entry &entry)
{
    const journal::Entry before = std::exchange(m_previous, entry);
    const ScanResult result = ScanResult::of(entry, &before);
    if (result.word.isEmpty())
        return;
    m_command = entry.kind == journal::Kind::Command && entry.outcome == journal::Outcome::Taken;
    showResult(result);
    m_lastLabelText = shownLine(entry.label);
    const bool refused
        = entry.outcome == journal::Outcome::Refused || entry.outcome == journal::Outcome::Failed;
    if (refused) {
        const QString time = entry.time.isValid()
                                 ? entry.time.toLocalTime().toString(QStringLiteral("HH:mm:ss "))
                                 : QString();
        m_refusal = QStringLiteral("\u2716 ") + time + shownLine(entry.label)
                    + QStringLiteral("  \u2014  ") + plainWords(entry);
        m_refusalTimer->stop();
    } else if (!m_refusal.isEmpty() && entry.outcome == journal::Outcome::Taken
               && entry.rows.value_or(0) > 0 && !m_refusalTimer->isActive()) {
        m_refusalTimer->start();
    }
    m_refusalInBand = refused;
    m_lastLabel->setToolTip(
        // An item taken back: its headline says it all.
        entry.kind == journal::Kind::StationEvent
            ? QString()
            : tr("Last label: %1  \u2014  %2").arg(m_lastLabelText, plainWords(entry)));
    showLastLabel();
}

void ResultPanel::showPiecePair(const journal::Entry &piece, const QStringList &fields)
{
    if (m_result.tone != ScanResult::Tone::Ok && m_result.tone != ScanResult::Tone::Warning)
        return;
    m_result.headline = ScanResult::pieceWords(piece, fields);
    showBand();
    // The last entry names the field of its own row; the line names both.
    QStringList named;
    for (const QString &field : fields)
        named << fieldWords(field);
    m_lastLabel->setToolTip(
        tr("Last label: %1  \u2014  %2")
            .arg(m_lastLabelText, tr("Taken: %1, %2").arg(piece.program, named.join(u" + "))));
    showLastLabel();
}

QString ResultPanel::takeBackName(const QString &what)
{
    constexpr int MostNameCharacters = 24;
    const QString name = what.size() > MostNameCharacters
                             ? what.left(MostNameCharacters - 1) + QChar(0x2026)
                             : what;
    return QString(name).replace(u'&', QStringLiteral("&&"));
}

void ResultPanel::setTakeBackAvailable(bool available, const QString &what)
{
    // The button names the item it takes back.
    m_takeBack->setText(available && !what.isEmpty() ? tr("Take back %1").arg(takeBackName(what))
                                                     : tr("Take back last item"));
    m_takeBack->setEnabled(available);
    m_takeBack->setToolTip(what);
}

void ResultPanel::setScannerLost(const QString &since, const QString &device)
{
    m_lostSince = since;
    m_lostDevice = device;
    showBand();
}

bool ResultPanel::scannerLostShown() const
{
    return !m_lostSince.isEmpty();
}

QList<QWidget *> ResultPanel::tabOrder() const
{
    return {m_band, m_takeBack};
}

void ResultPanel::keepMinimumSize()
{
    // The word and the button under it, or two lines of the reason, two of advice, the last
    // label and what comes next. A longer text wraps and the band grows with it, at the
    // expense of the scrolled area below.
    const QFontMetrics headline(m_headline->font());
    const QFontMetrics line(m_advice->font());
    const int spacing = m_texts->spacing();
    const int texts = 2 * headline.lineSpacing() + 3 * line.lineSpacing()
                      + QFontMetrics(m_lastLabel->font()).lineSpacing() + 4 * spacing;
    const QMargins margins = m_bandLayout->contentsMargins();
    m_band->setMinimumHeight(std::max(texts + margins.top() + margins.bottom() + 2 * BandBorder,
                                      m_bandLayout->minimumSize().height() + 2 * BandBorder));
    // As wide as a word of the result and a few words of the reason a line: the window never
    // gives up more of its width to the windows beside it.
    m_band->setMinimumWidth(QFontMetrics(m_word->font()).averageCharWidth() * ResultWordCharacters
                            + headline.averageCharWidth() * ResultLineCharacters
                            + m_bandLayout->spacing() + margins.left() + margins.right()
                            + 2 * BandBorder);
}

void ResultPanel::refusalSeen()
{
    m_refusal.clear();
    m_refusalTimer->stop();
    showLastLabel();
}

bool ResultPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress
        && (watched == m_band || watched->parent() == m_band))
        refusalSeen();
    if (watched == m_band && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            refusalSeen();
            return true;
        }
    }
    if (watched == m_lastLabel
        && (event->type() == QEvent::Resize || event->type() == QEvent::Show
            || event->type() == QEvent::FontChange))
        showLastLabel();
    return QWidget::eventFilter(watched, event);
}

void ResultPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange
        || event->type() == QEvent::PaletteChange) {
        showBand();
        showLastLabel();
    }
}

void ResultPanel::showLastLabel()
{
    // Whole until the line is laid out on the screen, which gives it its width. A refusal not
    // yet seen is in the refusal's colours, whatever the band's colour.
    const bool refusal = !m_refusal.isEmpty() && !m_refusalInBand;
    const ui::OutcomeColours strip = ui::outcomeColours(ui::OutcomeLook::RefusalStrip);
    const QString look = refusal ? QStringLiteral("QLabel { background: %1; color: %2; }")
                                       .arg(strip.background.name(), strip.text.name())
                                 : QString();
    // Set only when it changes: a new look resizes the line, which lays it out again.
    if (m_lastLabel->styleSheet() != look)
        m_lastLabel->setStyleSheet(look);
    const QString whole = refusal ? m_refusal : m_lastLabel->toolTip();
    m_lastLabel->setText(m_lastLabel->isVisible() ? m_lastLabel->fontMetrics().elidedText(
                             whole, Qt::ElideRight, m_lastLabel->width())
                                                  : whole);
}

} // namespace barlink::app
