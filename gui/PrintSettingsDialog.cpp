#include "gui/PrintSettingsDialog.h"

#include "app/FolderSelectionModel.h"
#include "format/PrintSettingsDialogModel.h"
#include "gui/ListViewModel.h"
#include "gui/QtText.h"
#include "gui/RichTextWriter.h"
#include "ui_PrintSettingsDialog.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QKeyEvent>

namespace {

using Model = PrintSettingsDialogModel;

PrintSettingsDialog::FolderBrowser& replacedBrowser()
{
    static PrintSettingsDialog::FolderBrowser browser;
    return browser;
}

PrintSettingsDialog::FileChooser& replacedChooser()
{
    static PrintSettingsDialog::FileChooser chooser;
    return chooser;
}

QString browseForFolder(QWidget* owner, const QString& caption, const QString& start)
{
    if (const PrintSettingsDialog::FolderBrowser& replaced = replacedBrowser())
        return replaced(owner, caption, start);
    return QFileDialog::getExistingDirectory(owner, caption, start, QFileDialog::ShowDirsOnly);
}

QString chooseFile(QWidget* owner, const QString& title, const QString& start,
                   const QString& filters)
{
    if (const PrintSettingsDialog::FileChooser& replaced = replacedChooser())
        return replaced(owner, title, start, filters);
    // A log file need not exist yet: the run creates it.
    QFileDialog dialog(owner, title, start, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

OutputDevice deviceOf(int controlId)
{
    switch (controlId) {
    case Model::BmpId:
        return OutputDevice::Bmp;
    case Model::PngId:
        return OutputDevice::Png;
    case Model::PdfId:
        return OutputDevice::Pdf;
    default:
        return OutputDevice::Printer;
    }
}

int deviceControl(OutputDevice device)
{
    switch (device) {
    case OutputDevice::Bmp:
        return Model::BmpId;
    case OutputDevice::Png:
        return Model::PngId;
    case OutputDevice::Pdf:
        return Model::PdfId;
    default:
        return Model::PrinterId;
    }
}

// The mode radios in the order of their ids, 1033 to 1036.
constexpr int ModeOfRadio[] = {PrintFormat::ModePreset14, PrintFormat::ModePreset16,
                               PrintFormat::ModePreset18, PrintFormat::ModeCustom};

int modeControl(int mode)
{
    for (int i = 0; i < 4; ++i) {
        if (ModeOfRadio[i] == mode)
            return Model::Preset14Id + i;
    }
    return Model::Preset14Id;
}

int controlIdOf(const QWidget* widget)
{
    return widget->property(DialogBase::ControlIdProperty).toInt();
}

// Checks the button of the group that carries the id; no button for -1. An
// exclusive group keeps one button checked, so it lets go for a moment.
void checkInGroup(QButtonGroup* group, int controlId)
{
    QAbstractButton* wanted = nullptr;
    for (QAbstractButton* button : group->buttons()) {
        if (controlIdOf(button) == controlId)
            wanted = button;
    }
    if (wanted) {
        wanted->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

PrintSettingsDialog::PrintSettingsDialog(QWidget* parent, PrintSettingsDialogModel& model)
    : DialogBase(parent), m_ui(std::make_unique<Ui::PrintSettingsDialog>()), m_model(model)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(m_model.title()));
    m_ui->okButton->setText(fromCp932(m_model.okCaption()));

    for (QComboBox* combo :
         {m_ui->targetFaceCombo, m_ui->generalFaceCombo, m_ui->commentFaceCombo}) {
        for (const std::string& face : m_model.faces())
            combo->addItem(fromCp932(face));
    }

    Model::defineColumns(m_list);
    m_model.fillList(m_list);
    m_ui->suppressedList->setList(&m_list);

    connectControls();
    nameControlsByLabels(this);
    // F1 reaches the dialog through whichever control has the focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    showModel();
    showCount();
    showMessage();
    centre();
}

PrintSettingsDialog::~PrintSettingsDialog()
{
    // The view listens to the list, which goes before the view does.
    m_ui->suppressedList->setList(nullptr);
}

bool PrintSettingsDialog::run(QWidget* parent, PrintSettingsDialogModel& model)
{
    PrintSettingsDialog dialog(parent, model);
    return dialog.exec() == QDialog::Accepted && model.accepted();
}

void PrintSettingsDialog::setFolderBrowser(FolderBrowser browser)
{
    replacedBrowser() = std::move(browser);
}

void PrintSettingsDialog::setFileChooser(FileChooser chooser)
{
    replacedChooser() = std::move(chooser);
}

QString PrintSettingsDialog::logFileDialogTitle()
{
    return QString::fromUtf8("ログファイルの選択");
}

QString PrintSettingsDialog::logFileFilters()
{
    return QString::fromUtf8("ログファイル (*.txt);;全てのファイル (*)");
}

void PrintSettingsDialog::connectControls()
{
    // Only the user's actions are connected (clicked, textEdited,
    // activated), so that showing the model never feeds back into it.
    connect(m_ui->deviceGroup, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* button) {
        m_model.chooseDevice(deviceOf(controlIdOf(button)));
        showModel();
    });
    connect(m_ui->destinationEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setDestinationText(toCp932(text)); });
    connect(m_ui->destinationBrowseButton, &QPushButton::clicked, this,
            &PrintSettingsDialog::browseDestination);
    connect(m_ui->bundleByActorCheckBox, &QCheckBox::clicked, this, [this](bool ticked) {
        m_model.setBundleByActor(ticked);
        showModel();
    });
    connect(m_ui->logCheckBox, &QCheckBox::clicked, this, [this](bool ticked) {
        m_model.setLog(ticked);
        showModel();
    });
    connect(m_ui->logFileEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setLogText(toCp932(text)); });
    connect(m_ui->logBrowseButton, &QPushButton::clicked, this,
            &PrintSettingsDialog::browseLogFile);

    connect(m_ui->modeGroup, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* button) {
        m_model.chooseMode(ModeOfRadio[controlIdOf(button) - Model::Preset14Id]);
        showModel();
    });
    QComboBox* combos[] = {m_ui->targetFaceCombo, m_ui->generalFaceCombo, m_ui->commentFaceCombo};
    QLineEdit* weights[] = {m_ui->targetWeightEdit, m_ui->generalWeightEdit,
                            m_ui->commentWeightEdit};
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        connect(combos[face], &QComboBox::activated, this,
                [this, face](int index) { m_model.selectFace(face, index); });
        connect(weights[face], &QLineEdit::textEdited, this,
                [this, face](const QString& text) { m_model.setWeightText(face, toCp932(text)); });
    }
    connect(m_ui->fontSizeEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.editFontHeight(toCp932(text));
        showModel();
    });
    connect(m_ui->lineWidthEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.editLineWidth(toCp932(text));
        showModel();
    });
    connect(m_ui->linesPerPageEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.editLinesPerPage(toCp932(text)); });
    connect(m_ui->charsPerLineEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.editCharsPerLine(toCp932(text)); });
    connect(m_ui->autoCalcCheckBox, &QCheckBox::clicked, this, [this](bool ticked) {
        m_model.setAutoCalc(ticked);
        showModel();
    });

    connect(m_ui->genericCheckBox, &QCheckBox::clicked, this,
            [this](bool ticked) { m_model.setGeneric(ticked); });
    connect(m_ui->emphasisCheckBox, &QCheckBox::clicked, this,
            [this](bool ticked) { m_model.setEmphasis(ticked); });
    connect(m_ui->backgroundGroup, &QButtonGroup::buttonClicked, this,
            [this](QAbstractButton* button) {
                m_model.chooseBackground(controlIdOf(button) - Model::FirstBackgroundId);
            });
    connect(m_ui->greyEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setGreyText(toCp932(text)); });

    // A tick the user sets in the list, or one the model's operations set,
    // reaches the model and the count alike.
    connect(m_ui->suppressedList->listModel(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::CheckStateRole))
                    takeTicksFromList(from.row(), to.row());
            });
    connect(m_ui->suppressedList, &ListView::rowDoubleClicked, this, [this](int row) {
        m_model.toggle(row);
        m_model.showTicks(m_list);
    });
    connect(m_ui->selectAllButton, &QPushButton::clicked, this, [this] {
        m_model.selectAll();
        m_model.showTicks(m_list);
    });
    connect(m_ui->clearAllButton, &QPushButton::clicked, this, [this] {
        m_model.clearAll();
        m_model.showTicks(m_list);
    });

    connect(m_ui->okButton, &QPushButton::clicked, this, &PrintSettingsDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintSettingsDialog::setTextKeepingCursor(QLineEdit* edit, const QString& text)
{
    // Setting the text the user is typing would move the cursor to the end.
    if (edit->text() != text)
        edit->setText(text);
}

void PrintSettingsDialog::showModel()
{
    checkInGroup(m_ui->deviceGroup, deviceControl(m_model.device()));
    setTextKeepingCursor(m_ui->destinationEdit, fromCp932(m_model.destinationText().view()));
    m_ui->destinationEdit->setEnabled(m_model.destinationEnabled());
    m_ui->destinationBrowseButton->setEnabled(m_model.destinationEnabled());
    m_ui->bundleByActorCheckBox->setChecked(m_model.bundleByActor());
    m_ui->bundleByActorCheckBox->setEnabled(m_model.bundleEnabled());

    m_ui->logCheckBox->setChecked(m_model.logTicked());
    setTextKeepingCursor(m_ui->logFileEdit, fromCp932(m_model.logText().view()));
    m_ui->logFileEdit->setEnabled(m_model.logEnabled());
    m_ui->logBrowseButton->setEnabled(m_model.logEnabled());

    checkInGroup(m_ui->modeGroup, modeControl(m_model.mode()));
    const bool custom = m_model.customEnabled();
    QComboBox* combos[] = {m_ui->targetFaceCombo, m_ui->generalFaceCombo, m_ui->commentFaceCombo};
    QLineEdit* weights[] = {m_ui->targetWeightEdit, m_ui->generalWeightEdit,
                            m_ui->commentWeightEdit};
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        combos[face]->setCurrentIndex(m_model.faceIndex(face));
        combos[face]->setEnabled(custom);
        setTextKeepingCursor(weights[face], fromCp932(m_model.weightText(face).view()));
        weights[face]->setEnabled(custom);
    }
    const std::pair<QLineEdit*, const FCString*> sizes[] = {
        {m_ui->fontSizeEdit, &m_model.fontSizeText()},
        {m_ui->lineWidthEdit, &m_model.lineWidthText()},
        {m_ui->linesPerPageEdit, &m_model.linesPerPageText()},
        {m_ui->charsPerLineEdit, &m_model.charsPerLineText()},
    };
    for (const auto& [edit, text] : sizes) {
        setTextKeepingCursor(edit, fromCp932(text->view()));
        edit->setEnabled(custom);
    }
    m_ui->linesPerPageEdit->setReadOnly(m_model.sizesReadOnly());
    m_ui->charsPerLineEdit->setReadOnly(m_model.sizesReadOnly());
    m_ui->autoCalcCheckBox->setChecked(m_model.autoCalc());
    m_ui->autoCalcCheckBox->setEnabled(custom);

    m_ui->genericCheckBox->setChecked(m_model.generic());
    m_ui->emphasisCheckBox->setChecked(m_model.emphasis());
    const int background = m_model.background();
    checkInGroup(m_ui->backgroundGroup,
                 background < 0 ? -1 : Model::FirstBackgroundId + background);
    setTextKeepingCursor(m_ui->greyEdit, fromCp932(m_model.greyText().view()));
}

void PrintSettingsDialog::showMessage()
{
    if (m_model.messageIsHelp())
        RichTextWriter::write(m_ui->messageEdit, m_model.message().view());
    else
        m_ui->messageEdit->setPlainText(fromCp932(m_model.message().view()));
}

void PrintSettingsDialog::showCount()
{
    m_ui->countLabel->setText(fromCp932(m_model.countText().view()));
}

void PrintSettingsDialog::takeTicksFromList(int first, int last)
{
    for (int row = std::max(first, 0); row <= last && row < m_list.rowCount(); ++row)
        m_model.setTicked(row, m_list.stateImage(row) == UxListViewControl::StateTicked);
    showCount();
}

void PrintSettingsDialog::browseDestination()
{
    const FCString start =
        FolderSelectionModel::browserStartFolder(toCp932(m_ui->destinationEdit->text()));
    const QString chosen = browseForFolder(
        this, fromCp932(FolderSelectionModel::browserInstruction()), fromCp932(start.view()));
    if (chosen.isEmpty())
        return;
    m_model.setDestinationText(toCp932(chosen));
    showModel();
}

void PrintSettingsDialog::browseLogFile()
{
    const QString start = fromCp932(Model::logBrowserStart(toCp932(m_ui->logFileEdit->text())));
    const QString chosen = chooseFile(this, logFileDialogTitle(), start, logFileFilters());
    if (chosen.isEmpty())
        return;
    m_model.setLogText(toCp932(chosen));
    showModel();
}

void PrintSettingsDialog::accept()
{
    if (m_model.accept()) {
        QDialog::accept();
        return;
    }
    showMessage();
}

bool PrintSettingsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        showHelpOf(static_cast<QWidget*>(watched));
        return true;
    }
    return DialogBase::eventFilter(watched, event);
}

void PrintSettingsDialog::showHelpOf(QWidget* widget)
{
    // The focus may rest on a part of a control (a list's viewport): the
    // control is the nearest widget with an id.
    int id = 0;
    for (QWidget* at = widget; at && at != this; at = at->parentWidget()) {
        if (at->property(ControlIdProperty).isValid()) {
            id = controlIdOf(at);
            break;
        }
    }
    m_model.showHelp(id);
    showMessage();
}
