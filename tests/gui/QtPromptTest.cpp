#include "gui/QtPrompt.h"

#include "GuiTestSupport.h"
#include "TestText.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

namespace {

using Answer = Prompt::Answer;
using Buttons = Prompt::Buttons;

struct Shown {
    QString title;
    QString text;
    QStringList buttons;
};

// On the next modal window: notes what it shows and clicks the button whose
// announced name is label (or closes the window when label is empty).
std::shared_ptr<bool> answerWith(const QString& label, Shown& shown)
{
    return whenModalOpens([label, &shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            modal->close();
            return;
        }
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.buttons.clear();
        for (QAbstractButton* button : box->buttons())
            shown.buttons.append(button->accessibleName());
        auto* button = byAccessibleName<QPushButton>(box, label);
        if (button && !label.isEmpty())
            QTest::mouseClick(button, Qt::LeftButton);
        else
            box->close();
    });
}

struct PromptCase {
    const char* name;
    Buttons buttons;
    const char* press; // announced name, UTF-8; "" closes the box
    Answer expected;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const PromptCase& c, std::ostream* os)
{
    *os << c.name;
}

class QtPromptAnswerTest : public testing::TestWithParam<PromptCase> {};

} // namespace

TEST_P(QtPromptAnswerTest, TheButtonPressedIsTheAnswer)
{
    const PromptCase& c = GetParam();
    QtPrompt prompt;
    Shown shown;
    auto ran = answerWith(QString::fromUtf8(c.press), shown);
    const Answer answer =
        prompt.ask(sj("ファイルエラー"), sj("開けません：\nC:\\a.txt"), c.buttons);
    ASSERT_TRUE(*ran);
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(shown.title, QString::fromUtf8("ファイルエラー"));
    EXPECT_EQ(shown.text, QString::fromUtf8("開けません：\nC:\\a.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    QtPromptTest, QtPromptAnswerTest,
    testing::Values(PromptCase{"Retry", Buttons::RetryCancel, "再試行(R)", Answer::Retry},
                    PromptCase{"Cancel", Buttons::RetryCancel, "キャンセル", Answer::Cancel},
                    PromptCase{"ClosedRetryCancel", Buttons::RetryCancel, "", Answer::Cancel},
                    PromptCase{"Yes", Buttons::YesNo, "はい(Y)", Answer::Yes},
                    PromptCase{"No", Buttons::YesNo, "いいえ(N)", Answer::No},
                    PromptCase{"ClosedYesNo", Buttons::YesNo, "", Answer::No},
                    PromptCase{"Ok", Buttons::Ok, "OK", Answer::Ok},
                    PromptCase{"ClosedOk", Buttons::Ok, "", Answer::Ok}),
    [](const testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

TEST(QtPromptTest, TheBoxOffersExactlyTheAskedButtonsAndKeepsOtherWindowsWaiting)
{
    QtPrompt prompt;
    Shown shown;
    Qt::WindowModality modality = Qt::NonModal;
    auto ran = whenModalOpens([&](QWidget* modal) {
        modality = modal->windowModality();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box) {
            for (QAbstractButton* button : box->buttons())
                shown.buttons.append(button->accessibleName());
        }
        modal->close();
    });
    prompt.ask("t", "x", Buttons::RetryCancel);
    ASSERT_TRUE(*ran);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    shown.buttons.sort();
    QStringList expected{QString::fromUtf8("再試行(R)"), QString::fromUtf8("キャンセル")};
    expected.sort();
    EXPECT_EQ(shown.buttons, expected);
}
