#include "gui/ProgressDialog.h"

#include "ui_ProgressDialog.h"

ProgressDialog::ProgressDialog(QWidget* parent)
    : DialogBase(parent), m_ui(std::make_unique<Ui::ProgressDialog>())
{
    m_ui->setupUi(this);
    setModal(false);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &ProgressDialog::cancelPressed);
    nameControlsByLabels(this);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::setText(const QString& text)
{
    m_ui->textLabel->setText(text);
}

QString ProgressDialog::shownText() const
{
    return m_ui->textLabel->text();
}

void ProgressDialog::setBar(bool show, int minimum, int maximum, int position)
{
    m_ui->progressBar->setVisible(show);
    m_ui->progressBar->setRange(minimum, maximum);
    m_ui->progressBar->setValue(position);
}

void ProgressDialog::setPosition(int position)
{
    m_ui->progressBar->setValue(position);
}

int ProgressDialog::position() const
{
    return m_ui->progressBar->value();
}

void ProgressDialog::setCancellable(bool cancellable)
{
    m_ui->cancelButton->setEnabled(cancellable);
}

void ProgressDialog::reject()
{
    if (m_ui->cancelButton->isEnabled())
        emit cancelPressed();
}
