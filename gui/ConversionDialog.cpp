#include "gui/ConversionDialog.h"

#include "app/ConversionDialogModel.h"
#include "app/FolderSelectionModel.h"
#include "gui/FileChoosers.h"
#include "gui/ListViewModel.h"
#include "gui/QtText.h"
#include "platform/Sjis.h"
#include "ui_ConversionDialog.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

FCString cp932Of(const QLineEdit* edit)
{
    return FCString(std::string_view(toCp932(edit->text())));
}

void defineColumns(UxListViewControl& list)
{
    const UxListViewControl::ColumnDescriptor columns[] = {
        {"", 24}, {Sjis::of("OBJ名"), 100}, {Sjis::of("真の名前"), 150}};
    list.defineColumns(columns);
}

} // namespace

ConversionDialog::ConversionDialog(QWidget* parent, ConversionDialogModel& model,
                                   const FileChoosers& choosers)
    : DialogBase(parent), m_ui(std::make_unique<Ui::ConversionDialog>()), m_model(model),
      m_choosers(choosers)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(ConversionDialogModel::title()));

    m_ui->sourceEdit->setText(fromCp932(m_model.sourceFolderText.view()));
    m_ui->outputEdit->setText(fromCp932(m_model.outputFolderText.view()));
    m_ui->definitionsEdit->setText(fromCp932(m_model.definitionsText.view()));
    m_ui->logEdit->setText(fromCp932(m_model.logFileText.view()));
    m_ui->subfoldersCheckBox->setChecked(m_model.includeSubfolders);

    defineColumns(m_list);
    m_ui->definitionsList->setList(&m_list);
    showRows();

    // The survey writes each file's name into the message area as it goes;
    // the area repaints at once, as the work gives the event loop no turn.
    m_model.setMessageListener([this] {
        showMessage();
        m_ui->messageEdit->repaint();
    });

    connectControls();
    nameControlsByLabels(this);
    showMessage();
    m_ui->sourceEdit->setFocus();
    centre();
}

ConversionDialog::~ConversionDialog()
{
    // The model outlives the window; its listener must not call back into it.
    m_model.setMessageListener({});
    // The view listens to the list, which goes before the view does.
    m_ui->definitionsList->setList(nullptr);
}

void ConversionDialog::run(QWidget* parent, ConversionDialogModel& model,
                           const FileChoosers& choosers)
{
    ConversionDialog dialog(parent, model, choosers);
    dialog.exec();
}

QString ConversionDialog::definitionsFilters()
{
    const QStringList parts = fromCp932(ConversionDialogModel::definitionsPickerFilter())
                                  .split(QRegularExpression(QStringLiteral("[,|]")));
    QStringList filters;
    // A label without its pattern is left out rather than offered empty.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts[i] + QStringLiteral(" (") + parts[i + 1] + QStringLiteral(")"));
    return filters.join(QStringLiteral(";;"));
}

void ConversionDialog::connectControls()
{
    connect(m_ui->surveyButton, &QPushButton::clicked, this, &ConversionDialog::survey);
    connect(m_ui->convertButton, &QPushButton::clicked, this, &ConversionDialog::convert);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &ConversionDialog::close);
    connect(m_ui->sourceBrowseButton, &QPushButton::clicked, this,
            [this] { browseFolder(SourceId); });
    connect(m_ui->outputBrowseButton, &QPushButton::clicked, this,
            [this] { browseFolder(OutputId); });
    connect(m_ui->definitionsBrowseButton, &QPushButton::clicked, this,
            &ConversionDialog::browseDefinitions);
    // 1025 stays without an action: the log file is named by typing it.

    connect(m_ui->definitionsList, &ListView::rowDoubleClicked, this, [this](int row) {
        m_model.toggleRow(row);
        showTick(row);
    });
    // A tick the user sets with the check box reaches the model as well.
    connect(m_ui->definitionsList->listModel(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::CheckStateRole))
                    takeTicksFromList(from.row(), to.row());
            });
}

void ConversionDialog::takeFields()
{
    for (QLineEdit* edit : {m_ui->sourceEdit, m_ui->outputEdit}) {
        const FCString typed = cp932Of(edit);
        if (typed.isEmpty())
            continue;
        const FCString folder = ConversionDialogModel::pickedFolder(typed);
        if (folder.view() != typed.view())
            edit->setText(fromCp932(folder.view()));
    }
    m_model.sourceFolderText = cp932Of(m_ui->sourceEdit);
    m_model.outputFolderText = cp932Of(m_ui->outputEdit);
    m_model.definitionsText = cp932Of(m_ui->definitionsEdit);
    m_model.logFileText = cp932Of(m_ui->logEdit);
    m_model.includeSubfolders = m_ui->subfoldersCheckBox->isChecked();
}

void ConversionDialog::survey()
{
    takeFields();
    (void)m_model.preSurvey();
    showMessage();
    showRows();
}

void ConversionDialog::convert()
{
    takeFields();
    (void)m_model.convert();
    showMessage();
    showRows();
}

void ConversionDialog::close()
{
    m_model.close();
    showRows();
    done(CloseId);
}

void ConversionDialog::reject()
{
    close();
}

void ConversionDialog::browseFolder(int editId)
{
    auto* edit = qobject_cast<QLineEdit*>(control(editId));
    const FCString start = FolderSelectionModel::browserStartFolder(toCp932(edit->text()));
    const QString chosen = m_choosers.browseForFolder(
        this, fromCp932(FolderSelectionModel::browserInstruction()), fromCp932(start.view()));
    if (chosen.isEmpty())
        return;
    const FCString folder =
        ConversionDialogModel::pickedFolder(FCString(std::string_view(toCp932(chosen))));
    edit->setText(fromCp932(folder.view()));
}

void ConversionDialog::browseDefinitions()
{
    m_model.definitionsText = cp932Of(m_ui->definitionsEdit);
    const QString chosen =
        m_choosers.chooseFile(this, fromCp932(ConversionDialogModel::definitionsPickerTitle()),
                              fromCp932(m_model.definitionsPickerStart().view()),
                              definitionsFilters(), FileChoosers::Purpose::Read);
    if (chosen.isEmpty())
        return;
    m_ui->definitionsEdit->setText(chosen);
    m_model.definitionsText = cp932Of(m_ui->definitionsEdit);
}

void ConversionDialog::showMessage()
{
    const QString text = fromCp932(m_model.message().view());
    if (m_ui->messageEdit->toPlainText() != text)
        m_ui->messageEdit->setPlainText(text);
}

void ConversionDialog::showRows()
{
    m_showingRows = true;
    m_list.redrawOff();
    m_list.clear();
    defineColumns(m_list);
    for (const ConversionDialogModel::Row& row : m_model.rows()) {
        const int at = m_list.setCell(m_list.rowCount(), 0, {});
        if (at < 0)
            break;
        m_list.setCell(at, 1, row.objectName.view());
        m_list.setCell(at, 2, row.trueName.view());
        showTick(at);
    }
    m_list.redrawOn();
    m_showingRows = false;
}

void ConversionDialog::showTick(int row)
{
    if (row < 0 || row >= int(m_model.rows().size()))
        return;
    const bool wasShowing = m_showingRows;
    m_showingRows = true;
    if (m_model.rows()[size_t(row)].checked)
        m_list.check(row);
    else
        m_list.uncheck(row);
    m_showingRows = wasShowing;
}

void ConversionDialog::takeTicksFromList(int first, int last)
{
    if (m_showingRows)
        return;
    const auto& rows = m_model.rows();
    const int end = std::min({last + 1, m_list.rowCount(), int(rows.size())});
    for (int row = std::max(first, 0); row < end; ++row) {
        const bool ticked = m_list.stateImage(row) == UxListViewControl::StateTicked;
        if (ticked != rows[size_t(row)].checked)
            m_model.toggleRow(row);
    }
}
