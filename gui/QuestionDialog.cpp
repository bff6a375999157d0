#include "gui/QuestionDialog.h"

#include "ui_QuestionDialog.h"

QuestionDialog::QuestionDialog(QWidget* owner, const QString& text, const QString& title)
    : DialogBase(owner), m_ui(std::make_unique<Ui::QuestionDialog>())
{
    m_ui->setupUi(this);
    setWindowTitle(title.isEmpty() ? QString::fromLatin1(DefaultTitle) : title);
    m_ui->textLabel->setText(text);
    connect(m_ui->yesButton, &QPushButton::clicked, this, [this] { done(YesId); });
    connect(m_ui->noButton, &QPushButton::clicked, this, [this] { done(NoId); });
    nameControlsByLabels(this);
    m_ui->yesButton->setFocus();
    adjustSize();
    centre();
}

QuestionDialog::~QuestionDialog() = default;

void QuestionDialog::reject()
{
    done(EscapeResult);
}

bool QuestionDialog::ask(QWidget* owner, const QString& text, const QString& title)
{
    QuestionDialog dialog(owner, text, title);
    return dialog.exec() == YesId;
}
