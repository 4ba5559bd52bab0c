#include "OptionsPanel.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace barlink::app {

OptionsPanel::OptionsPanel(QWidget *parent)
    : QGroupBox(tr("Options"), parent)
    , m_autoClear(new QCheckBox(tr("Automatic Clear on Scan"), this))
    , m_overwrite(
          new QCheckBox(tr("Overwrite Existing Programs With Program From 2D Barcode"), this))
    , m_showEd(new QCheckBox(tr("Show Program in Editor"), this))
    , m_autoStart(new QCheckBox(tr("  Machine Auto Start"), this))
{
    setObjectName(QStringLiteral("fraOptions"));
    m_autoClear->setObjectName(QStringLiteral("AClear"));
    m_overwrite->setObjectName(QStringLiteral("Overwrite"));
    m_showEd->setObjectName(QStringLiteral("ShowEd"));
    m_autoStart->setObjectName(QStringLiteral("AutoStart"));
    auto *layout = new QVBoxLayout(this);
    for (QWidget *box : tabOrder())
        layout->addWidget(box);
    // "Show Program in Editor" is hidden at start-up; "Machine Auto Start" takes its place.
    m_showEd->setVisible(false);
}

QList<QWidget *> OptionsPanel::tabOrder() const
{
    return {m_autoClear, m_overwrite, m_showEd, m_autoStart};
}

QCheckBox *OptionsPanel::checkBoxFor(base::Options::Switch s) const
{
    switch (s) {
    case base::Options::AutoClear:
        return m_autoClear;
    case base::Options::Overwrite:
        return m_overwrite;
    case base::Options::AutoStart:
        return m_autoStart;
    case base::Options::ShowEd:
        return m_showEd;
    }
    return nullptr;
}

void OptionsPanel::showSwitch(base::Options::Switch s, int value)
{
    // Stored values are 0 cleared, 1 set, 2 greyed; Qt's order is unchecked, partial, checked.
    QCheckBox *box = checkBoxFor(s);
    const QSignalBlocker blocker(box);
    box->setTristate(value == 2);
    box->setCheckState(value == 2 ? Qt::PartiallyChecked : value ? Qt::Checked : Qt::Unchecked);
}

void OptionsPanel::bind(base::Options &options)
{
    m_options = &options;
    for (auto s : {base::Options::AutoClear,
                   base::Options::Overwrite,
                   base::Options::AutoStart,
                   base::Options::ShowEd}) {
        QCheckBox *box = checkBoxFor(s);
        showSwitch(s, options.value(s));
        connect(box, &QCheckBox::clicked, this, [this, s, box] {
            // A click never leads to the greyed state.
            box->setTristate(false);
            m_options->setValueByUser(s, box->isChecked() ? 1 : 0);
        });
    }
    connect(&options, &base::Options::valueChanged, this, &OptionsPanel::showSwitch);
}

} // namespace barlink::app
