#include "GuiTestSupport.h"
#include "TestText.h"
#include "gui/NoticeDialog.h"
#include "gui/QtDialogHost.h"
#include "gui/QuestionDialog.h"
#include "ui/UxDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// What a modal dialog showed before the test's hand closed it.
struct Seen {
    QString title;
    QString text;
};

// Clicks the button named label on the next modal window and notes what it
// showed in its control 1001.
std::shared_ptr<bool> answerWith(const QString& label, Seen& seen)
{
    return whenModalOpens([label, &seen](QWidget* modal) {
        seen.title = modal->windowTitle();
        if (auto* dialog = qobject_cast<DialogBase*>(modal))
            seen.text = dialog->textOfControl(1001);
        auto* button = byAccessibleName<QPushButton>(modal, label);
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            modal->close(); // the test fails on the answer, not by hanging
    });
}

std::shared_ptr<bool> pressKey(Qt::Key key)
{
    return whenModalOpens([key](QWidget* modal) { QTest::keyClick(modal, key); });
}

class DialogHostTest : public testing::Test {
protected:
    QtDialogHost m_host;
    UxDialogs m_dialogs{m_host};
};

} // namespace

TEST_F(DialogHostTest, ANoticeShowsItsTextAndEndsWithOk)
{
    Seen seen;
    auto ran = answerWith("OK", seen);
    m_dialogs.notice(sj("シナリオの読み込みがキャンセルされました。\n二行目"), "Quillon Utility");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(seen.title, QString("Quillon Utility"));
    EXPECT_EQ(seen.text, QString::fromUtf8("シナリオの読み込みがキャンセルされました。\n二行目"));
}

TEST_F(DialogHostTest, ANoticeWithoutTitleShowsTheProgramsTitleAndEscEndsIt)
{
    Seen seen;
    auto ran = whenModalOpens([&seen](QWidget* modal) {
        seen.title = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    m_dialogs.notice(sj("本文"));
    ASSERT_TRUE(*ran);
    EXPECT_EQ(seen.title, QString("quillon utility"));
}

TEST_F(DialogHostTest, QuestionsAreAnsweredByTheirButtons)
{
    Seen seen;
    auto ran = answerWith(QString::fromUtf8("はい"), seen);
    EXPECT_TRUE(m_dialogs.question(sj("上書きしますか？"), sj("確認")));
    ASSERT_TRUE(*ran);
    EXPECT_EQ(seen.title, QString::fromUtf8("確認"));
    EXPECT_EQ(seen.text, QString::fromUtf8("上書きしますか？"));

    ran = answerWith(QString::fromUtf8("いいえ"), seen);
    EXPECT_FALSE(m_dialogs.question(sj("上書きしますか？")));
    ASSERT_TRUE(*ran);
    EXPECT_EQ(seen.title, QString("quillon utility"));
}

TEST_F(DialogHostTest, EscAndTheCloseBoxAnswerNo)
{
    auto ran = pressKey(Qt::Key_Escape);
    EXPECT_FALSE(m_dialogs.question("q"));
    ASSERT_TRUE(*ran);

    ran = whenModalOpens([](QWidget* modal) { modal->close(); });
    EXPECT_FALSE(m_dialogs.question("q"));
    ASSERT_TRUE(*ran);

    // Return presses the default button, "はい".
    ran = pressKey(Qt::Key_Return);
    EXPECT_TRUE(m_dialogs.question("q"));
    ASSERT_TRUE(*ran);
}

TEST_F(DialogHostTest, TheQuestionDialogEndsWithTheIdOfItsButton)
{
    QuestionDialog dialog(nullptr, "q");
    auto ran = whenModalOpens([](QWidget* modal) {
        QTest::mouseClick(byAccessibleName<QPushButton>(modal, QString::fromUtf8("いいえ")),
                          Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QuestionDialog::NoId);
    ASSERT_TRUE(*ran);
    ran = pressKey(Qt::Key_Escape);
    EXPECT_EQ(dialog.exec(), QuestionDialog::EscapeResult);
    ASSERT_TRUE(*ran);
}

TEST_F(DialogHostTest, DialogsOpenOverTheWindowInUse)
{
    QWidget owner;
    owner.setGeometry(40, 40, 600, 400);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    QWidget* parent = nullptr;
    QRect where;
    auto ran = whenModalOpens([&](QWidget* modal) {
        parent = modal->parentWidget();
        where = modal->frameGeometry();
        modal->close();
    });
    m_dialogs.notice("over the owner");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(parent, &owner);
    EXPECT_TRUE(owner.frameGeometry().contains(where.center()));
}

TEST(NoticeDialogTest, EveryControlIsNamedByItsLabel)
{
    NoticeDialog notice(nullptr, "text", "title");
    auto* ok = qobject_cast<QPushButton*>(notice.control(NoticeDialog::OkId));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->accessibleName(), QString("OK"));
    EXPECT_EQ(announcedName(ok), ok->text());
    auto* text = qobject_cast<QTextEdit*>(notice.control(NoticeDialog::TextId));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->accessibleName(), QString("title")) << "the box is named by the window";

    QuestionDialog question(nullptr, "q");
    for (int id : {QuestionDialog::YesId, QuestionDialog::NoId}) {
        auto* button = qobject_cast<QPushButton*>(question.control(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->accessibleName(), button->text());
    }
    EXPECT_EQ(question.textOfControl(QuestionDialog::YesId), QString::fromUtf8("はい"));
    EXPECT_EQ(question.textOfControl(QuestionDialog::NoId), QString::fromUtf8("いいえ"));
}
