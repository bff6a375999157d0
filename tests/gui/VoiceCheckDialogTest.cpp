#include "gui/VoiceCheckDialog.h"

#include "AppTestFolder.h"
#include "AudioTestFiles.h"
#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "LayoutChecks.h"
#include "ScenarioTestFolder.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "app/VoiceCheckDialogModel.h"
#include "gui/MainWindow.h"
#include "gui/WordCountDialog.h"
#include "gui/DesktopEnvironment.h"
#include "platform/SystemClock.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// What the word-count dialog shows beside "収録数", read as a screen reader
// reads the field.
QString recordedField(MainWindow& window)
{
    QString recorded = QStringLiteral("<not opened>");
    auto ran = whenModalOpens([&](QWidget* modal) {
        auto* field = byAccessibleName<QLineEdit>(modal, u("収録数"));
        recorded = field ? QAccessible::queryAccessibleInterface(field)->text(QAccessible::Value)
                         : QStringLiteral("<no field>");
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    window.runCommand(MainWindowCommands::MenuWordCounts, false);
    return recorded;
}

// A scene of three lines loaded into the application; a delivery with two of
// them recorded and a file that matches no line.
class VoiceCheckDialogTest : public AppTestFolder {
protected:
    VoiceCheckDialogTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_scenario.write("s01.screenplay.txt", ".scene\ts01\n.chara\t2\n.さくら\t2\n.悠人\t1\n"
                                               ".total\t3\n000101 さくら「a」\n"
                                               "000102 悠人「b」\n000103 さくら「c」\n");
        std::filesystem::create_directory(delivery());
        writeAudio(delivery() + "/000101.wav", 8000);
        writeAudio(delivery() + "/000102.wav", 4000);
        writeAudio(delivery() + "/999999.wav", 800);
        ProgramStart::prepare(m_app, m_scenario.path());
    }

    std::string delivery() const { return m_work.path() + "delivery"; }

    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_work;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_progress;
    const SystemClock m_clock;
    DesktopEnvironment m_environment{
        {.dialogs = m_host, .progress = m_progress, .prompt = m_prompt, .clock = m_clock}};
    Quillon m_app;
};

} // namespace

TEST_F(VoiceCheckDialogTest, FromTheMenuACheckShowsItsTableAndProblemsAndTheRecordedCount)
{
    MainWindow window(m_app, m_environment);
    window.show();
    QAction* item = nullptr;
    for (QAction* action : window.menuBar()->findChildren<QAction*>())
        if (action->property(MainWindow::CommandIdProperty).toInt() == 40005)
            item = action;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), u("(&2) 納品された音声の確認と振り分け"));

    EXPECT_EQ(recordedField(window), QString()) << "no check yet: as the form has it";

    QStringList table, problems;
    QString message;
    bool sortEnabledBefore = true, sortEnabledAfter = false, printEnabledAfter = false;
    auto ran = whenModalOpens([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), u("納品音声の確認"));
        auto* combo = byAccessibleName<QComboBox>(modal, u("納品フォルダ"));
        auto* check = byAccessibleName<QPushButton>(modal, u("確認"));
        auto* sort = byAccessibleName<QPushButton>(modal, u("振り分け..."));
        ASSERT_TRUE(combo && check && sort);
        sortEnabledBefore = sort->isEnabled();
        setTextAccessibly(combo->lineEdit(), QString::fromStdString(delivery()));
        doAccessibly(check, QAccessibleActionInterface::pressAction());
        // A press through the interface is an animated click: it lands once
        // the event loop has run its short timer.
        ASSERT_TRUE(QTest::qWaitFor([sort] { return sort->isEnabled(); }));
        table = readTable(byAccessibleName<QTableView>(modal, u("キャラ別の収録状況")));
        problems = readTable(byAccessibleName<QTableView>(modal, u("問題の一覧")));
        message = byAccessibleName<QPlainTextEdit>(modal, u("メッセージ"))->toPlainText();
        sortEnabledAfter = sort->isEnabled();
        printEnabledAfter =
            byAccessibleName<QPushButton>(modal, u("未収録の台本を印刷..."))->isEnabled();
        // Esc closes the window.
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    item->trigger();
    ASSERT_TRUE(*ran);
    EXPECT_FALSE(sortEnabledBefore) << "nothing to sort before a check";
    EXPECT_TRUE(sortEnabledAfter);
    EXPECT_TRUE(printEnabledAfter) << "a line is missing";
    EXPECT_EQ(table, QStringList({u("さくら|2|1|1|0|0|0:00:01.0"), u("悠人|1|1|0|0|0|0:00:00.5"),
                                  u("総数|3|2|1|0|0|0:00:01.5")}));
    EXPECT_EQ(problems, QStringList({u("未収録|000103|s01、さくら"), u("対応なし|999999.wav|")}));
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The word counts show the recorded lines beside "収録数" now.
    EXPECT_EQ(recordedField(window), u("2"));
}

TEST_F(VoiceCheckDialogTest, TheWindowFitsASmallScreenAndItsControlsAreNamed)
{
    // The load that the main window would make.
    UxProgressDialog progress(m_progress);
    ASSERT_EQ(m_app.loadScenarioFolder(progress, m_notices), FolderLoad::Loaded);
    m_app.setLoadAtStart(false);
    VoiceCheckDialogModel model(m_app, m_notices, m_progress, m_clock);
    VoiceCheckDialog dialog(nullptr, model, m_environment.choosers());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    expectButtonsAnnouncedByTheirLabels(&dialog);
    for (int id :
         {VoiceCheckDialog::DeliveryId, VoiceCheckDialog::PatternId, VoiceCheckDialog::TableId,
          VoiceCheckDialog::ProblemsId, VoiceCheckDialog::MessageId})
        EXPECT_FALSE(announcedName(dialog.control(id)).isEmpty()) << id;
    EXPECT_EQ(dialog.textOfControl(VoiceCheckDialog::PatternHintId),
              u("空欄のときは、ファイル名の中の最初の6桁の数字が番号になります。"));
    EXPECT_FALSE(dialog.control(VoiceCheckDialog::PrintMissingId)->isEnabled())
        << "nothing checked yet";

    // The options reach the model however they are changed.
    doAccessibly(dialog.control(VoiceCheckDialog::CheckContentId),
                 QAccessibleActionInterface::toggleAction());
    doAccessibly(dialog.control(VoiceCheckDialog::MoveId),
                 QAccessibleActionInterface::toggleAction());
    doAccessibly(dialog.control(VoiceCheckDialog::BySceneId),
                 QAccessibleActionInterface::toggleAction());
    setTextAccessibly(dialog.control(VoiceCheckDialog::PatternId), u("v(\\d+)"));
    EXPECT_TRUE(model.checkContent);
    EXPECT_TRUE(model.moveFiles);
    EXPECT_TRUE(model.byScene);
    EXPECT_EQ(model.patternText.toStdString(), "v(\\d+)");

    // A 1366 x 768 screen leaves about 680 pixels under the title bar.
    EXPECT_LE(dialog.width(), 1366);
    EXPECT_LE(dialog.height(), 680);
    EXPECT_EQ(layoutProblems(&dialog), QStringList()) << "as it opens";
    EXPECT_LE(dialog.minimumSize().height(), 680);
    EXPECT_EQ(layoutProblemsAtMinimumSize(&dialog), QStringList()) << "at its minimum size";
}
