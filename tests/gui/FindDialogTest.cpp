#include "gui/FindDialog.h"

#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "app/FindFileModel.h"
#include "app/InputHistory.h"
#include "gui/QtText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

bool isAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

FCString cp932(const char* utf8)
{
    return FCString(toCp932(u8(utf8)));
}

class FindDialogTest : public testing::Test {
protected:
    FindDialogTest()
    {
        m_history.add(0, cp932("scene01"));
        m_history.add(0, cp932("第二話"));
        m_history.add(1, cp932("/folders/are/not/search/texts/"));
    }

    QComboBox* combo(FindDialog& dialog)
    {
        return qobject_cast<QComboBox*>(dialog.control(FindDialog::InputId));
    }
    QPushButton* button(FindDialog& dialog, int id)
    {
        return qobject_cast<QPushButton*>(dialog.control(id));
    }

    void type(FindDialog& dialog, const QString& text)
    {
        QComboBox* box = combo(dialog);
        box->lineEdit()->clear();
        // Key presses for what a keyboard types directly; the rest arrives
        // as an input method commits it.
        if (isAscii(text))
            QTest::keyClicks(box->lineEdit(), text);
        else
            box->lineEdit()->insert(text);
    }

    InputHistory m_history;
    FindFileModel m_model{m_history};
};

} // namespace

TEST_F(FindDialogTest, OpensWithTheRequestsTitlePromptAndSearchHistory)
{
    FindDialog dialog(nullptr, m_model);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), u8("シナリオ名の入力"));
    EXPECT_EQ(dialog.textOfControl(FindDialog::PromptId),
              u8("*.screenplay.txt の * の部分を指定してください"));
    auto* prompt = qobject_cast<QTextEdit*>(dialog.control(FindDialog::PromptId));
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(prompt->isReadOnly());

    QComboBox* box = combo(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEditable());
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), u8("scene01"));
    EXPECT_EQ(box->itemText(1), u8("第二話"));
    EXPECT_TRUE(box->currentText().isEmpty());

    EXPECT_EQ(dialog.textOfControl(FindDialog::OkId), u8("OK"));
    EXPECT_EQ(dialog.textOfControl(FindDialog::CancelId), u8("中止"));
}

TEST_F(FindDialogTest, EmptyOkShowsTheMessageAndStaysOpen)
{
    FindDialog dialog(nullptr, m_model);
    dialog.show();
    QTest::mouseClick(button(dialog, FindDialog::OkId), Qt::LeftButton);

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.textOfControl(FindDialog::PromptId), u8("検索文字列を入力してください。"));
    EXPECT_EQ(m_history.entries(0).size(), 2u);
    // The combo box is labelled by what the prompt area shows now.
    EXPECT_EQ(combo(dialog)->accessibleName(), u8("検索文字列を入力してください。"));
}

TEST_F(FindDialogTest, TypedTextEndsTheDialogAndBecomesTheNewestSearchText)
{
    FindDialog dialog(nullptr, m_model);
    dialog.show();
    QTest::mouseClick(button(dialog, FindDialog::OkId), Qt::LeftButton);
    ASSERT_TRUE(dialog.isVisible());

    type(dialog, u8("Scene03"));
    QTest::mouseClick(button(dialog, FindDialog::OkId), Qt::LeftButton);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), FindDialog::OkId);
    EXPECT_EQ(m_model.value().toStdString(), "Scene03");
    ASSERT_EQ(m_history.entries(0).size(), 3u);
    EXPECT_EQ(m_history.entries(0).back().toStdString(), "Scene03");
    EXPECT_EQ(m_history.entries(1).size(), 1u);
    EXPECT_TRUE(m_model.message().isEmpty());
}

TEST_F(FindDialogTest, JapaneseTextReachesTheModelAsShiftJis)
{
    FindDialog dialog(nullptr, m_model);
    dialog.show();
    type(dialog, u8("第三話"));
    QTest::mouseClick(button(dialog, FindDialog::OkId), Qt::LeftButton);

    EXPECT_EQ(dialog.result(), FindDialog::OkId);
    EXPECT_EQ(m_model.value().toStdString(), cp932("第三話").toStdString());
    EXPECT_EQ(fromCp932(m_history.entries(0).back().view()), u8("第三話"));
}

TEST_F(FindDialogTest, ReturnInTheComboBoxActsAsOk)
{
    FindDialog dialog(nullptr, m_model);
    dialog.show();
    type(dialog, u8("scene07"));
    QTest::keyClick(combo(dialog)->lineEdit(), Qt::Key_Return);

    EXPECT_EQ(dialog.result(), FindDialog::OkId);
    EXPECT_EQ(m_model.value().toStdString(), "scene07");
    // The combo box did not add the text to its list on its own.
    EXPECT_EQ(combo(dialog)->count(), 2);
}

TEST_F(FindDialogTest, CancelAndEscapeEndWithTwoAndLeaveTheHistory)
{
    for (bool escape : {false, true}) {
        FindDialog dialog(nullptr, m_model);
        dialog.show();
        type(dialog, u8("never"));
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(button(dialog, FindDialog::CancelId), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible()) << escape;
        EXPECT_EQ(dialog.result(), FindDialog::CancelId) << escape;
    }
    EXPECT_EQ(m_history.entries(0).size(), 2u);
    EXPECT_TRUE(m_model.value().isEmpty());
}

TEST_F(FindDialogTest, RunAnswersWhetherOkEndedTheDialog)
{
    auto typed = whenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<FindDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* box = qobject_cast<QComboBox*>(dialog->control(FindDialog::InputId));
        QTest::keyClicks(box->lineEdit(), "scene09");
        QTest::mouseClick(qobject_cast<QPushButton*>(dialog->control(FindDialog::OkId)),
                          Qt::LeftButton);
    });
    EXPECT_TRUE(FindDialog::run(nullptr, m_model));
    EXPECT_TRUE(*typed);
    EXPECT_EQ(m_model.value().toStdString(), "scene09");

    auto cancelled = whenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<FindDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(qobject_cast<QPushButton*>(dialog->control(FindDialog::CancelId)),
                          Qt::LeftButton);
    });
    EXPECT_FALSE(FindDialog::run(nullptr, m_model));
    EXPECT_TRUE(*cancelled);
}

TEST_F(FindDialogTest, EveryControlIsAnnouncedByItsLabel)
{
    FindDialog dialog(nullptr, m_model);
    dialog.show();
    expectButtonsAnnouncedByTheirLabels(&dialog);
    EXPECT_EQ(announcedName(dialog.control(FindDialog::PromptId)), u8("シナリオ名の入力"));
    // On Linux the toolkit announces an editable combo box by its text and
    // takes its name from the accessible name set here.
    EXPECT_EQ(combo(dialog)->accessibleName(),
              u8("*.screenplay.txt の * の部分を指定してください"));
}
