#include "gui/FindDialog.h"

#include "app/FindFileModel.h"
#include "gui/HistoryCombo.h"
#include "gui/QtText.h"
#include "ui_FindDialog.h"

#include <QLineEdit>

FindDialog::FindDialog(QWidget* parent, FindFileModel& model)
    : DialogBase(parent), m_ui(std::make_unique<Ui::FindDialog>()), m_model(model)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(m_model.request().effectiveTitle().view()));

    HistoryCombo::fill(m_ui->inputCombo, m_model.historyEntries(), m_model.initialText());

    connect(m_ui->okButton, &QPushButton::clicked, this, &FindDialog::ok);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, [this] { done(CancelId); });

    nameControlsByLabels(this);
    m_ui->promptEdit->setAccessibleName(windowTitle());
    showPromptArea();
    m_ui->inputCombo->setFocus();
    centre();
}

FindDialog::~FindDialog() = default;

bool FindDialog::run(QWidget* parent, FindFileModel& model)
{
    FindDialog dialog(parent, model);
    return dialog.exec() == OkId;
}

void FindDialog::reject()
{
    done(CancelId);
}

void FindDialog::ok()
{
    if (m_model.accept(toCp932(m_ui->inputCombo->currentText()))) {
        done(OkId);
        return;
    }
    showPromptArea();
    m_ui->inputCombo->setFocus();
}

void FindDialog::showPromptArea()
{
    const QString text = fromCp932(m_model.promptAreaText().view());
    m_ui->promptEdit->setPlainText(text);
    // The prompt area is the combo box's only label.
    m_ui->inputCombo->setAccessibleName(text);
}
