#include "gui/NoticeDialog.h"

#include "ui_NoticeDialog.h"

NoticeDialog::NoticeDialog(QWidget* owner, const QString& text, const QString& title)
    : DialogBase(owner), m_ui(std::make_unique<Ui::NoticeDialog>())
{
    m_ui->setupUi(this);
    setWindowTitle(title.isEmpty() ? QString::fromLatin1(DefaultTitle) : title);
    m_ui->textEdit->setPlainText(text);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    nameControlsByLabels(this);
    // The text box has no label of its own; the window's title is its name.
    m_ui->textEdit->setAccessibleName(windowTitle());
    m_ui->okButton->setFocus();
    adjustSize();
    centre();
}

NoticeDialog::~NoticeDialog() = default;

void NoticeDialog::showNotice(QWidget* owner, const QString& text, const QString& title)
{
    NoticeDialog dialog(owner, text, title);
    dialog.exec();
}
