#include "gui/MainWindow.h"

#include "AppTestFolder.h"
#include "CupsTestServer.h"
#include "GuiTestSupport.h"
#include "LayoutChecks.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "gui/DesktopEnvironment.h"
#include "gui/ListView.h"
#include "platform/SystemClock.h"
#include "reports/CharacterSelection.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxProgressDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolTip>
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
        m_window = std::make_unique<MainWindow>(m_app, m_environment);
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
            if (list().cell(row, CatalogueListBinding::ColumnFileName)->text == name)
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

    // Whether the cell's text fits its column as the list shows it.
    bool cellFits(int row, int column)
    {
        ListView* view = m_window->listView();
        const QString text = view->model()->index(row, column).data().toString();
        const int margin =
            view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        return view->fontMetrics().horizontalAdvance(text) + 2 * margin <=
               view->columnWidth(column);
    }
    // A second scenario whose file names and character lists are long.
    std::string writeLongScenario()
    {
        m_longScenario.write("s01_harbour_at_dawn.screenplay.txt",
                             ".scene\ts01\n.chara\t3\n.Akiyama_Haruto\t1\n.Kisaragi_Sakura\t1\n"
                             ".Mochizuki_Yuuto\t1\n.total\t3\n000001 Akiyama_Haruto「x」\n");
        return m_longScenario.path();
    }

    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_longScenario;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    const SystemClock m_clock;
    DesktopEnvironment m_environment{
        {.dialogs = m_dialogs, .progress = m_progress, .prompt = m_prompt, .clock = m_clock}};
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
    EXPECT_EQ(list().cell(row, CatalogueListBinding::ColumnInfo)->text, "1 / 2");
    EXPECT_EQ(list().cell(row, CatalogueListBinding::ColumnSuppressed)->text, "B");
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
    m_app.catalogue().setTicked(rowOf("scene02.screenplay.txt"), false);
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

TEST_F(MainWindowTest, AFolderOpenedFromTheMenuGetsItsColumnsFittedAsAtStart)
{
    const std::string folder = writeLongScenario();
    auto widths = [this] {
        std::vector<int> out;
        for (int column : {2, 3, 4})
            out.push_back(m_window->listView()->columnWidth(column));
        return out;
    };
    open(folder);
    const std::vector<int> atStart = widths();
    EXPECT_TRUE(cellFits(0, CatalogueListBinding::ColumnFileName));
    m_window->close();

    open("");
    auto answered = whenModalOpens([&](QWidget* dialog) {
        dialog->findChild<QComboBox*>()->setEditText(QString::fromStdString(folder));
        byAccessibleName<QAbstractButton>(dialog, QStringLiteral("OK"))->click();
    });
    menuItem(MainWindowCommands::MenuOpenFolder)->trigger();
    ASSERT_TRUE(*answered);
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(widths(), atStart);
    EXPECT_TRUE(cellFits(0, CatalogueListBinding::ColumnFileName));
}

TEST_F(MainWindowTest, WhereSpaceIsShortTheFileNameWinsAndACutCellTellsItsTextAsATooltip)
{
    WindowConfiguration::save({0, 0, 720, 300});
    open(writeLongScenario());
    ListView* view = m_window->listView();
    EXPECT_TRUE(cellFits(0, CatalogueListBinding::ColumnFileName));
    ASSERT_FALSE(cellFits(0, CatalogueListBinding::ColumnCharacters)) << "the window is too narrow";
    EXPECT_GE(view->columnWidth(CatalogueListBinding::ColumnCharacters), 48);

    const QModelIndex whole = view->model()->index(0, CatalogueListBinding::ColumnFileName);
    const QPoint wholeAt = view->visualRect(whole).center();
    QHelpEvent noHelp(QEvent::ToolTip, wholeAt, view->viewport()->mapToGlobal(wholeAt));
    QApplication::sendEvent(view->viewport(), &noHelp);
    EXPECT_TRUE(QToolTip::text().isEmpty()) << "a cell shown whole needs no tooltip";

    const QModelIndex cut = view->model()->index(0, CatalogueListBinding::ColumnCharacters);
    const QPoint at = view->visualRect(cut).center();
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), cut.data().toString());
}

TEST_F(MainWindowTest, RecentFoldersListTheHistoryNewestFirstAndOpenLikeTheFolderCommand)
{
    const std::string longFolder = writeLongScenario();
    for (int i = 0; i < 11; ++i)
        m_app.histories().add(1, FCString("/nowhere/" + std::to_string(i)), false);
    m_app.histories().add(1, FCString(longFolder), false);
    open("");
    QMenu* recent = m_window->recentFoldersMenu();
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->title(), QString::fromUtf8("最近使ったフォルダ"));
    emit recent->aboutToShow();
    const QList<QAction*> items = recent->actions();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[0]->text().toStdString(), longFolder);
    EXPECT_EQ(items[1]->text(), "/nowhere/10");
    EXPECT_EQ(items[9]->text(), "/nowhere/2");

    // A folder that is gone is told as by the folder dialog.
    items[1]->trigger();
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_NE(m_dialogs.notices()[0].text.find("/nowhere/10/"), std::string::npos);
    items[0]->trigger();
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_EQ(m_window->textOfControl(1002).toStdString(), longFolder);
    EXPECT_TRUE(cellFits(0, CatalogueListBinding::ColumnFileName));
    EXPECT_EQ(m_app.histories().entries(1).back().toStdString(), longFolder)
        << "the folder opened is the newest again";
}

TEST_F(MainWindowTest, AFolderDroppedOnTheWindowIsOpenedAndAFileIsRefused)
{
    open(m_scenario.path());
    const std::string folder = writeLongScenario();
    auto drop = [&](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &dropped);
        return true;
    };
    EXPECT_FALSE(drop(QString::fromStdString(m_scenario.path() + "scene03.screenplay.txt")));
    EXPECT_EQ(list().rowCount(), 3);
    EXPECT_TRUE(drop(QString::fromStdString(folder)));
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_EQ(m_window->textOfControl(1002).toStdString(), folder);
    EXPECT_EQ(m_app.histories().entries(1).back().toStdString(), folder);
}

TEST_F(MainWindowTest, ThePathAndTheCountsAreValuesAScreenReaderReads)
{
    open(m_scenario.path());
    struct Value {
        int id;
        const char* name;
        std::string text;
    };
    for (const Value& value : {Value{1002, "フォルダ", m_scenario.path()}, Value{1009, "総数", "3"},
                               Value{1011, "発言者なし", "1"}}) {
        QWidget* control = m_window->control(value.id);
        ASSERT_NE(control, nullptr) << value.id;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(face, nullptr) << value.id;
        EXPECT_EQ(face->text(QAccessible::Name), QString::fromUtf8(value.name)) << value.id;
        EXPECT_EQ(face->text(QAccessible::Value).toStdString(), value.text) << value.id;
    }
}

TEST_F(MainWindowTest, TheWindowReopensWhereItWasAndOnTheScreenWhenItsPlaceIsGone)
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    WindowConfiguration::save({work.x() + 31, work.y() + 17, 640, 420});
    MainWindow& window = open(m_scenario.path());
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(work.x() + 31, work.y() + 17));
    EXPECT_EQ(window.size(), QSize(640, 420));
    window.close();
    const WindowRectangle saved = WindowConfiguration::restore();
    EXPECT_EQ(saved, (WindowRectangle{work.x() + 31, work.y() + 17, 640, 420}))
        << "closing saves what opening took";

    // A monitor removed since: the window comes up on the primary screen.
    WindowConfiguration::save({work.right() + 4000, work.bottom() + 4000, 640, 420});
    MainWindow& moved = open(m_scenario.path());
    EXPECT_TRUE(work.intersects(moved.frameGeometry()));
    EXPECT_EQ(moved.frameGeometry().topLeft(), work.topLeft());
}

TEST_F(MainWindowTest, NothingOverlapsAtTheFirstOrTheSmallestSize)
{
    MainWindow& window = open(m_scenario.path());
    EXPECT_EQ(layoutProblems(&window), QStringList());
    EXPECT_EQ(layoutProblemsAtMinimumSize(&window), QStringList());
    EXPECT_GE(window.listView()->width(), 100);
}

#include "MainWindowTest.moc"
