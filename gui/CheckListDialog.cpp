#include "gui/CheckListDialog.h"

#include "app/CheckListDialogModel.h"
#include "gui/FileChoosers.h"
#include "gui/QtText.h"
#include "platform/TextCodec.h"
#include "ui_CheckListDialog.h"

#include <string>

namespace {

const char* const BrowseCaption = "フォルダの選択";
// The program keeps paths as CP932; a folder name with a character CP932
// lacks would silently become another folder ("?" in its place), so such a
// name is refused in the message field instead.
const char* const UnrepresentableFolder = "出力先フォルダの名前に、扱えない文字が含まれています";

} // namespace

CheckListDialog::CheckListDialog(QWidget* parent, CheckListDialogModel& model,
                                 const FileChoosers& choosers)
    : DialogBase(parent), m_ui(std::make_unique<Ui::CheckListDialog>()), m_model(model),
      m_choosers(choosers)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(CheckListDialogModel::title()));
    m_ui->folderEdit->setText(fromCp932(m_model.folderText.view()));
    m_ui->csvRadio->setChecked(m_model.csv);
    m_ui->textRadio->setChecked(!m_model.csv);
    m_ui->sceneListCheck->setChecked(m_model.sceneList);
    m_ui->characterListCheck->setChecked(m_model.characterList);
    m_ui->listUnprintedCheck->setChecked(m_model.listUnprinted);

    connect(m_ui->browseButton, &QPushButton::clicked, this, &CheckListDialog::browse);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CheckListDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    nameControlsByLabels(this);
    centre();
}

CheckListDialog::~CheckListDialog() = default;

bool CheckListDialog::run(QWidget* parent, CheckListDialogModel& model,
                          const FileChoosers& choosers)
{
    CheckListDialog dialog(parent, model, choosers);
    return dialog.exec() == QDialog::Accepted;
}

void CheckListDialog::browse()
{
    const QString chosen = m_choosers.browseForFolder(this, QString::fromUtf8(BrowseCaption),
                                                      m_ui->folderEdit->text());
    // Cancelling the browser leaves the box as it was.
    if (!chosen.isEmpty())
        m_ui->folderEdit->setText(chosen);
}

bool CheckListDialog::takeControls()
{
    std::string folder;
    if (!TextCodec::fromUtf8Exact(m_ui->folderEdit->text().toStdString(), folder)) {
        showMessage(QString::fromUtf8(UnrepresentableFolder));
        return false;
    }
    m_model.folderText = FCString(folder);
    m_model.csv = m_ui->csvRadio->isChecked();
    m_model.sceneList = m_ui->sceneListCheck->isChecked();
    m_model.characterList = m_ui->characterListCheck->isChecked();
    m_model.listUnprinted = m_ui->listUnprintedCheck->isChecked();
    return true;
}

void CheckListDialog::accept()
{
    if (!takeControls())
        return;
    // The model's questions (a missing folder, its creation) come up as
    // their own windows over this one while accept() runs.
    if (m_model.accept()) {
        QDialog::accept();
        return;
    }
    showMessage(fromCp932(m_model.message().view()));
}

void CheckListDialog::showMessage(const QString& text)
{
    m_ui->messageEdit->setText(text);
}
