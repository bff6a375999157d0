#include "gui/NoticeDialog.h"

#include "ui_NoticeDialog.h"

#include <QScreen>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace {

// Room for a window manager's frame and title bar around the client area,
// used until the window has a frame to measure.
constexpr int FrameAllowanceWidth = 16;
constexpr int FrameAllowanceHeight = 40;
// A notice grows with its longest line up to this width; longer lines wrap
// (paths after a "/"), since a line across the whole screen is hard to read.
constexpr int ReadableWidth = 720;

} // namespace

NoticeDialog::NoticeDialog(QWidget* owner, const QString& text, const QString& title)
    : DialogBase(owner), m_ui(std::make_unique<Ui::NoticeDialog>())
{
    m_ui->setupUi(this);
    setWindowTitle(title.isEmpty() ? QString::fromLatin1(DefaultTitle) : title);
    m_ui->textEdit->setNotice(text);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    nameControlsByLabels(this);
    // The text box has no label of its own; the window's title is its name.
    m_ui->textEdit->setAccessibleName(windowTitle());
    m_ui->okButton->setFocus();
    fitToText();
    centre();
}

NoticeDialog::~NoticeDialog() = default;

void NoticeDialog::showNotice(QWidget* owner, const QString& text, const QString& title)
{
    NoticeDialog dialog(owner, text, title);
    dialog.exec();
}

QString NoticeDialog::text() const
{
    return m_ui->textEdit->notice();
}

void NoticeDialog::fitToText()
{
    // The fonts and margins as the window will show them.
    ensurePolished();
    m_ui->textEdit->ensurePolished();

    QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    QSize room = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    const QSize frame = frameGeometry().size() - size();
    room -= QSize(std::max(frame.width(), FrameAllowanceWidth),
                  std::max(frame.height(), FrameAllowanceHeight));

    const QMargins margins = layout()->contentsMargins();
    const int chrome = 2 * m_ui->textEdit->frameWidth();
    const int around = margins.left() + margins.right() + chrome;

    // A copy of the shown document measures the text without disturbing
    // the box's own layout.
    const std::unique_ptr<QTextDocument> probe(m_ui->textEdit->document()->clone());
    probe->setDefaultFont(m_ui->textEdit->font());
    probe->setTextWidth(-1);
    // One pixel more for the caret at the end of the longest line.
    const int natural = int(std::ceil(probe->idealWidth())) + around + 1;
    const int widest = std::min(room.width(), std::max(ReadableWidth, this->width()));
    const int width = std::clamp(natural, std::min(this->width(), widest), widest);

    probe->setTextWidth(width - around);
    const int textHeight = int(std::ceil(probe->size().height()));
    const int needed = margins.top() + textHeight + chrome + std::max(0, layout()->spacing()) +
                       m_ui->okButton->sizeHint().height() + margins.bottom();
    const int height = std::clamp(needed, std::min(this->height(), room.height()), room.height());
    resize(std::max(width, minimumSizeHint().width()),
           std::max(height, minimumSizeHint().height()));
}
