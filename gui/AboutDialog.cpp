#include "gui/AboutDialog.h"

#include "app/AboutModel.h"
#include "gui/QtText.h"
#include "gui/RichTextWriter.h"
#include "ui_AboutDialog.h"

#include <QDesktopServices>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {

AboutDialog::DesktopOpener& replacedOpener()
{
    static AboutDialog::DesktopOpener opener;
    return opener;
}

// A failure to open is of no consequence to the About box: the user sees
// that nothing opened and nothing else depends on it.
void openOnDesktop(const QUrl& address)
{
    if (!address.isValid() || address.isEmpty())
        return;
    if (const AboutDialog::DesktopOpener& replaced = replacedOpener())
        replaced(address);
    else
        QDesktopServices::openUrl(address);
}

// Web addresses only: a page text must never make a click run a local file
// or another program's scheme.
const QRegularExpression& linkPattern()
{
    static const QRegularExpression pattern(QStringLiteral("https?://[^\\s<>\"'()\\[\\]{}]+"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Punctuation that ends a sentence rather than the address in front of it.
QString withoutTrailingPunctuation(QString address)
{
    static const QString trailing = QStringLiteral(".,;:!?");
    while (!address.isEmpty() && trailing.contains(address.back()))
        address.chop(1);
    return address;
}

// Writes plain text into the box with every web address in it as a link,
// as the rich-edit's address detection shows them.
void writeWithLinks(QTextEdit* edit, const QString& text)
{
    edit->clear();
    QTextCursor cursor(edit->document());
    const QTextCharFormat plain = cursor.charFormat();
    qsizetype done = 0;
    QRegularExpressionMatchIterator matches = linkPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString address = withoutTrailingPunctuation(match.captured());
        if (!address.contains(u'.'))
            continue;
        cursor.insertText(text.mid(done, match.capturedStart() - done), plain);
        QTextCharFormat link = plain;
        link.setAnchor(true);
        link.setAnchorHref(address);
        link.setForeground(edit->palette().link());
        link.setFontUnderline(true);
        cursor.insertText(address, link);
        done = match.capturedStart() + address.size();
    }
    cursor.insertText(text.mid(done), plain);
    edit->moveCursor(QTextCursor::Start);
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent, AboutModel& model)
    : DialogBase(parent), m_ui(std::make_unique<Ui::AboutDialog>()), m_model(model)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(m_model.windowTitle().view()));
    m_ui->versionLabel->setText(fromCp932(m_model.versionLine().view()));
    m_ui->siteButton->setEnabled(m_model.siteButtonEnabled());

    // Page 0's button is always there and chosen; the others only for the
    // pages the record offers.
    const auto& ids = AboutModel::pageRadioIds();
    for (int index = 0; index < AboutModel::PageCount; ++index) {
        auto* radio = qobject_cast<QRadioButton*>(control(ids[static_cast<size_t>(index)]));
        Q_ASSERT_X(radio, "AboutDialog", "the form lacks a page's radio button");
        if (!radio)
            continue;
        const FCString& name = m_model.page(index).name;
        radio->setText(fromCp932(name.view()));
        radio->setVisible(index == 0 || !name.isEmpty());
        connect(radio, &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                showPage(index);
        });
    }
    connect(m_ui->textBrowser, &QTextBrowser::anchorClicked, this, &AboutDialog::openLink);
    connect(m_ui->siteButton, &QPushButton::clicked, this, &AboutDialog::openSite);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);

    nameControlsByLabels(this);
    m_ui->textBrowser->setAccessibleName(windowTitle());
    m_ui->pageRadio0->setChecked(true);
    showPage(0);
    m_ui->okButton->setFocus();
    centre();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::show(QWidget* parent, AboutModel& model)
{
    AboutDialog dialog(parent, model);
    dialog.exec();
}

void AboutDialog::setDesktopOpener(DesktopOpener opener)
{
    replacedOpener() = std::move(opener);
}

void AboutDialog::showPage(int index)
{
    m_page = index;
    const FCString text = m_model.pageText(index);
    m_ui->textBrowser->clear();
    if (m_model.richText())
        RichTextWriter::write(m_ui->textBrowser, text.view());
    else
        writeWithLinks(m_ui->textBrowser, fromCp932(text.view()));
}

void AboutDialog::openLink(const QUrl& address)
{
    const QString scheme = address.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        openOnDesktop(address);
}

void AboutDialog::openSite()
{
    const QString address = fromCp932(m_model.siteAddress().view()).trimmed();
    if (!address.isEmpty())
        openOnDesktop(QUrl::fromUserInput(address));
}
