#pragma once

#include "AutoSelSettings.h"
#include "FieldSlot.h"

#include <QDialog>
#include <QList>

#include <array>
#include <memory>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace Ui {
class FieldSelectionDialog;
}

namespace barlink::base {
struct Settings;
} // namespace barlink::base

namespace barlink::app {}

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {}

namespace barlink::fieldsel {

// MacFlds: the user sets up the automatic field selection (slot codes and enable flags, the
// default field, the half limits, the mirror trigger). Its controls show the process's one
// AutoSelSettings and edit it in place, so a change counts for the next selection at once;
// OK also writes the settings file, Cancel (and closing the dialog) puts back the settings
// as they were when the dialog was shown.
class FieldSelectionDialog : public QDialog
{
    Q_OBJECT
public:
    // model: the loaded settings of the process; settings: the file OK writes to; item: its
    // last program name and comment are shown on a double-click of the trigger display.
    FieldSelectionDialog(AutoSelSettings &model,
                         const base::Settings &settings,
                         const base::CurrentItem &item,
                         QWidget *parent = nullptr);
    ~FieldSelectionDialog() override;

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setUpControls();
    void connectControls();
    void drawTables();
    // Shows the model in the controls without feeding the change back.
    void showModel();
    void showTrigger();
    void chooseSource(TriggerSource source);
    void chooseAction(MirrorAction action);
    void setAllFlags(qint16 flag);
    void showTabButtons(int tab);
    void onOk();
    void centreOnScreen();

    std::unique_ptr<Ui::FieldSelectionDialog> m_ui;
    AutoSelSettings &m_model;
    const base::Settings &m_settings;
    const base::CurrentItem &m_item;
    // The settings as they were when the dialog was shown; Cancel puts them back.
    AutoSelSettings m_opened;
    std::array<QLineEdit *, FieldSlotCount> m_codeBoxes{};
    std::array<QCheckBox *, FieldSlotCount> m_flagBoxes{}; // none for SFN and SFM
    // The source and action options: a mouse press on them stores the live trigger.
    QList<QRadioButton *> m_triggerOptions;
};

} // namespace barlink::fieldsel
