#include "ExclusionDialog.h"
#include "ui_ExclusionDialog.h"

#include "ExclusionChoice.h"
#include "base/Error.h"
#include "base/Prompter.h"

namespace barlink::exclusion {

ExclusionDialog::ExclusionDialog(ExclusionChoice &choice, base::Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::ExclusionDialog>())
    , m_choice(choice)
    , m_prompter(prompter)
{
    m_ui->setupUi(this);
    m_exCk = {m_ui->ExCk_1,
              m_ui->ExCk_2,
              m_ui->ExCk_3,
              m_ui->ExCk_4,
              m_ui->ExCk_5,
              m_ui->ExCk_6,
              m_ui->ExCk_7,
              m_ui->ExCk_8};

    const ExclusionBoxes boxes = m_choice.boxes();
    for (std::size_t i = 0; i < m_exCk.size(); ++i)
        m_exCk[i]->setChecked(boxes[i]);

    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ExclusionDialog::onOk);
    connect(m_ui->BtnCan, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
    setFixedSize(size());
}

ExclusionDialog::~ExclusionDialog() = default;

void ExclusionDialog::onOk()
{
    ExclusionBoxes boxes{};
    for (std::size_t i = 0; i < m_exCk.size(); ++i) {
        // A greyed box counts as chosen.
        boxes[i] = m_exCk[i]->checkState() != Qt::Unchecked;
    }
    try {
        m_choice.choose(boxes);
    } catch (const base::Error &error) {
        // Nothing was stored: the dialog stays open so the operator can try again or cancel.
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
        return;
    }
    accept();
}

} // namespace barlink::exclusion
