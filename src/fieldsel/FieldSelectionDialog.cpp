#include "FieldSelectionDialog.h"
#include "ui_FieldSelectionDialog.h"

#include "AutoSelSettingsFile.h"
#include "base/CurrentItem.h"
#include "ui/Appearance.h"
#include "ui/CenterForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace barlink::fieldsel {

namespace {

constexpr int StandardFieldsTab = 1;
constexpr int FrontAndBackTab = 2;
constexpr int DefaultFieldLength = 3;

// Shows text in a box without feeding it back. A typing limit holds for typing only: a
// longer text from the settings file is shown whole, and the box takes no more characters
// than it already holds.
void showText(QLineEdit *box, const QString &text, int limit = 0)
{
    const QSignalBlocker blocker(box);
    if (limit > 0)
        box->setMaxLength(std::max(limit, int(text.size())));
    if (box->text() != text)
        box->setText(text);
}

// 1 ticked, 0 clear; any other flag (a hand-edited file) disables the slot and shows grey
// until the user ticks or clears the box.
void showFlag(QCheckBox *box, qint16 flag)
{
    const QSignalBlocker blocker(box);
    const bool other = flag != 0 && flag != 1;
    box->setTristate(other);
    box->setCheckState(other ? Qt::PartiallyChecked : flag == 1 ? Qt::Checked : Qt::Unchecked);
}

// Wide enough for the given number of capital letters, centred: codes are short.
void sizeForCharacters(QLineEdit *box, int characters)
{
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QString(characters, QLatin1Char('W'))) + 16);
    box->setAlignment(Qt::AlignCenter);
}

// The enable flags Set All and Clear All change while the given tab is current.
[[nodiscard]] QList<FieldSlot> flagSlotsOnTab(int tab)
{
    using S = FieldSlot;
    switch (tab) {
    case StandardFieldsTab:
        return {S::SFS, S::SFA, S::SFT, S::SFR};
    case FrontAndBackTab:
        return {S::BFN,
                S::FFN,
                S::BFM,
                S::FFM,
                S::BFS,
                S::FFS,
                S::BFA,
                S::FFA,
                S::BFT,
                S::FFT,
                S::BFR,
                S::FFR};
    default:
        return {};
    }
}

} // namespace

FieldSelectionDialog::FieldSelectionDialog(AutoSelSettings &model,
                                           const base::Settings &settings,
                                           const base::CurrentItem &item,
                                           QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::FieldSelectionDialog>())
    , m_model(model)
    , m_settings(settings)
    , m_item(item)
{
    m_ui->setupUi(this);
    setUpControls();
    drawTables();
    showModel();
    connectControls();
    showTabButtons(m_ui->SSTab->currentIndex());
    // At a large text size the dialog can be larger than the screen: its controls scroll.
    ui::scrollInside(this);
    adjustSize();
    centreOnScreen();
}

FieldSelectionDialog::~FieldSelectionDialog() = default;

void FieldSelectionDialog::setUpControls()
{
    for (FieldSlot slot : AllFieldSlots) {
        const auto i = std::size_t(slot);
        m_codeBoxes[i] = findChild<QLineEdit *>(slotKey(slot));
        Q_ASSERT(m_codeBoxes[i]);
        m_codeBoxes[i]->setMaxLength(maxCodeLength(slot));
        sizeForCharacters(m_codeBoxes[i], maxCodeLength(slot));
        if (hasEnableFlag(slot)) {
            m_flagBoxes[i] = findChild<QCheckBox *>(slotKey(slot) + QLatin1String("cb"));
            Q_ASSERT(m_flagBoxes[i]);
        }
    }
    sizeForCharacters(m_ui->DFN, DefaultFieldLength);
    sizeForCharacters(m_ui->HlfLimX, 6);
    sizeForCharacters(m_ui->HlfLimY, 6);

    // The trigger drawn into its row of places: one character per place, so a fixed pitch.
    m_ui->LabDispStr->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui::keepTextLarger(m_ui->LabDispStr, 1.25);
    m_ui->fraDispStr->setStyleSheet(QStringLiteral("#fraDispStr { background: palette(base); }"));
    m_ui->PosScroll->setSingleStep(1);
    m_ui->PosScroll->setPageStep(3);

    m_ui->OptAlnL->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    m_ui->OptAlnR->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_ui->OptAlnL->setAccessibleName(tr("From Left"));
    m_ui->OptAlnR->setAccessibleName(tr("From Right"));
    m_ui->OptAlnL->setToolTip(tr("Count the position from the left"));
    m_ui->OptAlnR->setToolTip(tr("Count the position from the right"));

    for (QLabel *legend :
         {m_ui->lblLegendStandard, m_ui->lblLegendFrontBack, m_ui->lblLegendLimits})
        legend->setForegroundRole(QPalette::PlaceholderText);
}

void FieldSelectionDialog::drawTables()
{
    // Fractions of the table: x from the left, y from the back. The normal field and its
    // mirror partner share one drawn field.
    const QRectF whole(0, 0, 1, 1);
    const QRectF left(0, 0, 0.5, 1);
    const QRectF right(0.5, 0, 0.5, 1);
    const QRectF back(0, 0, 1, 0.5);
    const QRectF front(0, 0.5, 1, 0.5);
    const QRectF backLeft(0, 0, 0.5, 0.5);
    const QRectF backRight(0.5, 0, 0.5, 0.5);
    const QRectF frontLeft(0, 0.5, 0.5, 0.5);
    const QRectF frontRight(0.5, 0.5, 0.5, 0.5);

    m_ui->Machine_0->addField(left, m_ui->Field_6);
    m_ui->Machine_0->addField(right, m_ui->Field_8);
    m_ui->Machine_1->addField(whole, m_ui->Field_0);

    m_ui->Machine_2->addField(back, m_ui->Field_11);
    m_ui->Machine_2->addField(front, m_ui->Field_10);
    m_ui->Machine_3->addField(backLeft, m_ui->Field_1);
    m_ui->Machine_3->addField(backRight, m_ui->Field_3);
    m_ui->Machine_3->addField(frontLeft, m_ui->Field_5);
    m_ui->Machine_3->addField(frontRight, m_ui->Field_7);

    for (const QRectF &quarter : {backLeft, backRight, frontLeft, frontRight})
        m_ui->Machine_4->addField(quarter);
    m_ui->Machine_4->setHalfDimensions(m_ui->HlfLimX, m_ui->HlfLimY);
}

void FieldSelectionDialog::connectControls()
{
    connect(&m_model, &AutoSelSettings::changed, this, &FieldSelectionDialog::showModel);

    for (FieldSlot slot : AllFieldSlots) {
        const auto i = std::size_t(slot);
        connect(m_codeBoxes[i], &QLineEdit::textChanged, this, [this, slot](const QString &text) {
            m_model.setCode(slot, text);
        });
        if (QCheckBox *box = m_flagBoxes[i]) {
            // Grey is only ever shown, never chosen: a click ticks or clears.
            connect(box, &QCheckBox::stateChanged, this, [this, slot](int state) {
                if (state != Qt::PartiallyChecked)
                    m_model.setEnableFlag(slot, state == Qt::Checked ? 1 : 0);
            });
        }
    }
    connect(m_ui->DFN, &QLineEdit::textChanged, &m_model, &AutoSelSettings::setDefaultField);
    connect(m_ui->HlfLimX, &QLineEdit::textChanged, &m_model, &AutoSelSettings::setHalfLimitX);
    connect(m_ui->HlfLimY, &QLineEdit::textChanged, &m_model, &AutoSelSettings::setHalfLimitY);

    // A mouse press on a source or action option stores the live trigger into the set in
    // force; the click that follows loads the set of the new choice. A change made from the
    // keyboard clicks without a press, so it loads without storing.
    const std::pair<QRadioButton *, TriggerSource> sources[] = {
        {m_ui->MBC, TriggerSource::Barcode},
        {m_ui->MCmt, TriggerSource::Comment},
        {m_ui->MPName, TriggerSource::ProgramName},
    };
    for (const auto &[option, source] : sources) {
        connect(option, &QRadioButton::clicked, this, [this, source = source] {
            chooseSource(source);
        });
        m_triggerOptions.append(option);
    }
    const std::pair<QRadioButton *, MirrorAction> actions[] = {
        {m_ui->MSel, MirrorAction::Mirror},
        {m_ui->NMSel, MirrorAction::NormAndMirror},
    };
    for (const auto &[option, action] : actions) {
        connect(option, &QRadioButton::clicked, this, [this, action = action] {
            chooseAction(action);
        });
        m_triggerOptions.append(option);
    }
    for (QRadioButton *option : std::as_const(m_triggerOptions))
        option->installEventFilter(this);

    connect(m_ui->MSpec, &QLineEdit::textChanged, &m_model, &AutoSelSettings::setTriggerText);
    connect(m_ui->PosScroll, &QScrollBar::valueChanged, this, [this](int value) {
        m_model.setTriggerPosition(qint16(value));
    });
    connect(m_ui->OptAlnL, &QRadioButton::clicked, this, [this] {
        m_model.setFromLeft(true);
        m_model.placeText();
    });
    connect(m_ui->OptAlnR, &QRadioButton::clicked, this, [this] {
        m_model.setFromLeft(false);
        m_model.placeText();
    });
    m_ui->LabDispStr->installEventFilter(this);
    // Each choice one Tab stop, at its chosen option.
    for (const QList<QRadioButton *> &options : {QList{m_ui->MBC, m_ui->MCmt, m_ui->MPName},
                                                 QList{m_ui->MSel, m_ui->NMSel},
                                                 QList{m_ui->OptAlnL, m_ui->OptAlnR}}) {
        auto *group = new QButtonGroup(this);
        for (QRadioButton *option : options)
            group->addButton(option);
        ui::tabStopsAtChecked(group);
    }

    connect(m_ui->SSTab, &QTabWidget::currentChanged, this, &FieldSelectionDialog::showTabButtons);
    connect(m_ui->BtnSA, &QPushButton::clicked, this, [this] { setAllFlags(1); });
    connect(m_ui->BtnCA, &QPushButton::clicked, this, [this] { setAllFlags(0); });
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &FieldSelectionDialog::onOk);
    connect(m_ui->BtnCan, &QPushButton::clicked, this, &QDialog::reject);
}

bool FieldSelectionDialog::eventFilter(QObject *watched, QEvent *event)
{
    const bool press
        = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    auto *option = qobject_cast<QRadioButton *>(watched);
    if (press && option && m_triggerOptions.contains(option))
        m_model.getAutoSel();
    else if (event->type() == QEvent::MouseButtonDblClick && watched == m_ui->LabDispStr)
        m_model.showLastText(m_item.lastProgramName, m_item.lastProgramComment);
    return QDialog::eventFilter(watched, event);
}

void FieldSelectionDialog::showModel()
{
    for (FieldSlot slot : AllFieldSlots) {
        const auto i = std::size_t(slot);
        showText(m_codeBoxes[i], m_model.code(slot), maxCodeLength(slot));
        if (m_flagBoxes[i])
            showFlag(m_flagBoxes[i], m_model.enableFlag(slot));
    }
    showText(m_ui->DFN, m_model.defaultField(), DefaultFieldLength);
    showText(m_ui->HlfLimX, m_model.halfLimitX());
    showText(m_ui->HlfLimY, m_model.halfLimitY());

    // Checking an option of a group clears the others; no click is sent.
    switch (m_model.source()) {
    case TriggerSource::ProgramName:
        m_ui->MPName->setChecked(true);
        break;
    case TriggerSource::Comment:
        m_ui->MCmt->setChecked(true);
        break;
    case TriggerSource::Barcode:
        m_ui->MBC->setChecked(true);
        break;
    }
    (m_model.action() == MirrorAction::Mirror ? m_ui->MSel : m_ui->NMSel)->setChecked(true);
    showTrigger();
}

void FieldSelectionDialog::showTrigger()
{
    showText(m_ui->MSpec, m_model.triggerText());
    (m_model.fromLeft() ? m_ui->OptAlnL : m_ui->OptAlnR)->setChecked(true);
    {
        // A trigger too long for the display leaves a maximum below 1; the bar then spans
        // from that maximum to 1, as the position does.
        const QSignalBlocker blocker(m_ui->PosScroll);
        const int maximum = m_model.positionMaximum();
        m_ui->PosScroll->setRange(std::min(1, maximum), std::max(1, maximum));
        m_ui->PosScroll->setValue(m_model.triggerPosition());
    }

    const TriggerDisplay &display = m_model.display();
    const QList<QWidget *> triggerControls = {m_ui->FrameTSet,
                                              m_ui->OptAlnL,
                                              m_ui->OptAlnR,
                                              m_ui->PosScroll,
                                              m_ui->LabDispStr,
                                              m_ui->MSpec,
                                              m_ui->PosDispLeft,
                                              m_ui->PosDispRight};
    for (QWidget *control : triggerControls)
        control->setEnabled(display.enabled);
    m_ui->LabDispStr->setText(display.text);
    m_ui->PosDispLeft->setText(display.fromLeftText);
    m_ui->PosDispRight->setText(display.fromRightText);
    m_ui->PosDispLeft->setVisible(display.showFromLeft);
    m_ui->PosDispRight->setVisible(!display.showFromLeft);
}

void FieldSelectionDialog::chooseSource(TriggerSource source)
{
    m_model.setSource(source);
    m_model.setAutoSel();
    m_model.placeText();
}

void FieldSelectionDialog::chooseAction(MirrorAction action)
{
    m_model.setAction(action);
    m_model.setAutoSel();
    m_model.placeText();
}

void FieldSelectionDialog::setAllFlags(qint16 flag)
{
    for (FieldSlot slot : flagSlotsOnTab(m_ui->SSTab->currentIndex()))
        m_model.setEnableFlag(slot, flag);
}

void FieldSelectionDialog::showTabButtons(int tab)
{
    const bool flagsTab = tab == StandardFieldsTab || tab == FrontAndBackTab;
    m_ui->BtnSA->setVisible(flagsTab);
    m_ui->BtnCA->setVisible(flagsTab);
}

void FieldSelectionDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        m_opened.copyFrom(m_model);
    QDialog::showEvent(event);
}

void FieldSelectionDialog::onOk()
{
    saveAutoSelSettings(m_model, m_settings);
    m_opened.copyFrom(m_model);
    QDialog::accept();
}

void FieldSelectionDialog::reject()
{
    m_model.copyFrom(m_opened);
    QDialog::reject();
}

void FieldSelectionDialog::centreOnScreen()
{
    ui::centerForm(this);
    // A dialog larger than the screen starts at its top left corner.
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(std::max(x(), area.x()), std::max(y(), area.y()));
    }
}

} // namespace barlink::fieldsel
