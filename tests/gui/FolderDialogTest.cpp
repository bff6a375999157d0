#include "gui/FolderDialog.h"

#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "app/FolderSelectionModel.h"
#include "app/InputHistory.h"
#include "gui/FileChoosers.h"
#include "gui/QtText.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
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

FCString cp932(const QString& text)
{
    return FCString(toCp932(text));
}

// What the folder browser was asked, and what it answers.
struct BrowserCall {
    int count = 0;
    QWidget* owner = nullptr;
    QString caption;
    QString start;
};

class FolderDialogTest : public testing::Test {
protected:
    FolderDialogTest()
    {
        m_history.add(1, cp932(u8("/scenario/first/")));
        m_history.add(1, cp932(u8("/scenario/第二部/")));
        m_history.add(0, cp932(u8("not-a-folder")));
    }

    // Replaces the folder browser by one that records its call and answers
    // with answer.
    void browserAnswers(const QString& answer)
    {
        m_choosers.folderBrowser = [this, answer](QWidget* owner, const QString& caption,
                                                  const QString& start) {
            ++m_browser.count;
            m_browser.owner = owner;
            m_browser.caption = caption;
            m_browser.start = start;
            return answer;
        };
    }

    static QComboBox* combo(FolderDialog& dialog)
    {
        return qobject_cast<QComboBox*>(dialog.control(FolderDialog::InputId));
    }
    static void click(FolderDialog& dialog, int id)
    {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.control(id)), Qt::LeftButton);
    }
    static void type(FolderDialog& dialog, const QString& text)
    {
        combo(dialog)->lineEdit()->clear();
        // Key presses for what a keyboard types directly; the rest arrives
        // as an input method commits it.
        if (isAscii(text))
            QTest::keyClicks(combo(dialog)->lineEdit(), text);
        else
            combo(dialog)->lineEdit()->insert(text);
    }

    InputHistory m_history;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    FileChoosers m_choosers;
    FolderSelectionModel m_model{m_history, cp932(u8("/scenario/今の台本/")), m_notices};
    BrowserCall m_browser;
};

} // namespace

TEST_F(FolderDialogTest, OpensWithFoldersOldestFirstAndTheCurrentFolderAsEditText)
{
    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), u8("印刷するフォルダの入力"));
    EXPECT_EQ(dialog.textOfControl(FolderDialog::PromptId),
              u8("指定されたフォルダの下にある *.screenplay.txt が印刷されます。"));
    QComboBox* box = combo(dialog);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), u8("/scenario/first/"));
    EXPECT_EQ(box->itemText(1), u8("/scenario/第二部/"));
    EXPECT_EQ(box->currentText(), u8("/scenario/今の台本/"));

    auto* keep = qobject_cast<QCheckBox*>(dialog.control(FolderDialog::KeepWordTotalsId));
    ASSERT_NE(keep, nullptr);
    EXPECT_EQ(keep->text(), u8("ワード数データベースをを初期化しない"));
    EXPECT_FALSE(keep->isChecked());
    EXPECT_EQ(dialog.textOfControl(FolderDialog::BrowseId), u8("参照"));
    EXPECT_EQ(dialog.textOfControl(FolderDialog::OkId), u8("OK"));
    EXPECT_EQ(dialog.textOfControl(FolderDialog::CancelId), u8("中止"));
}

TEST_F(FolderDialogTest, EmptyOkShowsTheMessageAndStaysOpen)
{
    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    combo(dialog)->lineEdit()->clear();
    click(dialog, FolderDialog::OkId);

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.textOfControl(FolderDialog::PromptId), u8("フォルダを指定してください"));
    EXPECT_EQ(m_history.entries(1).size(), 2u);
}

TEST_F(FolderDialogTest, TheKeepBoxReachesTheModel)
{
    for (bool ticked : {false, true}) {
        InputHistory history;
        FolderSelectionModel model(history, cp932(u8("/scenario/")), m_notices);
        FolderDialog dialog(nullptr, model, m_choosers);
        dialog.show();
        if (ticked)
            click(dialog, FolderDialog::KeepWordTotalsId);
        click(dialog, FolderDialog::OkId);

        EXPECT_EQ(dialog.result(), FolderDialog::OkId) << ticked;
        EXPECT_EQ(model.keepWordTotalsRequested(), ticked);
    }
}

TEST_F(FolderDialogTest, AnAcceptedFolderBecomesTheNewestHistoryEntry)
{
    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    type(dialog, u8("/scenario/第三部"));
    click(dialog, FolderDialog::OkId);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), FolderDialog::OkId);
    EXPECT_EQ(fromCp932(m_model.value().view()), u8("/scenario/第三部"));
    ASSERT_EQ(m_history.entries(1).size(), 3u);
    EXPECT_EQ(fromCp932(m_history.entries(1).back().view()), u8("/scenario/第三部"));
    EXPECT_EQ(m_history.entries(0).size(), 1u);
}

TEST_F(FolderDialogTest, CancelAndEscapeEndWithTwoAndChangeNothing)
{
    for (bool escape : {false, true}) {
        FolderDialog dialog(nullptr, m_model, m_choosers);
        dialog.show();
        click(dialog, FolderDialog::KeepWordTotalsId);
        type(dialog, u8("/elsewhere/"));
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            click(dialog, FolderDialog::CancelId);
        EXPECT_EQ(dialog.result(), FolderDialog::CancelId) << escape;
    }
    EXPECT_EQ(m_history.entries(1).size(), 2u);
    EXPECT_FALSE(m_model.keepWordTotalsRequested());
    EXPECT_EQ(fromCp932(m_model.value().view()), u8("/scenario/今の台本/"));
}

TEST_F(FolderDialogTest, BrowseStartsAtTheTypedFolderAndTheChoiceReplacesTheEditText)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString chosen = temporary.path() + u8("/選んだ");
    browserAnswers(chosen);

    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    type(dialog, temporary.path());
    click(dialog, FolderDialog::BrowseId);

    EXPECT_EQ(m_browser.count, 1);
    EXPECT_EQ(m_browser.owner, &dialog);
    EXPECT_EQ(m_browser.caption, u8("フォルダの選択"));
    EXPECT_EQ(QDir(m_browser.start).absolutePath(), QDir(temporary.path()).absolutePath());
    EXPECT_EQ(combo(dialog)->currentText(), chosen);
    // The list still holds the history only.
    EXPECT_EQ(combo(dialog)->count(), 2);
}

TEST_F(FolderDialogTest, BrowseWithNoTextStartsAtTheProgramsFolder)
{
    browserAnswers(QString());
    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    combo(dialog)->lineEdit()->clear();
    click(dialog, FolderDialog::BrowseId);

    ASSERT_EQ(m_browser.count, 1);
    EXPECT_FALSE(m_browser.start.isEmpty());
    EXPECT_EQ(m_browser.start, fromCp932(FolderSelectionModel::browserStartFolder({}).view()));
    // Cancelling the browser leaves the edit text alone.
    EXPECT_TRUE(combo(dialog)->currentText().isEmpty());
}

TEST_F(FolderDialogTest, TheToolkitsFolderBrowserOpensAtTheStartFolder)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    ASSERT_TRUE(QDir(temporary.path()).mkdir("inner"));
    const QString inner = QDir(temporary.path()).absoluteFilePath("inner");

    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    type(dialog, temporary.path());
    QString caption;
    QString openedAt;
    auto answered = whenModalOpens([&](QWidget* modal) {
        auto* browser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(browser, nullptr);
        caption = browser->windowTitle();
        openedAt = browser->directory().absolutePath();
        browser->setDirectory(inner);
        // accept() is protected in the file dialog and public in its base.
        static_cast<QDialog*>(browser)->accept();
    });
    click(dialog, FolderDialog::BrowseId);

    EXPECT_TRUE(*answered);
    EXPECT_EQ(caption, u8("フォルダの選択"));
    EXPECT_EQ(openedAt, QDir(temporary.path()).absolutePath());
    EXPECT_EQ(QDir(combo(dialog)->currentText()).absolutePath(), inner);
}

TEST_F(FolderDialogTest, RunAnswersWhetherOkEndedTheDialog)
{
    auto accepted = whenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<FolderDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        click(*dialog, FolderDialog::OkId);
    });
    EXPECT_TRUE(FolderDialog::run(nullptr, m_model, m_choosers));
    EXPECT_TRUE(*accepted);
    EXPECT_EQ(fromCp932(m_history.entries(1).back().view()), u8("/scenario/今の台本/"));

    auto cancelled = whenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<FolderDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        click(*dialog, FolderDialog::CancelId);
    });
    EXPECT_FALSE(FolderDialog::run(nullptr, m_model, m_choosers));
    EXPECT_TRUE(*cancelled);
}

TEST_F(FolderDialogTest, EveryControlIsAnnouncedByItsLabel)
{
    FolderDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    expectButtonsAnnouncedByTheirLabels(&dialog);
    EXPECT_EQ(announcedName(dialog.control(FolderDialog::KeepWordTotalsId)),
              u8("ワード数データベースをを初期化しない"));
    EXPECT_EQ(announcedName(dialog.control(FolderDialog::PromptId)), u8("印刷するフォルダの入力"));
    // On Linux the toolkit announces an editable combo box by its text and
    // takes its name from the accessible name set here.
    EXPECT_EQ(combo(dialog)->accessibleName(),
              u8("指定されたフォルダの下にある *.screenplay.txt が印刷されます。"));
}
