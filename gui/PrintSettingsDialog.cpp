#include "gui/PrintSettingsDialog.h"

#include "app/FolderSelectionModel.h"
#include "app/PrintSettingsDialogModel.h"
#include "gui/FileChoosers.h"
#include "gui/HistoryCombo.h"
#include "gui/ListViewModel.h"
#include "gui/QtText.h"
#include "gui/RichTextWriter.h"
#include "ui_PrintSettingsDialog.h"

#include <QButtonGroup>
#include <QKeyEvent>

namespace {

using Model = PrintSettingsDialogModel;

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
    return widget ? widget->property(DialogBase::ControlIdProperty).toInt() : 0;
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

PrintSettingsDialog::PrintSettingsDialog(QWidget* parent, PrintSettingsDialogModel& model,
                                         const FileChoosers& choosers)
    : DialogBase(parent), m_ui(std::make_unique<Ui::PrintSettingsDialog>()), m_model(model),
      m_choosers(choosers)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(m_model.title()));
    m_ui->okButton->setText(fromCp932(m_model.okCaption()));

    // A face the settings name but this machine lacks is offered too, its
    // label saying what prints it here; the model keeps the name itself.
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        for (const std::string& label : m_model.faceLabels())
            faceCombo(face)->addItem(fromCp932(label));
    }

    // The choice of changed lines belongs to a print the caller offers it
    // for; elsewhere the form does without it.
    m_ui->changesBox->setVisible(m_model.changesOffered());
    HistoryCombo::fill(m_ui->compareFolderCombo, m_model.compareFolderHistory(),
                       m_model.compareFolderText());

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
    // The dialog opens where the user is likely to start: on the device the
    // settings have.
    if (QAbstractButton* device = m_ui->deviceGroup->checkedButton())
        device->setFocus();
    centre();
}

PrintSettingsDialog::~PrintSettingsDialog()
{
    // The view listens to the list, which goes before the view does.
    m_ui->suppressedList->setList(nullptr);
}

bool PrintSettingsDialog::run(QWidget* parent, PrintSettingsDialogModel& model,
                              const FileChoosers& choosers)
{
    PrintSettingsDialog dialog(parent, model, choosers);
    return dialog.exec() == QDialog::Accepted && model.accepted();
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
    // Every reaction follows the control's state (toggled, textChanged,
    // currentIndexChanged), not the gesture that changed it, so that a
    // screen reader toggling a radio or setting a text has the effect a click
    // or typing has. Showing the model sets the same states; m_showing keeps
    // that from feeding back into the model.
    auto whenUser = [this](auto&& react) {
        return [this, react](auto... state) {
            if (m_showing)
                return;
            react(state...);
            // A change the model refuses (a disabled or read-only field)
            // goes back to what the model holds.
            showModel();
        };
    };
    auto onChecked = [&](QAbstractButton* button, auto&& react) {
        connect(button, &QAbstractButton::toggled, this, whenUser([react](bool on) {
                    if (on)
                        react();
                }));
    };

    for (QAbstractButton* button : m_ui->deviceGroup->buttons())
        onChecked(button, [this, button] { m_model.chooseDevice(deviceOf(controlIdOf(button))); });
    connect(m_ui->destinationEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.setDestinationText(toCp932(text)); }));
    connect(m_ui->destinationBrowseButton, &QPushButton::clicked, this,
            &PrintSettingsDialog::browseDestination);
    connect(m_ui->bundleByActorCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setBundleByActor(ticked); }));
    connect(m_ui->logCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setLog(ticked); }));
    connect(m_ui->logFileEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.setLogText(toCp932(text)); }));
    connect(m_ui->logBrowseButton, &QPushButton::clicked, this,
            &PrintSettingsDialog::browseLogFile);

    connect(m_ui->changesOnlyCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setChangesOnly(ticked); }));
    onChecked(m_ui->sincePrintRadio, [this] { m_model.chooseSincePrint(true); });
    onChecked(m_ui->compareFolderRadio, [this] { m_model.chooseSincePrint(false); });
    connect(m_ui->compareFolderCombo, &QComboBox::editTextChanged, this,
            whenUser([this](const QString& text) { m_model.setCompareFolderText(toCp932(text)); }));
    connect(m_ui->compareBrowseButton, &QPushButton::clicked, this,
            &PrintSettingsDialog::browseCompareFolder);

    for (QAbstractButton* button : m_ui->modeGroup->buttons())
        onChecked(button, [this, button] {
            m_model.chooseMode(ModeOfRadio[controlIdOf(button) - Model::Preset14Id]);
        });
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        connect(faceCombo(face), &QComboBox::currentIndexChanged, this,
                whenUser([this, face](int index) { m_model.selectFace(face, index); }));
        connect(weightEdit(face), &QLineEdit::textChanged, this,
                whenUser([this, face](const QString& text) {
                    m_model.setWeightText(face, toCp932(text));
                }));
    }
    connect(m_ui->fontSizeEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.editFontHeight(toCp932(text)); }));
    connect(m_ui->lineWidthEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.editLineWidth(toCp932(text)); }));
    connect(m_ui->linesPerPageEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.editLinesPerPage(toCp932(text)); }));
    connect(m_ui->charsPerLineEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.editCharsPerLine(toCp932(text)); }));
    connect(m_ui->autoCalcCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setAutoCalc(ticked); }));

    connect(m_ui->genericCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setGeneric(ticked); }));
    connect(m_ui->emphasisCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setEmphasis(ticked); }));
    connect(m_ui->lineBreakingCombo, &QComboBox::currentIndexChanged, this,
            whenUser([this](int index) { m_model.chooseLineBreaking(index); }));
    connect(m_ui->uprightDigitsCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setUprightDigits(ticked); }));
    connect(m_ui->rubyCheckBox, &QCheckBox::toggled, this,
            whenUser([this](bool ticked) { m_model.setRuby(ticked); }));
    for (QAbstractButton* button : m_ui->backgroundGroup->buttons())
        onChecked(button, [this, button] {
            m_model.chooseBackground(controlIdOf(button) - Model::FirstBackgroundId);
        });
    connect(m_ui->greyEdit, &QLineEdit::textChanged, this,
            whenUser([this](const QString& text) { m_model.setGreyText(toCp932(text)); }));

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

QComboBox* PrintSettingsDialog::faceCombo(int face) const
{
    QComboBox* const combos[] = {m_ui->targetFaceCombo, m_ui->generalFaceCombo,
                                 m_ui->commentFaceCombo};
    return combos[face];
}

QLineEdit* PrintSettingsDialog::weightEdit(int face) const
{
    QLineEdit* const edits[] = {m_ui->targetWeightEdit, m_ui->generalWeightEdit,
                                m_ui->commentWeightEdit};
    return edits[face];
}

void PrintSettingsDialog::takeControls()
{
    // In the order the model needs them: the device before its folder, the
    // mode before the custom fields, the automatic calculation before the
    // counts it locks.
    if (QAbstractButton* device = m_ui->deviceGroup->checkedButton())
        m_model.chooseDevice(deviceOf(controlIdOf(device)));
    m_model.setDestinationText(toCp932(m_ui->destinationEdit->text()));
    m_model.setBundleByActor(m_ui->bundleByActorCheckBox->isChecked());
    m_model.setLog(m_ui->logCheckBox->isChecked());
    m_model.setLogText(toCp932(m_ui->logFileEdit->text()));
    m_model.setChangesOnly(m_ui->changesOnlyCheckBox->isChecked());
    m_model.chooseSincePrint(!m_ui->compareFolderRadio->isChecked());
    m_model.setCompareFolderText(toCp932(m_ui->compareFolderCombo->currentText()));
    if (QAbstractButton* mode = m_ui->modeGroup->checkedButton())
        m_model.chooseMode(ModeOfRadio[controlIdOf(mode) - Model::Preset14Id]);
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        m_model.selectFace(face, faceCombo(face)->currentIndex());
        m_model.setWeightText(face, toCp932(weightEdit(face)->text()));
    }
    m_model.editFontHeight(toCp932(m_ui->fontSizeEdit->text()));
    m_model.editLineWidth(toCp932(m_ui->lineWidthEdit->text()));
    m_model.setAutoCalc(m_ui->autoCalcCheckBox->isChecked());
    m_model.editLinesPerPage(toCp932(m_ui->linesPerPageEdit->text()));
    m_model.editCharsPerLine(toCp932(m_ui->charsPerLineEdit->text()));
    m_model.setGeneric(m_ui->genericCheckBox->isChecked());
    m_model.setEmphasis(m_ui->emphasisCheckBox->isChecked());
    m_model.chooseLineBreaking(m_ui->lineBreakingCombo->currentIndex());
    m_model.setUprightDigits(m_ui->uprightDigitsCheckBox->isChecked());
    m_model.setRuby(m_ui->rubyCheckBox->isChecked());
    QAbstractButton* background = m_ui->backgroundGroup->checkedButton();
    m_model.chooseBackground(background ? controlIdOf(background) - Model::FirstBackgroundId : -1);
    m_model.setGreyText(toCp932(m_ui->greyEdit->text()));
}

void PrintSettingsDialog::setTextKeepingCursor(QLineEdit* edit, const QString& text)
{
    // Setting the text the user is typing would move the cursor to the end.
    if (edit->text() != text)
        edit->setText(text);
}

void PrintSettingsDialog::showModel()
{
    const bool wasShowing = m_showing;
    m_showing = true;
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

    m_ui->changesOnlyCheckBox->setChecked(m_model.changesOnly());
    m_ui->sincePrintRadio->setChecked(m_model.sincePrint());
    m_ui->compareFolderRadio->setChecked(!m_model.sincePrint());
    m_ui->sincePrintRadio->setEnabled(m_model.changesSourceEnabled());
    m_ui->compareFolderRadio->setEnabled(m_model.changesSourceEnabled());
    if (const QString folder = fromCp932(m_model.compareFolderText().view());
        m_ui->compareFolderCombo->currentText() != folder)
        m_ui->compareFolderCombo->setEditText(folder);
    m_ui->compareFolderCombo->setEnabled(m_model.compareFolderEnabled());
    m_ui->compareBrowseButton->setEnabled(m_model.compareFolderEnabled());

    checkInGroup(m_ui->modeGroup, modeControl(m_model.mode()));
    const bool custom = m_model.customEnabled();
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        faceCombo(face)->setCurrentIndex(m_model.faceIndex(face));
        faceCombo(face)->setEnabled(custom);
        setTextKeepingCursor(weightEdit(face), fromCp932(m_model.weightText(face).view()));
        weightEdit(face)->setEnabled(custom);
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
    m_ui->lineBreakingCombo->setCurrentIndex(m_model.lineBreaking());
    m_ui->uprightDigitsCheckBox->setChecked(m_model.uprightDigits());
    m_ui->rubyCheckBox->setChecked(m_model.ruby());
    const int background = m_model.background();
    checkInGroup(m_ui->backgroundGroup,
                 background < 0 ? -1 : Model::FirstBackgroundId + background);
    setTextKeepingCursor(m_ui->greyEdit, fromCp932(m_model.greyText().view()));
    m_showing = wasShowing;
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
    m_ui->countEdit->setText(fromCp932(m_model.countText().view()));
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
    const QString chosen = m_choosers.browseForFolder(
        this, fromCp932(FolderSelectionModel::browserInstruction()), fromCp932(start.view()));
    if (chosen.isEmpty())
        return;
    m_model.setDestinationText(toCp932(chosen));
    showModel();
}

void PrintSettingsDialog::browseCompareFolder()
{
    const QString chosen = m_choosers.browseForFolder(
        this, DialogBase::withoutMnemonics(m_ui->compareFolderRadio->text()),
        m_ui->compareFolderCombo->currentText());
    if (chosen.isEmpty())
        return;
    m_model.setCompareFolderText(toCp932(chosen));
    showModel();
}

void PrintSettingsDialog::browseLogFile()
{
    const QString start = fromCp932(Model::logBrowserStart(toCp932(m_ui->logFileEdit->text())));
    const QString chosen = m_choosers.chooseFile(this, logFileDialogTitle(), start,
                                                 logFileFilters(), FileChoosers::Purpose::Write);
    if (chosen.isEmpty())
        return;
    m_model.setLogText(toCp932(chosen));
    showModel();
}

void PrintSettingsDialog::accept()
{
    takeControls();
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
