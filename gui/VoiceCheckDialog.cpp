#include "gui/VoiceCheckDialog.h"

#include "app/VoiceCheckDialogModel.h"
#include "gui/FileChoosers.h"
#include "gui/HistoryCombo.h"
#include "gui/QtText.h"
#include "ui_VoiceCheckDialog.h"

#include <QHeaderView>

namespace {

// The model's "label,pattern,label,pattern" in the toolkit's form.
QString chooserFilters(const char* cp932Pairs)
{
    const QStringList parts = fromCp932(cp932Pairs).split(u',');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts[i] + QStringLiteral(" (") + parts[i + 1] + QStringLiteral(")"));
    return filters.join(QStringLiteral(";;"));
}

} // namespace

VoiceCheckDialog::VoiceCheckDialog(QWidget* parent, VoiceCheckDialogModel& model,
                                   const FileChoosers& choosers)
    : DialogBase(parent), m_ui(std::make_unique<Ui::VoiceCheckDialog>()), m_model(model),
      m_choosers(choosers)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(VoiceCheckDialogModel::title()));
    setSizeGripEnabled(true);

    fillHistory();
    m_ui->patternEdit->setText(fromCp932(m_model.patternText.view()));
    m_ui->patternHintLabel->setText(fromCp932(VoiceCheckDialogModel::defaultPatternHint()));
    m_ui->contentCheck->setChecked(m_model.checkContent);
    m_ui->moveRadio->setChecked(m_model.moveFiles);
    m_ui->copyRadio->setChecked(!m_model.moveFiles);
    m_ui->bySceneCheck->setChecked(m_model.byScene);
    m_ui->tableView->setList(&m_model.table());
    m_ui->problemView->setList(&m_model.problems());
    // The details of a problem take what the window gives the list.
    m_ui->problemView->horizontalHeader()->setStretchLastSection(true);
    // Three lines of text, whatever the font.
    m_ui->messageEdit->setFixedHeight(m_ui->messageEdit->fontMetrics().lineSpacing() * 3 +
                                      2 * m_ui->messageEdit->frameWidth() + 8);

    connectControls();
    nameControlsByLabels(this);
    showState();
    m_ui->deliveryCombo->setFocus();
    centre();
}

VoiceCheckDialog::~VoiceCheckDialog()
{
    // The views listen to the model's lists, which outlive the window.
    m_ui->tableView->setList(nullptr);
    m_ui->problemView->setList(nullptr);
}

void VoiceCheckDialog::run(QWidget* parent, VoiceCheckDialogModel& model,
                           const FileChoosers& choosers)
{
    VoiceCheckDialog dialog(parent, model, choosers);
    dialog.exec();
}

void VoiceCheckDialog::connectControls()
{
    // Every change reaches the model, typed or set by an assistive tool.
    connect(m_ui->deliveryCombo, &QComboBox::editTextChanged, this, [this](const QString& text) {
        m_model.deliveryText = FCString(std::string_view(toCp932(text)));
    });
    connect(m_ui->patternEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model.patternText = FCString(std::string_view(toCp932(text)));
    });
    connect(m_ui->contentCheck, &QCheckBox::toggled, this,
            [this](bool on) { m_model.checkContent = on; });
    connect(m_ui->moveRadio, &QRadioButton::toggled, this,
            [this](bool on) { m_model.moveFiles = on; });
    connect(m_ui->bySceneCheck, &QCheckBox::toggled, this,
            [this](bool on) { m_model.byScene = on; });

    connect(m_ui->browseButton, &QPushButton::clicked, this, &VoiceCheckDialog::browseDelivery);
    connect(m_ui->checkButton, &QPushButton::clicked, this, &VoiceCheckDialog::check);
    connect(m_ui->csvButton, &QPushButton::clicked, this, &VoiceCheckDialog::saveCsv);
    connect(m_ui->sortButton, &QPushButton::clicked, this, &VoiceCheckDialog::sort);
    connect(m_ui->printButton, &QPushButton::clicked, this, [this] {
        (void)m_model.printMissing();
        showState();
    });
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void VoiceCheckDialog::fillHistory()
{
    const FCString text = m_model.deliveryText;
    m_ui->deliveryCombo->clear();
    HistoryCombo::fill(m_ui->deliveryCombo, m_model.historyEntries(), text);
}

void VoiceCheckDialog::browseDelivery()
{
    const QString chosen =
        m_choosers.browseForFolder(this, m_ui->deliveryLabel->text(), m_ui->deliveryCombo->currentText());
    if (!chosen.isEmpty())
        m_ui->deliveryCombo->setEditText(chosen);
}

void VoiceCheckDialog::check()
{
    if (m_model.check() == VoiceCheckDialogModel::Outcome::Done)
        fillHistory();
    showState();
}

void VoiceCheckDialog::saveCsv()
{
    const QString chosen =
        m_choosers.chooseFile(this, fromCp932(VoiceCheckDialogModel::csvChooserTitle()),
                          QString::fromStdString(m_model.csvStart()),
                              chooserFilters(VoiceCheckDialogModel::csvChooserFilter()),
                              FileChoosers::Purpose::Write);
    if (chosen.isEmpty())
        return;
    (void)m_model.saveCsv(chosen.toStdString());
    showState();
}

void VoiceCheckDialog::sort()
{
    const QString chosen =
        m_choosers.browseForFolder(this, fromCp932(VoiceCheckDialogModel::destinationChooserTitle()), {});
    if (chosen.isEmpty())
        return;
    (void)m_model.sort(chosen.toStdString());
    showState();
}

void VoiceCheckDialog::showState()
{
    m_ui->messageEdit->setPlainText(fromCp932(m_model.message().view()));
    m_ui->csvButton->setEnabled(m_model.hasResult());
    m_ui->sortButton->setEnabled(m_model.canSort());
    m_ui->printButton->setEnabled(m_model.canPrintMissing());
}
