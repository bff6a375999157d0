#include "gui/ChangeCheckDialog.h"

#include "app/ChangeCheckDialogModel.h"
#include "gui/FileChoosers.h"
#include "gui/HistoryCombo.h"
#include "gui/QtText.h"
#include "ui_ChangeCheckDialog.h"

#include <QHeaderView>

ChangeCheckDialog::ChangeCheckDialog(QWidget* parent, ChangeCheckDialogModel& model,
                                     const FileChoosers& choosers)
    : DialogBase(parent), m_ui(std::make_unique<Ui::ChangeCheckDialog>()), m_model(model),
      m_choosers(choosers)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(ChangeCheckDialogModel::title()));
    setSizeGripEnabled(true);

    fillHistory();
    fillFilter();
    m_ui->sincePrintRadio->setChecked(m_model.source.sincePrint);
    m_ui->folderRadio->setChecked(!m_model.source.sincePrint);
    m_ui->tableView->setList(&m_model.table());
    // The new text takes what the window gives the table.
    m_ui->tableView->horizontalHeader()->setStretchLastSection(true);
    // Three lines of text, whatever the font.
    m_ui->messageEdit->setFixedHeight(m_ui->messageEdit->fontMetrics().lineSpacing() * 3 +
                                      2 * m_ui->messageEdit->frameWidth() + 8);

    connectControls();
    nameControlsByLabels(this);
    showState();
    (m_model.source.sincePrint ? m_ui->sincePrintRadio : m_ui->folderRadio)->setFocus();
    centre();
}

ChangeCheckDialog::~ChangeCheckDialog()
{
    // The view listens to the model's list, which outlives the window.
    m_ui->tableView->setList(nullptr);
}

void ChangeCheckDialog::run(QWidget* parent, ChangeCheckDialogModel& model,
                            const FileChoosers& choosers)
{
    ChangeCheckDialog dialog(parent, model, choosers);
    dialog.exec();
}

void ChangeCheckDialog::connectControls()
{
    // Every change reaches the model, made by hand or by an assistive tool.
    connect(m_ui->sincePrintRadio, &QRadioButton::toggled, this, [this](bool on) {
        m_model.source.sincePrint = on;
        showState();
    });
    connect(m_ui->folderCombo, &QComboBox::editTextChanged, this, [this](const QString& text) {
        m_model.source.folderText = FCString(std::string_view(toCp932(text)));
    });
    connect(m_ui->filterCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling)
            return;
        m_model.chooseFilter(index);
        showState();
    });

    connect(m_ui->browseButton, &QPushButton::clicked, this, &ChangeCheckDialog::browseFolder);
    connect(m_ui->compareButton, &QPushButton::clicked, this, &ChangeCheckDialog::compare);
    connect(m_ui->printButton, &QPushButton::clicked, this, [this] {
        (void)m_model.printPickup();
        showState();
    });
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ChangeCheckDialog::fillHistory()
{
    const FCString text = m_model.source.folderText;
    m_ui->folderCombo->clear();
    HistoryCombo::fill(m_ui->folderCombo, m_model.historyEntries(), text);
}

void ChangeCheckDialog::fillFilter()
{
    m_filling = true;
    m_ui->filterCombo->clear();
    for (const std::string& entry : m_model.filterEntries())
        m_ui->filterCombo->addItem(fromCp932(entry));
    m_ui->filterCombo->setCurrentIndex(m_model.filterIndex());
    m_filling = false;
}

void ChangeCheckDialog::browseFolder()
{
    const QString chosen = m_choosers.browseForFolder(
        this, withoutMnemonics(m_ui->folderRadio->text()), m_ui->folderCombo->currentText());
    if (chosen.isEmpty())
        return;
    m_ui->folderCombo->setEditText(chosen);
}

void ChangeCheckDialog::compare()
{
    if (m_model.compare() == ChangeCheckDialogModel::Outcome::Done) {
        fillHistory();
        fillFilter();
    }
    showState();
}

void ChangeCheckDialog::showState()
{
    const bool folder = !m_model.source.sincePrint;
    m_ui->folderCombo->setEnabled(folder);
    m_ui->browseButton->setEnabled(folder);
    m_ui->filterCombo->setEnabled(m_model.hasResult());
    m_ui->countEdit->setText(fromCp932(m_model.countText().view()));
    m_ui->messageEdit->setPlainText(fromCp932(m_model.message().view()));
    m_ui->printButton->setEnabled(m_model.canPrint());
}
