#pragma once

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;

namespace Ui {
class ExclusionDialog;
}

namespace barlink::base {
class Prompter;
} // namespace barlink::base

namespace barlink::app {}

namespace barlink::exclusion {

class ExclusionChoice;

// ExInsForm: the operator picks which of the eight exclusions to insert. Opens with the
// choice of this run; OK confirms a new one, Cancel leaves everything as it was.
class ExclusionDialog : public QDialog
{
    Q_OBJECT
public:
    ExclusionDialog(ExclusionChoice &choice, base::Prompter &prompter, QWidget *parent = nullptr);
    ~ExclusionDialog() override;

private:
    void onOk();

    std::unique_ptr<Ui::ExclusionDialog> m_ui;
    ExclusionChoice &m_choice;
    base::Prompter &m_prompter;
    // ExCk(1) to ExCk(8), left to right.
    std::array<QCheckBox *, 8> m_exCk{};
};

} // namespace barlink::exclusion
