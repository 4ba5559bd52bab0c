#pragma once

#include "base/OperatorDisplay.h"
#include "base/Options.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QCheckBox;
class QLabel;

namespace Ui {
class MainWindow;
}

namespace barlink::base {
class LabelGate;
} // namespace barlink::base

namespace barlink::label {
class LabelInterpreter;
} // namespace barlink::label

namespace barlink::app {

// frmMain: what the scanner delivered and what the station is doing, the manual
// label entry, the option switches and the menus.
class MainWindow : public QMainWindow, public base::OperatorDisplay
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Binds the option check boxes to the switches (both ways).
    void bindOptions(base::Options &options);
    // Where manual entry sends its labels, and the gate that keeps one label at a time.
    void setLabelInterpreter(label::LabelInterpreter *interpreter, base::LabelGate *gate);

    // Enables the menu commands whose signal below is connected; the others stay disabled.
    void enableMenus();

    // OperatorDisplay
    void setStatus(const QString &text) override;
    [[nodiscard]] QString status() const override;
    void setSegmentIndicator(Segment segment, bool visible) override;
    void setAutoFieldSelectionVisible(bool visible) override;
    void setExclusionText(const QString &text) override;
    void setLastScan(const QString &text) override;
    void setActivity(bool visible, const QString &caption) override;
    void setCurrentSettings(const QString &text) override;
    void setPortState(PortState state, const QString &device) override;
    void beep() override;

    [[nodiscard]] bool exitRequested() const { return m_exitRequested; }

Q_SIGNALS:
    // Menu commands whose windows live elsewhere.
    void portSettingsRequested();
    void autoFieldSelectRequested();
    void exclusionInsertionRequested();
    void aboutRequested();
    // The List Manager window is to be shown again once it has been closed.
    void listManagerRequested();
    // View > Journal.
    void journalRequested();
    // Tools > Try a label….
    void tryRequested();
    // The window was closed with its close box (not with E&xit).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startManualEntry();
    void endManualEntry();
    void closeManualEntry();
    QCheckBox *checkBoxFor(base::Options::Switch s) const;
    void showOption(base::Options::Switch s, int value);

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::array<QLabel *, SegmentCount> m_labId{};
    base::Options *m_options = nullptr;
    label::LabelInterpreter *m_interpreter = nullptr;
    base::LabelGate *m_gate = nullptr;
    bool m_exitRequested = false;
    // The status line's whole text; the line itself shows its beginning.
    QString m_status;
};

} // namespace barlink::app
