#include "gui/AboutDialog.h"

#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "app/AboutModel.h"
#include "app/LicenceTexts.h"
#include "gui/QtText.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <vector>

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

std::string cp932(const char* utf8)
{
    return toCp932(QString::fromUtf8(utf8));
}

// The link targets in the text box, in order.
QStringList linksIn(QTextEdit* edit)
{
    QStringList links;
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (format.isAnchor())
                links.append(format.anchorHref());
        }
    }
    return links;
}

class AboutDialogTest : public testing::Test {
protected:
    AboutDialogTest()
    {
        AboutDialog::setDesktopOpener([this](const QUrl& address) {
            m_opened.append(address);
            return false;
        });
        AboutModel::VersionInfo version;
        version.numbers = {1, 2, 3, 4};
        version.legalCopyright = FCString(cp932("Copyright (C) 2024 Quillon チーム"));
        version.internalName = FCString("QuillonInternal");
        m_model.setVersionInfo(version);
    }
    ~AboutDialogTest() override { AboutDialog::setDesktopOpener({}); }

    static QTextBrowser* textBox(AboutDialog& dialog)
    {
        return qobject_cast<QTextBrowser*>(dialog.control(AboutDialog::TextId));
    }
    // Clicks on the button's circle, which is always part of what takes
    // the click, whatever the label's width.
    static void choose(QRadioButton* button)
    {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    static QRadioButton* radio(AboutDialog& dialog, int page)
    {
        return qobject_cast<QRadioButton*>(
            dialog.control(AboutModel::pageRadioIds()[static_cast<size_t>(page)]));
    }

    AboutModel m_model;
    QList<QUrl> m_opened;
};

} // namespace

TEST_F(AboutDialogTest, ShowsTheTitleAndVersionLineOfTheModel)
{
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u8("quillon について"));
    EXPECT_EQ(dialog.textOfControl(AboutDialog::VersionLineId), u8("quillon ver. 1.2.3  rev. 4"));

    m_model.setTitle({});
    m_model.setVersionLineOverride(cp932("特別版 2024"));
    AboutDialog other(nullptr, m_model);
    EXPECT_EQ(other.windowTitle(), u8("QuillonInternalについて"));
    EXPECT_EQ(other.textOfControl(AboutDialog::VersionLineId), u8("特別版 2024"));
}

TEST_F(AboutDialogTest, FirstPageShowsTheVersionAndCopyrightFilledIn)
{
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    const QString text = dialog.textOfControl(AboutDialog::TextId);
    EXPECT_EQ(text, fromCp932(m_model.pageText(0).view()));
    EXPECT_TRUE(text.contains(u8("quillon ver. 1.2.3  rev. 4"))) << text.toStdString();
    EXPECT_TRUE(text.contains(u8("Copyright (C) 2024 Quillon チーム"))) << text.toStdString();
    EXPECT_FALSE(text.contains("%v%"));
    EXPECT_FALSE(text.contains("%c%"));
    EXPECT_TRUE(radio(dialog, 0)->isChecked());
    EXPECT_EQ(radio(dialog, 0)->text(), u8("本体"));
    EXPECT_TRUE(textBox(dialog)->isReadOnly());
}

struct OfferedPagesCase {
    const char* name;
    std::vector<const char*> labels; // per page, nullptr = not offered
};

class AboutDialogPagesTest : public testing::TestWithParam<OfferedPagesCase> {};

TEST_P(AboutDialogPagesTest, RadioButtonsAreShownOnlyForOfferedPages)
{
    const OfferedPagesCase& c = GetParam();
    AboutModel model;
    for (int page = 1; page < AboutModel::PageCount; ++page) {
        const char* label = c.labels[static_cast<size_t>(page)];
        ASSERT_TRUE(model.setPage(page, label ? label : "", label ? "text" : ""));
    }
    AboutDialog dialog(nullptr, model);
    dialog.show();
    for (int page = 0; page < AboutModel::PageCount; ++page) {
        const int id = AboutModel::pageRadioIds()[static_cast<size_t>(page)];
        auto* button = qobject_cast<QRadioButton*>(dialog.control(id));
        ASSERT_NE(button, nullptr) << id;
        const char* label = c.labels[static_cast<size_t>(page)];
        EXPECT_EQ(button->isVisible(), label != nullptr) << id;
        if (label) {
            EXPECT_EQ(button->text(), u8(label)) << id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AboutDialogPages, AboutDialogPagesTest,
    testing::Values(OfferedPagesCase{"FirstFour",
                                     {"本体", "zlib", "libpng", "libjpeg", 0, 0, 0, 0}},
                    OfferedPagesCase{"Gaps", {"本体", "zlib", 0, "libjpeg", 0, "ogg", 0, "Extra"}},
                    OfferedPagesCase{"All", {"本体", "a", "b", "c", "d", "e", "f", "g"}},
                    OfferedPagesCase{"OnlyTheProgram", {"本体", 0, 0, 0, 0, 0, 0, 0}}),
    [](const testing::TestParamInfo<OfferedPagesCase>& info) { return info.param.name; });

TEST_F(AboutDialogTest, ChoosingARadioButtonShowsThatPage)
{
    ASSERT_TRUE(m_model.setPage(7, "Short", "only this"));
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    const QString first = dialog.textOfControl(AboutDialog::TextId);

    choose(radio(dialog, 1));
    EXPECT_EQ(dialog.currentPage(), 1);
    EXPECT_EQ(dialog.textOfControl(AboutDialog::TextId), fromCp932(LicenceTexts::zlib().view()));
    EXPECT_NE(dialog.textOfControl(AboutDialog::TextId), first);

    // The box is emptied first: nothing of the long licence stays behind.
    choose(radio(dialog, 7));
    EXPECT_EQ(dialog.textOfControl(AboutDialog::TextId), u8("only this"));

    choose(radio(dialog, 0));
    EXPECT_EQ(dialog.textOfControl(AboutDialog::TextId), first);
    EXPECT_EQ(dialog.currentPage(), 0);
}

TEST_F(AboutDialogTest, TheSiteButtonOpensTheSiteAddress)
{
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    auto* site = qobject_cast<QPushButton*>(dialog.control(AboutDialog::SiteButtonId));
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->text(), u8("サイトへ"));
    EXPECT_TRUE(site->isEnabled());
    QTest::mouseClick(site, Qt::LeftButton);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened.front(), QUrl(QString::fromLatin1(AboutModel::SiteAddress)));
    // An address the desktop could not open leaves the box as it was.
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(AboutDialogTest, NoSiteAddressDisablesTheSiteButton)
{
    m_model.setSiteAddress({});
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    auto* site = qobject_cast<QPushButton*>(dialog.control(AboutDialog::SiteButtonId));
    EXPECT_FALSE(site->isEnabled());
    QTest::mouseClick(site, Qt::LeftButton);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(AboutDialogTest, ClickingAnAddressInTheTextOpensIt)
{
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    QTextBrowser* box = textBox(dialog);
    const QString address = QString::fromLatin1(AboutModel::SiteAddress);
    const qsizetype at = box->toPlainText().indexOf(address);
    ASSERT_GE(at, 0);
    QTextCursor cursor(box->document());
    cursor.setPosition(static_cast<int>(at + 4));
    const QPoint point = box->cursorRect(cursor).center();

    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, point);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened.front(), QUrl(address));
    // The text stays on the page: the box does not follow the link itself.
    EXPECT_TRUE(box->toPlainText().contains(address));

    // Plain text is no link.
    cursor.setPosition(1);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(cursor).center());
    EXPECT_EQ(m_opened.size(), 1);
}

TEST_F(AboutDialogTest, OnlyWebAddressesBecomeLinks)
{
    ASSERT_TRUE(m_model.setPage(4, "Links",
                                "see https://a.example/path. or (http://b.example/x?y=1),\n"
                                "not file:///etc/passwd, ftp://c.example/ nor http://\n"
                                "HTTPS://D.EXAMPLE/up"));
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    choose(radio(dialog, 4));
    EXPECT_EQ(
        linksIn(textBox(dialog)),
        QStringList({"https://a.example/path", "http://b.example/x?y=1", "HTTPS://D.EXAMPLE/up"}));
    // The text itself is shown as given.
    EXPECT_EQ(dialog.textOfControl(AboutDialog::TextId),
              u8("see https://a.example/path. or (http://b.example/x?y=1),\n"
                 "not file:///etc/passwd, ftp://c.example/ nor http://\n"
                 "HTTPS://D.EXAMPLE/up"));
}

TEST_F(AboutDialogTest, OkAndEscapeCloseTheBox)
{
    for (bool escape : {false, true}) {
        AboutDialog dialog(nullptr, m_model);
        dialog.show();
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(qobject_cast<QPushButton*>(dialog.control(AboutDialog::OkId)),
                              Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible()) << escape;
    }
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(AboutDialogTest, ShowRunsTheBoxModallyUntilOk)
{
    QString title;
    auto closed = whenModalOpens([&title](QWidget* modal) {
        auto* dialog = qobject_cast<AboutDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        QTest::mouseClick(qobject_cast<QPushButton*>(dialog->control(AboutDialog::OkId)),
                          Qt::LeftButton);
    });
    AboutDialog::show(nullptr, m_model);
    EXPECT_TRUE(*closed);
    EXPECT_EQ(title, u8("quillon について"));
}

TEST_F(AboutDialogTest, EveryControlIsAnnouncedByItsLabel)
{
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    expectButtonsAnnouncedByTheirLabels(&dialog);
    for (int page : m_model.offeredPages())
        EXPECT_EQ(announcedName(radio(dialog, page)), fromCp932(m_model.page(page).name.view()));
    EXPECT_EQ(announcedName(textBox(dialog)), u8("quillon について"));
}

TEST_F(AboutDialogTest, APageRadioToggledByAScreenReaderShowsItsPage)
{
    AboutDialog dialog(nullptr, m_model);
    dialog.show();
    const QString first = dialog.textOfControl(AboutDialog::TextId);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(radio(dialog, 1));
    ASSERT_TRUE(face && face->actionInterface());
    face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(dialog.currentPage(), 1);
    EXPECT_EQ(dialog.textOfControl(AboutDialog::TextId), fromCp932(LicenceTexts::zlib().view()));
    face = QAccessible::queryAccessibleInterface(radio(dialog, 0));
    face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(dialog.currentPage(), 0);
    EXPECT_EQ(dialog.textOfControl(AboutDialog::TextId), first);
}
