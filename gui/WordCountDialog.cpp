#include "gui/WordCountDialog.h"

#include "document/ScriptInfo.h"
#include "fc/Notices.h"
#include "gui/QtText.h"
#include "reports/WordCounts.h"
#include "ui/RecordRows.h"
#include "ui_WordCountDialog.h"

#include <QClipboard>
#include <QGuiApplication>

WordCountDialog::WordCountDialog(QWidget* parent, const ScriptInfo& totals, Notices& notices,
                                 std::optional<int> recordedLines)
    : DialogBase(parent), m_ui(std::make_unique<Ui::WordCountDialog>()), m_totals(totals),
      m_notices(notices)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(WordCounts::title()));
    setSizeGripEnabled(true);
    m_ui->sceneLabel->setText(fromCp932(totals.sceneName().view()));

    RecordRows::defineWordCountColumns(m_list);
    RecordRows::fillWordCounts(totals, m_list);
    const int64_t sum = WordCounts::total(totals);
    m_ui->listView->setList(&m_list);
    m_ui->totalEdit->setText(QString::number(sum));
    if (recordedLines)
        m_ui->recordedEdit->setText(QString::number(*recordedLines));
    // Both fields as wide as a twelve-digit number in the window's font,
    // whatever the size of the window.
    const int fieldWidth =
        m_ui->totalEdit->fontMetrics().horizontalAdvance(QString(12, u'0')) + FieldPadding;
    m_ui->totalEdit->setFixedWidth(fieldWidth);
    m_ui->recordedEdit->setFixedWidth(fieldWidth);

    connect(m_ui->clipboardButton, &QPushButton::clicked, this, &WordCountDialog::copyToClipboard);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    nameControlsByLabels(this);
    centre();
}

WordCountDialog::~WordCountDialog()
{
    // The view listens to the list, which goes before the view does.
    m_ui->listView->setList(nullptr);
}

void WordCountDialog::show(QWidget* parent, const ScriptInfo& totals, Notices& notices,
                           std::optional<int> recordedLines)
{
    WordCountDialog dialog(parent, totals, notices, recordedLines);
    dialog.exec();
}

void WordCountDialog::copyToClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // The clipboard is emptied even when there is nothing to list.
    clipboard->clear();
    clipboard->setText(fromCp932(WordCounts::text(m_totals)));
    m_notices.notice(WordCounts::clipboardNoticeText(), WordCounts::clipboardNoticeTitle());
}
