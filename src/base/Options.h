#pragma once

#include <QObject>

namespace barlink::base {

// The four option switches of the main window, as a model the check boxes bind to.
// Values are check box states: 0 cleared, 1 set, 2 greyed.
class Options : public QObject
{
    Q_OBJECT
public:
    enum Switch { AutoClear, Overwrite, AutoStart, ShowEd };
    Q_ENUM(Switch)

    using QObject::QObject;

    [[nodiscard]] int value(Switch s) const { return m_values[s]; }
    [[nodiscard]] bool isTicked(Switch s) const { return m_values[s] != 0; }

    [[nodiscard]] bool autoClear() const { return isTicked(AutoClear); }
    [[nodiscard]] bool overwrite() const { return isTicked(Overwrite); }
    [[nodiscard]] bool autoStart() const { return isTicked(AutoStart); }
    [[nodiscard]] bool showEd() const { return isTicked(ShowEd); }

    // Sets a switch from the program (settings file); emits valueChanged only.
    void setValue(Switch s, int value)
    {
        if (m_values[s] == value)
            return;
        m_values[s] = value;
        Q_EMIT valueChanged(s, value);
    }

    // Sets a switch the way the operator's click does: also emits userChanged,
    // on which the settings key is written.
    void setValueByUser(Switch s, int value)
    {
        setValue(s, value);
        Q_EMIT userChanged(s, value);
    }

Q_SIGNALS:
    void valueChanged(barlink::base::Options::Switch s, int value);
    void userChanged(barlink::base::Options::Switch s, int value);

private:
    int m_values[4] = {0, 0, 0, 0};
};

} // namespace barlink::base
