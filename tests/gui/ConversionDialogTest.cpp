#include "gui/ConversionDialog.h"

#include "FormChecks.h"
#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/ConversionDialogModel.h"
#include "convert/ConversionState.h"
#include "gui/FileChoosers.h"
#include "gui/ListView.h"
#include "gui/QtText.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Two sources (speakers hero and sakura defined, ghost not) and their
// definitions file; the output goes to a fresh folder.
const std::string sources =
    std::string(QUILLON_TEST_DATA) + "/two-scenes-and-an-undefined-speaker/";

class ConversionDialogTest : public testing::Test {
protected:
    ConversionDialogTest() : m_dialog(nullptr, m_model, m_choosers) { m_dialog.show(); }

    QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(m_dialog.control(id)); }
    void type(int id, const std::string& text)
    {
        edit(id)->clear();
        QTest::keyClicks(edit(id), QString::fromStdString(text));
    }
    void click(int id)
    {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(m_dialog.control(id)), Qt::LeftButton);
    }
    QString message() { return m_dialog.textOfControl(ConversionDialog::MessageId); }
    void fillInputs()
    {
        type(ConversionDialog::SourceId, sources);
        type(ConversionDialog::OutputId, m_out.path());
        type(ConversionDialog::DefinitionsId, sources + "names.txt");
    }
    std::string cell(int row, int column)
    {
        const UxListViewControl::Cell* at = m_dialog.list().cell(row, column);
        return at ? utf8(at->text) : "<none>";
    }

    ScenarioTestFolder m_out;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_progress;
    FileChoosers m_choosers;
    ConversionState m_state;
    ConversionDialogModel m_model{m_state, m_notices, m_progress};
    ConversionDialog m_dialog;
};

} // namespace

TEST_F(ConversionDialogTest, EveryControlIsThereAndAnnouncedByItsLabel)
{
    EXPECT_EQ(m_dialog.windowTitle(), u8("tavrelCPP->screenplay.txt"));
    const struct {
        int id;
        const char* label;
    } buttons[] = {{ConversionDialog::SourceBrowseId, "参照"},
                   {ConversionDialog::OutputBrowseId, "参照"},
                   {ConversionDialog::DefinitionsBrowseId, "参照"},
                   {ConversionDialog::LogBrowseId, "参照"},
                   {ConversionDialog::SubfoldersId, "サブフォルダも対象にする"},
                   {ConversionDialog::SurveyId, "事前調査"},
                   {ConversionDialog::ConvertId, "出力"},
                   {ConversionDialog::CloseId, "ｷｬﾝｾﾙ"}};
    for (const auto& button : buttons)
        EXPECT_EQ(m_dialog.textOfControl(button.id), u8(button.label)) << button.id;
    expectButtonsAnnouncedByTheirLabels(&m_dialog);

    // The fields and the list have no label but the frame they sit in.
    const struct {
        int id;
        const char* frame;
    } framed[] = {{ConversionDialog::SourceId, "入力するCPPのあるフォルダ"},
                  {ConversionDialog::OutputId, "台本ファイルを出力するフォルダ"},
                  {ConversionDialog::DefinitionsId, "真の名前定義ファイル"},
                  {ConversionDialog::LogId, "ログファイルの指定"},
                  {ConversionDialog::ListId, "登場するキャラの定義"}};
    for (const auto& control : framed) {
        QWidget* widget = m_dialog.control(control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        auto* frame = qobject_cast<QGroupBox*>(widget->parentWidget());
        ASSERT_NE(frame, nullptr) << control.id;
        EXPECT_EQ(frame->title(), u8(control.frame));
        EXPECT_EQ(announcedName(widget), u8(control.frame)) << control.id;
    }
    EXPECT_FALSE(m_dialog.control(ConversionDialog::MessageId)->accessibleName().isEmpty());

    const UxListViewControl& list = m_dialog.list();
    ASSERT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.column(0).width, 24);
    EXPECT_EQ(utf8(list.column(1).title), "OBJ名");
    EXPECT_EQ(list.column(1).width, 100);
    EXPECT_EQ(utf8(list.column(2).title), "真の名前");
    EXPECT_EQ(list.column(2).width, 150);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST_F(ConversionDialogTest, EachButtonPromptsForTheFirstEmptyFieldInTheMessageArea)
{
    click(ConversionDialog::ConvertId);
    EXPECT_EQ(message(), u8("入力するCPPのあるフォルダを指定して下さい"));

    type(ConversionDialog::SourceId, sources);
    click(ConversionDialog::SurveyId);
    EXPECT_EQ(message(), u8("台本を出力するフォルダを指定して下さい。"));

    type(ConversionDialog::OutputId, m_out.path());
    click(ConversionDialog::ConvertId);
    EXPECT_EQ(message(), u8("真の名前を定義したファイルを指定して下さい。"
                            "真の名前,OBJECT名 の形で定義されています。"));

    EXPECT_TRUE(m_host.notices().empty());
    EXPECT_EQ(m_progress.opens(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(m_out.path()));
}

TEST_F(ConversionDialogTest, PickersFillTheFieldsAndFoldersGetATrailingSeparator)
{
    std::string folder = m_out.path();
    folder.pop_back();
    QString browserStart;
    m_choosers.folderBrowser = [&](QWidget*, const QString&, const QString& start) {
        browserStart = start;
        return QString::fromStdString(folder);
    };
    type(ConversionDialog::SourceId, sources);
    click(ConversionDialog::SourceBrowseId);
    EXPECT_EQ(browserStart.toStdString(), sources) << "starts at the field's folder";
    EXPECT_EQ(edit(ConversionDialog::SourceId)->text().toStdString(), m_out.path());
    click(ConversionDialog::OutputBrowseId);
    EXPECT_EQ(edit(ConversionDialog::OutputId)->text().toStdString(), m_out.path());

    // A cancelled browser leaves the field as it was.
    m_choosers.folderBrowser = [](QWidget*, const QString&, const QString&) { return QString(); };
    type(ConversionDialog::OutputId, "kept");
    click(ConversionDialog::OutputBrowseId);
    EXPECT_EQ(edit(ConversionDialog::OutputId)->text(), u8("kept"));

    QString title, start, filters;
    m_choosers.fileChooser = [&](QWidget*, const QString& t, const QString& s, const QString& f) {
        title = t;
        start = s;
        filters = f;
        return QString::fromStdString(sources + "names.txt");
    };
    type(ConversionDialog::DefinitionsId, "old.txt");
    click(ConversionDialog::DefinitionsBrowseId);
    EXPECT_EQ(title, u8("名前定義ファイルの選択"));
    EXPECT_EQ(start, u8("old.txt"));
    EXPECT_EQ(filters, u8("名前定義ファイル (*.txt);;全てのファイル (*.*)"));
    EXPECT_EQ(edit(ConversionDialog::DefinitionsId)->text().toStdString(), sources + "names.txt");

    // A folder typed without its separator gets it when a button takes it.
    type(ConversionDialog::OutputId, folder);
    click(ConversionDialog::SurveyId);
    EXPECT_EQ(edit(ConversionDialog::OutputId)->text().toStdString(), m_out.path());
    EXPECT_EQ(m_model.outputFolderText.toStdString(), m_out.path());
}

TEST_F(ConversionDialogTest, PreSurveyReportsInANoticeAndListsTheDefinitionsTicked)
{
    fillInputs();
    click(ConversionDialog::SubfoldersId);
    click(ConversionDialog::SurveyId);
    EXPECT_TRUE(m_model.includeSubfolders);
    ASSERT_EQ(m_host.notices().size(), 1u);
    EXPECT_EQ(utf8(m_host.notices()[0].text),
              "[メッセージID]\n最小値：1\n最大値：4\n未使用ID数：1\n[重複しているID一覧]：0\n"
              "ありません\n[未定義のIDを含むファイル一覧]：0\nありません\n"
              "[システムID(負の数)を含むファイル一覧]：0\nありません\n"
              "[登録されていないobj名一覧]ghost\n");
    EXPECT_TRUE(std::filesystem::is_empty(m_out.path())) << "the survey writes nothing";

    const UxListViewControl& list = m_dialog.list();
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "hero");
    EXPECT_EQ(cell(0, 2), "主人公");
    EXPECT_EQ(cell(1, 1), "sakura");
    EXPECT_EQ(cell(1, 2), "さくら");
    EXPECT_EQ(list.stateImage(0), UxListViewControl::StateTicked);
    EXPECT_EQ(list.stateImage(1), UxListViewControl::StateTicked);

    // A double click on a row flips its tick in the list and the model.
    auto* view = qobject_cast<ListView*>(m_dialog.control(ConversionDialog::ListId));
    const QRect rect = view->visualRect(view->model()->index(1, 1));
    // A double click is a click followed by the second press.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(list.stateImage(1), UxListViewControl::StateCleared);
    EXPECT_FALSE(m_model.rows()[1].checked);
    EXPECT_TRUE(m_model.rows()[0].checked);
    // So does the user's click on the check box.
    view->model()->setData(view->model()->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(m_model.rows()[0].checked);

    // Closing empties the list.
    click(ConversionDialog::CloseId);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), ConversionDialog::CloseId);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_TRUE(m_model.rows().empty());
}

TEST_F(ConversionDialogTest, ConversionWritesTheScreenplaysAndAsksBeforeOverwritingTheLog)
{
    const std::string log = m_out.path() + "run.log";
    m_out.writeBytes("run.log", "previous");
    fillInputs();
    type(ConversionDialog::LogId, log);

    m_host.push(false);
    click(ConversionDialog::ConvertId);
    EXPECT_TRUE(std::filesystem::exists(m_out.path() + "a.screenplay.txt"));
    EXPECT_TRUE(std::filesystem::exists(m_out.path() + "b.screenplay.txt"));
    ASSERT_EQ(m_host.notices().size(), 1u);
    const std::string shownLog = m_host.notices()[0].text;
    EXPECT_EQ(utf8(shownLog).rfind("○：a.screenplay.txt\n", 0), 0u) << utf8(shownLog);
    ASSERT_EQ(m_host.questions().size(), 1u);
    EXPECT_EQ(utf8(m_host.questions()[0].text),
              log + "\nが存在しています。上書きしても構いませんか？");
    EXPECT_EQ(utf8(m_host.questions()[0].title), "ログファイル上書きの確認");
    EXPECT_EQ(fileText(log), "previous") << "answered no";
    EXPECT_EQ(m_progress.opens(), 1);
    EXPECT_EQ(m_progress.closes(), 1);
    EXPECT_EQ(m_dialog.list().rowCount(), 2) << "the definitions the run read";
    EXPECT_TRUE(m_dialog.isVisible()) << "the dialog stays open after a run";

    m_host.push(true);
    click(ConversionDialog::ConvertId);
    ASSERT_EQ(m_host.questions().size(), 2u);
    EXPECT_EQ(fileText(log), shownLog) << "answered yes";
}

TEST_F(ConversionDialogTest, FitsASmallScreenAndTheListAndMessagesGrowWithTheWindow)
{
    ConversionDialog dialog(nullptr, m_model, m_choosers);
    expectFitsASmallScreen(&dialog);
    QWidget* list = dialog.control(ConversionDialog::ListId);
    QWidget* messages = dialog.control(ConversionDialog::MessageId);
    const QSize listSize = list->size();
    const QSize messagesSize = messages->size();
    dialog.resize(dialog.width() + 200, dialog.height() + 200);
    QApplication::processEvents();
    EXPECT_GT(list->height(), listSize.height());
    EXPECT_GT(list->width(), listSize.width());
    EXPECT_GT(messages->height(), messagesSize.height());
}

TEST_F(ConversionDialogTest, EscClosesAndEnterPressesOutputWhateverControlHasTheFocus)
{
    QStringList names;
    for (QWidget* control : keyboardControls(&m_dialog))
        names << control->objectName();
    ASSERT_TRUE(names.contains("definitionsList"));
    ASSERT_TRUE(names.contains("messageEdit"));
    ASSERT_TRUE(names.contains("subfoldersCheckBox"));
    for (const QString& name : names) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            ConversionDialog dialog(nullptr, m_model, m_choosers);
            dialog.show();
            auto* widget = dialog.findChild<QWidget*>(name);
            widget->setFocus();
            QTest::keyClick(widget, key);
            if (key == Qt::Key_Escape) {
                EXPECT_FALSE(dialog.isVisible()) << name.toStdString();
                EXPECT_EQ(dialog.result(), ConversionDialog::CloseId) << name.toStdString();
            } else {
                // "出力" with every field empty asks for the first; the
                // dialog stays open for the user to fill it in.
                EXPECT_TRUE(dialog.isVisible()) << name.toStdString();
                EXPECT_EQ(dialog.textOfControl(ConversionDialog::MessageId),
                          u8("入力するCPPのあるフォルダを指定して下さい"))
                    << name.toStdString();
            }
        }
    }
}

TEST_F(ConversionDialogTest, FieldsAndTheBoxSetByAScreenReaderAreWhatTheButtonsTake)
{
    auto setText = [this](int id, const std::string& text) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(m_dialog.control(id));
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->editableTextInterface(), nullptr);
        face->setText(QAccessible::Value, QString::fromStdString(text));
    };
    setText(ConversionDialog::SourceId, sources);
    setText(ConversionDialog::OutputId, m_out.path());
    setText(ConversionDialog::DefinitionsId, sources + "names.txt");
    QAccessibleInterface* box =
        QAccessible::queryAccessibleInterface(m_dialog.control(ConversionDialog::SubfoldersId));
    ASSERT_NE(box, nullptr);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QAccessibleInterface* survey =
        QAccessible::queryAccessibleInterface(m_dialog.control(ConversionDialog::SurveyId));
    ASSERT_NE(survey, nullptr);
    survey->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // A press through the interface is an animated click: it lands once the
    // event loop has run its short timer.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_host.notices().empty(); }));
    ASSERT_EQ(m_host.notices().size(), 1u);
    EXPECT_TRUE(m_model.includeSubfolders);
    EXPECT_EQ(m_model.definitionsText.toStdString(), sources + "names.txt");
    EXPECT_EQ(m_dialog.list().rowCount(), 2);
}

TEST_F(ConversionDialogTest, KeepsToADarkPalette)
{
    DarkPaletteScope dark;
    ConversionDialog dialog(nullptr, m_model, m_choosers);
    dialog.show();
    expectReadableInTheApplicationsPalette(&dialog);
}
