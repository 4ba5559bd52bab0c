#pragma once

#include "base/Options.h"

#include <QGroupBox>

class QCheckBox;

namespace barlink::app {

// The option switches (automatic clear, overwrite, auto start, show in editor) as check boxes
// bound to the station's switches both ways: a click sets the switch as the operator's choice,
// a change from the program shows without counting as one.
class OptionsPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit OptionsPanel(QWidget *parent = nullptr);

    void bind(base::Options &options);
    // The check boxes in the order Tab goes through them.
    [[nodiscard]] QList<QWidget *> tabOrder() const;

private:
    QCheckBox *checkBoxFor(base::Options::Switch s) const;
    void showSwitch(base::Options::Switch s, int value);

    base::Options *m_options = nullptr;
    QCheckBox *m_autoClear = nullptr;
    QCheckBox *m_overwrite = nullptr;
    QCheckBox *m_showEd = nullptr;
    QCheckBox *m_autoStart = nullptr;
};

} // namespace barlink::app
