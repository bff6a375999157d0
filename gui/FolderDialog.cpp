#include "gui/FolderDialog.h"

#include "app/FolderSelectionModel.h"
#include "gui/FileChoosers.h"
#include "gui/HistoryCombo.h"
#include "gui/QtText.h"
#include "ui_FolderDialog.h"

FolderDialog::FolderDialog(QWidget* parent, FolderSelectionModel& model,
                           const FileChoosers& choosers)
    : DialogBase(parent), m_ui(std::make_unique<Ui::FolderDialog>()), m_model(model),
      m_choosers(choosers)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(m_model.request().effectiveTitle().view()));

    HistoryCombo::fill(m_ui->inputCombo, m_model.historyEntries(), m_model.initialText());

    connect(m_ui->okButton, &QPushButton::clicked, this, &FolderDialog::ok);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, [this] { done(CancelId); });
    connect(m_ui->browseButton, &QPushButton::clicked, this, &FolderDialog::browse);

    nameControlsByLabels(this);
    m_ui->promptEdit->setAccessibleName(windowTitle());
    showPromptArea();
    m_ui->inputCombo->setFocus();
    centre();
}

FolderDialog::~FolderDialog() = default;

bool FolderDialog::run(QWidget* parent, FolderSelectionModel& model, const FileChoosers& choosers)
{
    FolderDialog dialog(parent, model, choosers);
    return dialog.exec() == OkId;
}

void FolderDialog::reject()
{
    done(CancelId);
}

void FolderDialog::ok()
{
    if (m_model.accept(toCp932(m_ui->inputCombo->currentText()),
                       m_ui->keepWordTotalsBox->isChecked())) {
        done(OkId);
        return;
    }
    showPromptArea();
    m_ui->inputCombo->setFocus();
}

void FolderDialog::browse()
{
    const FCString start =
        FolderSelectionModel::browserStartFolder(toCp932(m_ui->inputCombo->currentText()));
    const QString chosen = m_choosers.browseForFolder(
        this, fromCp932(FolderSelectionModel::browserInstruction()), fromCp932(start.view()));
    if (!chosen.isEmpty())
        m_ui->inputCombo->setEditText(chosen);
}

void FolderDialog::showPromptArea()
{
    const QString text = fromCp932(m_model.promptAreaText().view());
    m_ui->promptEdit->setPlainText(text);
    // The prompt area is the combo box's only label.
    m_ui->inputCombo->setAccessibleName(text);
}
