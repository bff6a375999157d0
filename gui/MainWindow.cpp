#include "gui/MainWindow.h"

#include "app/PagePreviewModel.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "document/ScriptCatalogue.h"
#include "gui/AboutDialog.h"
#include "gui/CharacterSelectionDialog.h"
#include "gui/CheckListDialog.h"
#include "gui/ConversionDialog.h"
#include "gui/FindDialog.h"
#include "gui/FolderDialog.h"
#include "gui/ListView.h"
#include "gui/PagePreviewDialog.h"
#include "gui/PrintSettingsDialog.h"
#include "gui/QtText.h"
#include "gui/WordCountDialog.h"
#include "ui/UxDialogs.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>

namespace {

struct MenuItem {
    int id;
    const char* label; // UTF-8
};

struct Menu {
    const char* title;
    std::initializer_list<MenuItem> items;
};

// The menu of the main window; item ids are the command ids.
const Menu Menus[] = {
    {"ファイル(&F)",
     {{MainWindowCommands::MenuOpenFolder, "台本フォルダを指定する (&O)pen"},
      {MainWindowCommands::MenuCheckList, "台本チェックリストの出力... (&C)heckList"}}},
    {"編集(&E)",
     {{MainWindowCommands::MenuFind, "ファイル名の検索 (&F)ind"},
      {MainWindowCommands::MenuSelectCharacters, "個別出力キャラ設定 (&S)ettings"}}},
    {"ツール(&T)",
     {{MainWindowCommands::MenuWordCounts, "(&1) ワード数を確認する"},
      {MainWindowCommands::MenuDeliveredVoices, "(&2) 納品された音声の確認と振り分け"},
      {MainWindowCommands::MenuPageCount, "(&3) 現在の設定で出力される台本のページ数を確認する"},
      {MainWindowCommands::MenuConvert, "(&9) 旧tavrelソースから台本を作成する"}}},
    {"ヘルプ(&H)", {{MainWindowCommands::MenuAbout, "Quillonについて (&A)bout"}}},
};

// The buttons with the anchors that keep them beside the list: the ones at
// the top follow the right edge, the counts and "終了" the right and bottom.
constexpr int TopRightControls[] = {1, 1007, 1005, 1006, 1008, MainWindow::PreviewId};
constexpr int BottomRightControls[] = {1010, 1009, 1012, 1011, 2};

} // namespace

MainWindow::MainWindow(Quillon& app, QWidget* parent)
    : DialogBase(parent), m_ui(std::make_unique<Ui::MainWindow>()), m_app(app)
{
    m_ui->setupUi(this);
    buildMenu();
    m_commands = std::make_unique<MainWindowCommands>(m_app, m_model, dialogs());

    m_ui->listView->setList(&m_model.list());
    m_commands->open();
    showModelTexts();
    registerAnchors();
    placeSavedRectangle();
    fitColumns({ScriptCatalogue::ColumnFileName, ScriptCatalogue::ColumnCharacters,
                ScriptCatalogue::ColumnSuppressed});

    connectButtons();
    connect(m_ui->listView, &ListView::rowDoubleClicked, this, &MainWindow::rowDoubleClicked);
    // The preview: its button, and Return or Enter in the list (which
    // otherwise keeps them to itself). An open preview follows the list's
    // current row.
    connect(m_ui->previewButton, &QPushButton::clicked, this, &MainWindow::openPreview);
    m_ui->listView->installEventFilter(this);
    connect(m_ui->listView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                PagePreviewDialog* preview = PagePreviewDialog::openOver(this);
                if (preview && current.isValid())
                    preview->showRow(current.row());
            });
    nameControlsByLabels(this);
}

MainWindow::~MainWindow()
{
    // The view goes before the list it shows.
    m_ui->listView->setList(nullptr);
    if (m_app.mainWindow() == &m_model)
        m_app.setMainWindow(nullptr);
}

ListView* MainWindow::listView() const
{
    return m_ui->listView;
}

void MainWindow::buildMenu()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setAccessibleName(QStringLiteral("メニュー"));
    for (const Menu& menu : Menus) {
        QMenu* pulldown = m_menuBar->addMenu(QString::fromUtf8(menu.title));
        for (const MenuItem& item : menu.items) {
            QAction* action = pulldown->addAction(QString::fromUtf8(item.label));
            action->setProperty(CommandIdProperty, item.id);
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id, false); });
        }
    }
    m_menuBar->setGeometry(0, 0, width(), m_menuBar->sizeHint().height());
}

void MainWindow::connectButtons()
{
    for (QPushButton* button : findChildren<QPushButton*>()) {
        const QVariant id = button->property(ControlIdProperty);
        if (!id.isValid())
            continue;
        const int command = id.toInt();
        connect(button, &QPushButton::clicked, this,
                [this, command] { runCommand(command, true); });
    }
}

void MainWindow::registerAnchors()
{
    for (int id : TopRightControls)
        registerAnchor(id, FollowRight);
    registerAnchor(1002, FollowRight | StretchRight);
    for (int id : BottomRightControls)
        registerAnchor(id, FollowRight | FollowBottom);
    registerAnchor(ListId, FollowRight | StretchRight | FollowBottom | StretchBottom);
}

void MainWindow::placeSavedRectangle()
{
    const WindowRectangle& saved = m_app.windowRectangle();
    place(saved.x, saved.y, saved.width, saved.height, false);
}

void MainWindow::runCommand(int id, bool fromButton)
{
    if (fromButton && id == MainWindowCommands::Exit) {
        reject();
        return;
    }
    if (!m_commands->dispatch(id, fromButton))
        return;
    // The print settings, the print targets or the whole list may have
    // changed: an open preview takes them over.
    PagePreviewDialog::refreshOver(this);
    // The list takes the keyboard with the found row, so that the arrow keys
    // go on from there.
    if (!fromButton && id == MainWindowCommands::MenuFind && m_commands->lastFoundRow() >= 0)
        m_ui->listView->setFocus(Qt::OtherFocusReason);
    showModelTexts();
}

void MainWindow::rowDoubleClicked(int)
{
    if (m_commands->selectCharactersOfFirstSelectedRow()) {
        fitColumns({ScriptCatalogue::ColumnCharacters, ScriptCatalogue::ColumnSuppressed});
        PagePreviewDialog::refreshOver(this);
    }
}

void MainWindow::openPreview()
{
    const int row = PagePreviewModel::rowToPreview(m_model.list());
    if (row < 0) {
        UxDialogs::notice(PagePreviewModel::noSelectionMessage());
        return;
    }
    PagePreviewDialog::open(this, m_app, m_model.list(), row);
}

void MainWindow::showModelTexts()
{
    m_ui->folderLabel->setText(fromCp932(m_model.folderText().view()));
    m_ui->totalNumber->setText(fromCp932(m_model.totalText().view()));
    m_ui->noSpeakerNumber->setText(fromCp932(m_model.noSpeakerText().view()));
}

void MainWindow::fitColumns(std::initializer_list<int> columns)
{
    for (int column : columns)
        m_ui->listView->fitColumnToContents(column);
}

MainWindowCommands::Dialogs MainWindow::dialogs()
{
    MainWindowCommands::Dialogs dialogs;
    dialogs.characterSelection = [this](CharacterSelectionModel& model) {
        return CharacterSelectionDialog::run(this, model);
    };
    dialogs.checkList = [this](CheckListDialogModel& model) {
        return CheckListDialog::run(this, model);
    };
    dialogs.find = [this](FindFileModel& model) { return FindDialog::run(this, model); };
    dialogs.folder = [this](FolderSelectionModel& model) { return FolderDialog::run(this, model); };
    dialogs.wordCounts = [this](const ScriptInfo& totals) { WordCountDialog::show(this, totals); };
    dialogs.about = [this](AboutModel& model) { AboutDialog::show(this, model); };
    dialogs.printSettings = [this](PrintSettingsDialogModel& model) {
        return PrintSettingsDialog::run(this, model);
    };
    dialogs.conversion = [this](ConversionDialogModel& model) {
        ConversionDialog::run(this, model);
    };
    // The written log goes to the desktop's viewer for text files.
    dialogs.openLog = [](const FCString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(fromCp932(path.view())));
    };
    return dialogs;
}

void MainWindow::reject()
{
    closing();
    done(MainWindowCommands::Exit);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Return and Enter in the list open the preview; the list would keep
    // them to itself (Esc still stays there).
    if (watched == m_ui->listView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openPreview();
            return true;
        }
    }
    return DialogBase::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close box: the same steps as the close command; the dialog's own
    // handling then ends it through reject().
    closing();
    DialogBase::closeEvent(event);
}

void MainWindow::closing()
{
    if (m_closed)
        return;
    m_closed = true;
    // The preview shows records that go with the rows.
    if (PagePreviewDialog* preview = PagePreviewDialog::openOver(this))
        preview->close();
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    ProgramStart::windowClosing(m_app, {normal.x(), normal.y(), normal.width(), normal.height()});
    // The rows refer to the catalogue's records: they go first.
    m_model.list().clear();
    m_app.catalogue().clear();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, width(), m_menuBar->sizeHint().height());
    DialogBase::resizeEvent(event);
}
