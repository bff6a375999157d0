#include "gui/MainWindow.h"

#include "AppTestFolder.h"
#include "CupsTestServer.h"
#include "GuiTestSupport.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "document/ScriptCatalogue.h"
#include "gui/ListView.h"
#include "reports/CharacterSelection.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

// Takes the file addresses the program hands to the desktop, instead of
// starting a viewer.
class OpenedFiles : public QObject {
    Q_OBJECT

public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;

public slots:
    void open(const QUrl& url) { paths << url.toLocalFile(); }
};

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Types a text into a line edit as a user would, replacing what it held.
void typeInto(QWidget* dialog, int id, const std::string& text)
{
    auto* edit = qobject_cast<QLineEdit*>(static_cast<DialogBase*>(dialog)->control(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

void click(QWidget* dialog, int id)
{
    auto* button = qobject_cast<QAbstractButton*>(static_cast<DialogBase*>(dialog)->control(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

// The main window over a scenario of three scenes, the third without
// speakers; notices and progress are recorded instead of shown.
class MainWindowTest : public AppTestFolder {
protected:
    MainWindowTest()
    {
        m_scenario.write("Scene01.screenplay.txt",
                         ".scene\tScene01\n.chara\t2\n.A\t3\n.B\t4\n.total\t7\n000001 A「x」\n");
        m_scenario.write("scene02.screenplay.txt",
                         ".scene\tscene02\n.chara\t2\n.B\t2\n.C\t5\n.total\t7\n000001 B「y」\n");
        m_scenario.write("scene03.screenplay.txt", ".total\t0\n");
        UxProgressDialog::clearCancelRequest();
    }

    MainWindow& open(const std::string& commandLine)
    {
        ProgramStart::prepare(m_app, commandLine);
        m_window = std::make_unique<MainWindow>(m_app);
        m_window->show();
        return *m_window;
    }
    UxListViewControl& list() { return m_window->model().list(); }
    QPushButton* button(const char* label)
    {
        return byAccessibleName<QPushButton>(m_window.get(), QString::fromUtf8(label));
    }
    QAction* menuItem(int id)
    {
        for (QAction* action : m_window->menuBar()->findChildren<QAction*>())
            if (action->property(MainWindow::CommandIdProperty).toInt() == id)
                return action;
        return nullptr;
    }
    int rowOf(const std::string& name)
    {
        for (int row = 0; row < list().rowCount(); ++row)
            if (list().cell(row, ScriptCatalogue::ColumnFileName)->text == name)
                return row;
        return -1;
    }
    // Double-clicks the row's file-name cell in the view.
    void doubleClick(int row)
    {
        ListView* view = m_window->listView();
        const QRect cell = view->visualRect(view->model()->index(row, 2));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    ScenarioTestFolder m_scenario;
    ScriptedProgressView m_progress;
    UxProgressDialog::Scope m_progressScope{m_progress};
    ScriptedDialogHost m_dialogs;
    UxDialogs::Scope m_dialogScope{m_dialogs};
    Quillon m_app;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace

TEST_F(MainWindowTest, AFolderOnTheCommandLineIsListedAtOnceWithItsCounts)
{
    std::string folder = m_scenario.path();
    folder.pop_back();
    MainWindow& window = open(folder);
    EXPECT_EQ(window.windowTitle(), "quillon utility");
    EXPECT_EQ(list().rowCount(), 3);
    EXPECT_EQ(window.listView()->model()->rowCount(), 3);
    EXPECT_EQ(window.textOfControl(1002).toStdString(), m_scenario.path());
    EXPECT_EQ(window.textOfControl(1009), "3");
    EXPECT_EQ(window.textOfControl(1011), "1");
}

TEST_F(MainWindowTest, CheckAllAndClearAllButtons)
{
    open(m_scenario.path());
    QTest::mouseClick(button("全選択"), Qt::LeftButton);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(list().isChecked(row)) << row;
    QTest::mouseClick(button("全解除"), Qt::LeftButton);
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(list().isChecked(row)) << row;
}

TEST_F(MainWindowTest, NoSelectionMessageForTheButtonAndSilenceForTheMenu)
{
    open(m_scenario.path());
    ASSERT_NE(menuItem(40013), nullptr);
    menuItem(40013)->trigger();
    EXPECT_TRUE(m_dialogs.notices().empty());
    QTest::mouseClick(button("個別ｷｬﾗ設定..."), Qt::LeftButton);
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text, CharacterSelection::noSelectionMessage());
}

TEST_F(MainWindowTest, DoubleClickNarrowsTheSceneAndUpdatesColumnsOneAndFour)
{
    open(m_scenario.path());
    const int row = rowOf("Scene01.screenplay.txt");
    auto answered = whenModalOpens([](QWidget* dialog) {
        // Clear every character but the first, then OK.
        auto* clearAll = byAccessibleName<QAbstractButton>(dialog, QString::fromUtf8("全て解除"));
        ASSERT_NE(clearAll, nullptr);
        clearAll->click();
        ListView* view = dialog->findChild<ListView*>();
        ASSERT_NE(view, nullptr);
        view->list()->check(0);
        auto* ok = byAccessibleName<QAbstractButton>(dialog, QStringLiteral("OK"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    doubleClick(row);
    EXPECT_TRUE(*answered) << "the selection dialog opened";
    EXPECT_EQ(list().cell(row, ScriptCatalogue::ColumnInfo)->text, "1 / 2");
    EXPECT_EQ(list().cell(row, ScriptCatalogue::ColumnSuppressed)->text, "B");
}

TEST_F(MainWindowTest, FindSelectsTheRowWhateverTheCaseAndTheListTakesTheKeys)
{
    open(m_scenario.path());
    auto answered = whenModalOpens([](QWidget* dialog) {
        QComboBox* combo = dialog->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        combo->setEditText(QStringLiteral("SCENE02"));
        auto* ok = byAccessibleName<QAbstractButton>(dialog, QStringLiteral("OK"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    menuItem(40014)->trigger();
    EXPECT_TRUE(*answered);
    const int row = rowOf("scene02.screenplay.txt");
    EXPECT_TRUE(list().isSelected(row));
    EXPECT_EQ(list().focusedRow(), row);
    EXPECT_EQ(m_app.histories().entries(0).size(), 1u);
}

TEST_F(MainWindowTest, ClosingSavesTheRectangleForTheNextStart)
{
    MainWindow& window = open(m_scenario.path());
    window.resize(700, 500);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), 2);
    EXPECT_EQ(list().rowCount(), 0) << "the rows go with the window";
    const WindowRectangle saved = WindowConfiguration::restore();
    EXPECT_EQ(saved.width, 700);
    EXPECT_EQ(saved.height, 500);
}

TEST_F(MainWindowTest, TheExitButtonAndEscEndTheWindowWithTwo)
{
    for (bool byEsc : {false, true}) {
        MainWindow& window = open(m_scenario.path());
        if (byEsc)
            QTest::keyClick(button("全選択"), Qt::Key_Escape);
        else
            QTest::mouseClick(button("終了"), Qt::LeftButton);
        EXPECT_FALSE(window.isVisible()) << byEsc;
        EXPECT_EQ(window.result(), 2) << byEsc;
        EXPECT_TRUE(exists("quillon.configuration"));
    }
}

TEST_F(MainWindowTest, EveryControlIsNamedByItsLabel)
{
    MainWindow& window = open("");
    for (const char* label :
         {"全選択", "全解除", "個別ｷｬﾗ設定...", "印刷設定...", "印刷実行...", "終了"})
        EXPECT_NE(button(label), nullptr) << label;
    for (QAbstractButton* control : window.findChildren<QAbstractButton*>())
        EXPECT_EQ(control->accessibleName(), DialogBase::withoutMnemonics(control->text()));
}

TEST_F(MainWindowTest, PrintingFromTheWindowWritesPagesAndTheLogAndStopsAfterACancel)
{
    OpenedFiles opened;
    open(m_scenario.path());
    const std::string pages = m_scenario.path() + "pages/";
    const std::string logFile = m_scenario.path() + "print.log";
    auto answered = whenModalOpens([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("印刷の実行"));
        click(dialog, 1015); // PNG
        typeInto(dialog, 1016, pages);
        typeInto(dialog, 1019, logFile);
        auto* start = byAccessibleName<QAbstractButton>(dialog, QString::fromUtf8("印刷開始"));
        ASSERT_NE(start, nullptr);
        // Should the dialog refuse to close, the test fails instead of hanging.
        QTimer::singleShot(3000, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
        start->click();
    });
    m_progress.cancelAfterSteps(1);
    m_dialogs.push(true); // yes, make the new destination folder
    QTest::mouseClick(button("印刷実行..."), Qt::LeftButton);
    EXPECT_TRUE(*answered);

    // The first ticked scene printed whole (one page each for A and B), the
    // second not at all; the log says so and went to the desktop's viewer.
    EXPECT_TRUE(std::filesystem::exists(pages + "Scene01/Scene01.A.1@1.png"));
    EXPECT_TRUE(std::filesystem::exists(pages + "Scene01/Scene01.B.1@1.png"));
    EXPECT_FALSE(std::filesystem::exists(pages + "scene02"));
    EXPECT_EQ(bytesOf(logFile),
              sj("; 印刷を開始します\nScene01.screenplay.txt; 印刷されました\n"
                 "; 印刷されたファイル数：1 ファイル\n"
                 "; 印刷処理は中断されました。直前のファイルまでは、印刷が終了しています。\n"));
    EXPECT_EQ(opened.paths, QStringList{QString::fromStdString(logFile)});
    EXPECT_TRUE(m_dialogs.notices().empty()) << "no message box after the run";
    // The settings went into the folder's settings file.
    EXPECT_NE(bytesOf(m_scenario.path() + "quillon.settings.rnf").find("device=2\n"),
              std::string::npos);
}

TEST_F(MainWindowTest, PrintingToThePrinterFromTheWindowSendsOneJobPerPage)
{
    CupsTestServer server;
    if (!server.running())
        GTEST_SKIP() << server.failure();
    ASSERT_TRUE(server.setQueueDefaults("iso_a4_210x297mm", 150));
    open(m_scenario.path());
    list().uncheck(rowOf("scene02.screenplay.txt"));
    auto answered = whenModalOpens([&](QWidget* dialog) {
        click(dialog, 1013); // the printer
        click(dialog, 1017); // no log
        QTimer::singleShot(3000, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
        byAccessibleName<QAbstractButton>(dialog, QString::fromUtf8("印刷開始"))->click();
    });
    QTest::mouseClick(button("印刷実行..."), Qt::LeftButton);
    EXPECT_TRUE(*answered);
    EXPECT_EQ(m_app.runSettings().device, OutputDevice::Printer);
    EXPECT_FALSE(m_app.runSettings().printLog());
    // Scene01: one page for each of its two characters.
    EXPECT_EQ(server.waitForFinishedJobs(2, 60000).size(), 2u);
}

#include "MainWindowTest.moc"
