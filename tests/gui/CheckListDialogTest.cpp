#include "gui/CheckListDialog.h"

#include "FormChecks.h"
#include "GuiTestSupport.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/CheckListDialogModel.h"
#include "gui/FileChoosers.h"
#include "gui/QtDialogHost.h"
#include "gui/QtText.h"
#include "gui/QuestionDialog.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxDialogs.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The questions a test answered, with their texts.
struct Answered {
    std::vector<QString> texts;
    std::vector<QString> titles;
};

// Answers the next question dialogs in turn with the given answers; each
// answer waits for a question window other than the one answered before.
void answerQuestions(std::vector<bool> answers, std::shared_ptr<Answered> log,
                     QWidget* previous = nullptr)
{
    if (answers.empty())
        return;
    auto timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* question = qobject_cast<QuestionDialog*>(QApplication::activeModalWidget());
        if (question && question != previous && question->isVisible()) {
            timer->stop();
            timer->deleteLater();
            log->texts.push_back(question->textOfControl(QuestionDialog::TextId));
            log->titles.push_back(question->windowTitle());
            const std::vector<bool> rest(answers.begin() + 1, answers.end());
            answerQuestions(rest, log, question);
            auto* button =
                byAccessibleName<QPushButton>(question, answers.front() ? u("はい") : u("いいえ"));
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Waits until the question windows are answered (or gives up after five
// seconds).
void waitForAnswers(const Answered& log, size_t count)
{
    QElapsedTimer clock;
    clock.start();
    while (log.texts.size() < count && clock.elapsed() < 5000)
        QTest::qWait(10);
}

class CheckListDialogTest : public testing::Test {
protected:
    CheckListDialogTest() : m_model(FCString(m_folder.path()), CheckListOptions(), m_notices) {}

    // Opens the dialog on the model without waiting for it to end.
    void open()
    {
        m_dialog = std::make_unique<CheckListDialog>(nullptr, m_model, m_choosers);
        m_dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    template <class T> T* widget(const char* label)
    {
        return byAccessibleName<T>(m_dialog.get(), u(label));
    }
    QLineEdit* folderEdit() { return widget<QLineEdit>("出力先フォルダ"); }
    QLineEdit* messageEdit() { return widget<QLineEdit>("メッセージ"); }
    void clickButton(const char* label)
    {
        QPushButton* button = widget<QPushButton>(label);
        ASSERT_NE(button, nullptr) << label;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void setFolderText(const QString& text)
    {
        folderEdit()->selectAll();
        QTest::keyClick(folderEdit(), Qt::Key_Delete);
        // Typed as a whole: the key simulation knows ASCII keys only.
        folderEdit()->insert(text);
    }

    ScenarioTestFolder m_folder;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    FileChoosers m_choosers;
    CheckListDialogModel m_model;
    std::unique_ptr<CheckListDialog> m_dialog;
};

} // namespace

TEST_F(CheckListDialogTest, ShowsTheModelsFolderAndOptions)
{
    struct Case {
        uint32_t word;
        bool csv, scene, character, unprinted;
    };
    const Case cases[] = {
        {0x101, true, true, false, false},
        {0x10200, false, false, true, true},
        {0x305, true, true, true, false},
        {0x10000, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        m_model =
            CheckListDialogModel(FCString(m_folder.path()), CheckListOptions(c.word), m_notices);
        open();
        EXPECT_EQ(m_dialog->windowTitle(), u("台本チェックリストの出力"));
        EXPECT_EQ(folderEdit()->text(), QString::fromStdString(m_folder.path()));
        EXPECT_EQ(widget<QRadioButton>("CSV形式 (excel用)")->isChecked(), c.csv);
        EXPECT_EQ(widget<QRadioButton>("テキスト形式(.txt)")->isChecked(), !c.csv);
        EXPECT_EQ(widget<QCheckBox>("シーン別リスト")->isChecked(), c.scene);
        EXPECT_EQ(widget<QCheckBox>("キャラ別リスト")->isChecked(), c.character);
        EXPECT_EQ(widget<QCheckBox>("印刷されないシナリオもリストする")->isChecked(), c.unprinted);
        EXPECT_TRUE(messageEdit()->text().isEmpty());
    }
}

TEST_F(CheckListDialogTest, OkTakesTheOptionsFromTheControls)
{
    struct Case {
        bool text, toggleScene, toggleCharacter, toggleUnprinted;
        uint32_t expected;
    };
    // The model starts from the defaults: CSV, the scene list only.
    const Case cases[] = {
        {false, false, false, false, 0x101}, {true, false, false, false, 0x100},
        {true, true, true, true, 0x10200},   {false, false, true, false, 0x301},
        {false, true, false, true, 0x10001},
    };
    ScriptedDialogHost& host = m_host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        m_model = CheckListDialogModel(FCString(m_folder.path()), CheckListOptions(), m_notices);
        open();
        if (c.text)
            QTest::mouseClick(widget<QRadioButton>("テキスト形式(.txt)"), Qt::LeftButton);
        if (c.toggleScene)
            QTest::mouseClick(widget<QCheckBox>("シーン別リスト"), Qt::LeftButton);
        if (c.toggleCharacter)
            QTest::mouseClick(widget<QCheckBox>("キャラ別リスト"), Qt::LeftButton);
        if (c.toggleUnprinted)
            QTest::mouseClick(widget<QCheckBox>("印刷されないシナリオもリストする"),
                              Qt::LeftButton);
        clickButton("OK");
        EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(m_dialog->isVisible());
        EXPECT_EQ(m_model.options().word(), c.expected);
        EXPECT_EQ(m_model.folder().toStdString(), m_folder.path());
    }
    // An existing folder needs no question.
    EXPECT_TRUE(host.questions().empty());
}

TEST_F(CheckListDialogTest, AnEmptyFolderBoxShowsTheMessageAndStaysOpen)
{
    ScriptedDialogHost& host = m_host;
    open();
    setFolderText(QString());
    clickButton("OK");
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_NE(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(messageEdit()->text(), u("出力先フォルダを指定してください"));
    EXPECT_TRUE(messageEdit()->isReadOnly());
    EXPECT_TRUE(host.questions().empty());

    // Once a folder is given, OK goes through.
    setFolderText(QString::fromStdString(m_folder.path()));
    clickButton("OK");
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
}

TEST_F(CheckListDialogTest, DecliningToCreateAMissingFolderKeepsTheDialogOpen)
{
    QtDialogHost host;
    UxDialogs notices(host);
    m_model = CheckListDialogModel(FCString(m_folder.path()), CheckListOptions(), notices);
    const std::string missing = m_folder.path() + "lists";
    open();
    setFolderText(QString::fromStdString(missing));
    auto answered = std::make_shared<Answered>();
    answerQuestions({false}, answered);
    clickButton("OK");
    waitForAnswers(*answered, 1);

    ASSERT_EQ(answered->texts.size(), 1u);
    EXPECT_EQ(answered->texts[0], fromCp932(sj("指定されたフォルダ、\n") + missing + "/" +
                                            sj("\nは存在しません。作成しても構いませんか？")));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_NE(m_dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(messageEdit()->text().isEmpty());
}

TEST_F(CheckListDialogTest, AgreeingTwiceCreatesTheFolderAndClosesWithTheOptions)
{
    QtDialogHost host;
    UxDialogs notices(host);
    m_model = CheckListDialogModel(FCString(m_folder.path()), CheckListOptions(), notices);
    const std::string missing = m_folder.path() + "out/lists";
    open();
    setFolderText(QString::fromStdString(missing));
    QTest::mouseClick(widget<QRadioButton>("テキスト形式(.txt)"), Qt::LeftButton);
    QTest::mouseClick(widget<QCheckBox>("キャラ別リスト"), Qt::LeftButton);
    auto answered = std::make_shared<Answered>();
    answerQuestions({true, true}, answered);
    clickButton("OK");
    waitForAnswers(*answered, 2);

    ASSERT_EQ(answered->texts.size(), 2u);
    EXPECT_EQ(answered->titles[1], u("リスト出力先フォルダの作成"));
    EXPECT_TRUE(std::filesystem::is_directory(missing));
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_model.folder().toStdString(), missing + "/");
    EXPECT_EQ(m_model.options().word(), 0x300u);
}

TEST_F(CheckListDialogTest, AFolderNameWithoutACp932FormIsRefused)
{
    ScriptedDialogHost& host = m_host;
    open();
    const QString folder = QString::fromStdString(m_folder.path()) + u("out\xF0\x9F\x8E\xA4");
    setFolderText(folder);
    clickButton("OK");
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_FALSE(messageEdit()->text().isEmpty());
    EXPECT_TRUE(host.questions().empty());
    // The model still holds the folder it came with, and nothing was made
    // under a "?" name.
    EXPECT_EQ(m_model.folderText.toStdString(), m_folder.path());
    EXPECT_FALSE(m_folder.exists("out?"));
}

TEST_F(CheckListDialogTest, BrowsePutsTheChosenFolderIntoTheBox)
{
    std::filesystem::create_directory(m_folder.path() + "chosen");
    open();
    QString caption;
    QString startedAt;
    auto ran = whenModalOpens([&](QWidget* modal) {
        auto* browser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(browser, nullptr);
        caption = browser->windowTitle();
        startedAt = browser->directory().absolutePath() + "/";
        browser->setDirectory(QString::fromStdString(m_folder.path() + "chosen"));
        // The browser's own OK, reached through the dialog's public face.
        static_cast<QDialog*>(browser)->accept();
    });
    clickButton("参照...");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(caption, u("フォルダの選択"));
    EXPECT_EQ(startedAt, QString::fromStdString(m_folder.path()));
    EXPECT_EQ(folderEdit()->text(), QString::fromStdString(m_folder.path() + "chosen"));
}

TEST_F(CheckListDialogTest, CancellingTheBrowserKeepsTheBox)
{
    open();
    setFolderText(u("/nowhere/else"));
    auto ran = whenModalOpens([](QWidget* modal) {
        ASSERT_NE(qobject_cast<QFileDialog*>(modal), nullptr);
        qobject_cast<QDialog*>(modal)->reject();
    });
    clickButton("参照...");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(folderEdit()->text(), u("/nowhere/else"));
}

TEST_F(CheckListDialogTest, RunAnswersWhetherTheDialogClosedWithOk)
{
    for (const char* button : {"キャンセル", "OK"}) {
        SCOPED_TRACE(button);
        auto ran = whenModalOpens([button](QWidget* modal) {
            QTest::mouseClick(byAccessibleName<QPushButton>(modal, u(button)), Qt::LeftButton);
        });
        const bool ok = CheckListDialog::run(nullptr, m_model, m_choosers);
        EXPECT_TRUE(*ran);
        EXPECT_EQ(ok, u(button) == u("OK"));
        // Only OK fills in the folder the lists go to.
        EXPECT_EQ(m_model.folder().toStdString(), ok ? m_folder.path() : std::string());
    }
}

TEST_F(CheckListDialogTest, EveryControlIsNamedByItsLabel)
{
    open();
    const std::vector<std::pair<int, const char*>> expected = {
        {CheckListDialog::FolderId, "出力先フォルダ"},
        {CheckListDialog::BrowseId, "参照..."},
        {CheckListDialog::CsvId, "CSV形式 (excel用)"},
        {CheckListDialog::TextId, "テキスト形式(.txt)"},
        {CheckListDialog::SceneListId, "シーン別リスト"},
        {CheckListDialog::CharacterListId, "キャラ別リスト"},
        {CheckListDialog::ListUnprintedId, "印刷されないシナリオもリストする"},
        {CheckListDialog::MessageId, "メッセージ"},
        {CheckListDialog::OkId, "OK"},
        {CheckListDialog::CancelId, "キャンセル"},
    };
    for (const auto& [id, label] : expected) {
        QWidget* control = m_dialog->control(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(announcedName(control), u(label)) << id;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            EXPECT_EQ(button->text(), u(label));
        }
    }
}

TEST_F(CheckListDialogTest, FitsASmallScreenAndStaysWholeAtItsMinimumSize)
{
    m_dialog = std::make_unique<CheckListDialog>(nullptr, m_model, m_choosers);
    expectFitsASmallScreen(m_dialog.get());
    // A long folder name gets the room the window is given.
    const int folderWidth = folderEdit()->width();
    m_dialog->resize(m_dialog->width() + 150, m_dialog->height());
    QApplication::processEvents();
    EXPECT_GT(folderEdit()->width(), folderWidth);
}

TEST_F(CheckListDialogTest, EscCancelsAndEnterPressesOkWhateverControlHasTheFocus)
{
    open();
    QStringList names;
    for (QWidget* control : keyboardControls(m_dialog.get()))
        names << control->objectName();
    ASSERT_TRUE(names.contains("folderEdit"));
    ASSERT_TRUE(names.contains("listUnprintedCheck"));
    for (const QString& name : names) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            m_model =
                CheckListDialogModel(FCString(m_folder.path()), CheckListOptions(), m_notices);
            open();
            auto* widget = m_dialog->findChild<QWidget*>(name);
            widget->setFocus();
            QTest::keyClick(widget, key);
            const bool accepting = key != Qt::Key_Escape;
            EXPECT_FALSE(m_dialog->isVisible()) << name.toStdString() << " " << key;
            EXPECT_EQ(m_dialog->result(), accepting ? QDialog::Accepted : QDialog::Rejected)
                << name.toStdString() << " " << key;
            EXPECT_EQ(m_model.folder().toStdString(), accepting ? m_folder.path() : std::string())
                << name.toStdString() << " " << key;
        }
    }
}

TEST_F(CheckListDialogTest, OptionsAndFolderSetByAScreenReaderAreWhatOkTakes)
{
    std::filesystem::create_directory(m_folder.path() + "lists");
    open();
    for (const char* label :
         {"テキスト形式(.txt)", "キャラ別リスト", "印刷されないシナリオもリストする"}) {
        QAccessibleInterface* face =
            QAccessible::queryAccessibleInterface(widget<QAbstractButton>(label));
        ASSERT_NE(face, nullptr) << label;
        face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    }
    QAccessibleInterface* folder = QAccessible::queryAccessibleInterface(folderEdit());
    ASSERT_NE(folder, nullptr);
    ASSERT_NE(folder->editableTextInterface(), nullptr);
    folder->setText(QAccessible::Value, QString::fromStdString(m_folder.path() + "lists"));
    clickButton("OK");
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_model.options().word(), 0x10300u);
    EXPECT_EQ(m_model.folder().toStdString(), m_folder.path() + "lists/");
}

TEST_F(CheckListDialogTest, KeepsToADarkPalette)
{
    DarkPaletteScope dark;
    open();
    setFolderText(QString());
    clickButton("OK");
    ASSERT_FALSE(messageEdit()->text().isEmpty());
    expectReadableInTheApplicationsPalette(m_dialog.get());
}
