#include "gui/MainWindow.h"

#include "app/FolderSelectionModel.h"
#include "app/PagePreviewModel.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "gui/AboutDialog.h"
#include "gui/ChangeCheckDialog.h"
#include "gui/CharacterSelectionDialog.h"
#include "gui/CheckListDialog.h"
#include "gui/ConversionDialog.h"
#include "gui/DesktopEnvironment.h"
#include "gui/FindDialog.h"
#include "gui/FolderDialog.h"
#include "gui/ListView.h"
#include "gui/PagePreviewDialog.h"
#include "gui/PrintSettingsDialog.h"
#include "gui/QtText.h"
#include "gui/VoiceCheckDialog.h"
#include "gui/WordCountDialog.h"
#include "platform/TextCodec.h"
#include "ui/CatalogueListBinding.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolTip>
#include <QUrl>
#include <algorithm>

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
      {MainWindowCommands::MenuChangeCheck, "(&4) 変更点の確認..."},
      {MainWindowCommands::MenuPageCount, "(&3) 現在の設定で出力される台本のページ数を確認する"},
      {MainWindowCommands::MenuConvert, "(&9) 旧tavrelソースから台本を作成する"}}},
    {"ヘルプ(&H)", {{MainWindowCommands::MenuAbout, "Quillonについて (&A)bout"}}},
};

// The recent folders go under the file menu, after its first item.
const char* const RecentFoldersTitle = "最近使ったフォルダ";

// The columns fitted to their contents after a load, the file name first:
// it is the one that wins where the list is too narrow for all.
constexpr int FittedColumns[] = {CatalogueListBinding::ColumnFileName,
                                 CatalogueListBinding::ColumnCharacters,
                                 CatalogueListBinding::ColumnSuppressed};
// No fitted column gets narrower than this, so that a cut cell still shows
// where it is.
constexpr int LeastColumnWidth = 48;

// The first local folder among the dropped items, or an empty text.
QString droppedFolder(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir())
            return url.toLocalFile();
    }
    return {};
}

bool onAnyScreen(const QRect& frame)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&frame](const QScreen* screen) {
        return screen->availableGeometry().intersects(frame);
    });
}

} // namespace

MainWindow::MainWindow(Quillon& app, DesktopEnvironment& environment, QWidget* parent)
    : DialogBase(parent), m_ui(std::make_unique<Ui::MainWindow>()), m_app(app),
      m_environment(environment), m_model(app.catalogue())
{
    m_ui->setupUi(this);
    // The window reopens where the user left it, even partly off screen.
    setKeepInsideScreen(false);
    buildMenu();
    m_commands = std::make_unique<MainWindowCommands>(m_app, m_model, m_environment, dialogs());

    m_ui->listView->setList(&m_model.list());
    // A folder's thousands of names are laid out while the list is filled,
    // for the fit that follows every load.
    m_ui->listView->setMeasuredAhead(FittedColumns);
    // Return in the list opens the preview and Esc stays there: the window
    // does not close on a key meant for the list.
    m_ui->listView->setKeepsReturnAndEscape(true);
    m_commands->open();
    showModelTexts();
    placeSavedRectangle();
    setAcceptDrops(true);
    m_ui->listView->viewport()->installEventFilter(this);
    // Ctrl+Q ends the program as "終了" does, as on any desktop.
    auto* quit = new QShortcut(QKeySequence::Quit, this);
    connect(quit, &QShortcut::activated, this, &MainWindow::reject);

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
            if (id == MainWindowCommands::MenuOpenFolder) {
                m_recentMenu = pulldown->addMenu(QString::fromUtf8(RecentFoldersTitle));
                connect(m_recentMenu, &QMenu::aboutToShow, this,
                        &MainWindow::fillRecentFoldersMenu);
            }
        }
    }
    fillRecentFoldersMenu();
    layout()->setMenuBar(m_menuBar);
}

void MainWindow::fillRecentFoldersMenu()
{
    m_recentMenu->clear();
    const std::vector<FCString> folders =
        m_commands ? m_commands->recentFolders() : std::vector<FCString>();
    for (const FCString& folder : folders) {
        const QString text = fromCp932(folder.view());
        QAction* action = m_recentMenu->addAction(text);
        // The entry as it was typed, so that the history keeps one entry for it.
        const std::string cp932(folder.view());
        connect(action, &QAction::triggered, this, [this, cp932] {
            m_commands->openFolder(cp932);
            PagePreviewDialog::refreshOver(this);
            fitColumnsAfterLoad();
            showModelTexts();
        });
    }
    m_recentMenu->setEnabled(!folders.empty());
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

void MainWindow::placeSavedRectangle()
{
    // The saved place is the frame's top-left corner (where the window
    // manager puts the window) and the client area's size (what the window
    // sets), so that a restart with or without a window manager puts the
    // window back exactly where it was. A width or height of 0 or less keeps
    // the form's.
    const WindowRectangle& saved = m_app.windowRectangle();
    resize(saved.width > 0 ? saved.width : width(), saved.height > 0 ? saved.height : height());
    QRect frame(QPoint(saved.x, saved.y), size());
    // A place on no screen there is now (a monitor removed since) would
    // open the window where nobody sees it: it opens on the primary screen.
    if (!onAnyScreen(frame)) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect work = primary->availableGeometry();
            resize(size().boundedTo(work.size()).expandedTo(minimumSizeHint()));
            frame = QRect(work.topLeft(), size());
        }
    }
    move(frame.topLeft());
    m_normalPlacement = QRect(frame.topLeft(), size());
}

void MainWindow::rememberNormalPlacement()
{
    if (!isVisible() ||
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    m_normalPlacement = QRect(frameGeometry().topLeft(), size());
}

void MainWindow::openFolder(const QString& folder)
{
    std::string cp932;
    if (!TextCodec::fromUtf8Exact(folder.toStdString(), cp932)) {
        m_environment.notices().notice(
            toCp932(QStringLiteral("フォルダの名前に、扱えない文字が含まれています。\n") + folder),
            FolderSelectionModel::NotFoundTitle);
        return;
    }
    m_commands->openFolder(cp932);
    PagePreviewDialog::refreshOver(this);
    fitColumnsAfterLoad();
    showModelTexts();
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
    if (!fromButton && id == MainWindowCommands::MenuOpenFolder)
        fitColumnsAfterLoad();
    showModelTexts();
}

void MainWindow::rowDoubleClicked(int)
{
    if (m_commands->selectCharactersOfFirstSelectedRow()) {
        fitColumns(
            {CatalogueListBinding::ColumnCharacters, CatalogueListBinding::ColumnSuppressed});
        PagePreviewDialog::refreshOver(this);
    }
}

void MainWindow::openPreview()
{
    const int row = PagePreviewModel::rowToPreview(m_model.list());
    if (row < 0) {
        m_environment.notices().notice(PagePreviewModel::noSelectionMessage());
        return;
    }
    PagePreviewDialog::open(this, m_app, m_model.rows(), row);
}

void MainWindow::showModelTexts()
{
    m_ui->folderLine->setText(fromCp932(m_model.folderText().view()));
    m_ui->folderLine->setCursorPosition(0);
    m_ui->totalNumber->setText(fromCp932(m_model.totalText().view()));
    m_ui->noSpeakerNumber->setText(fromCp932(m_model.noSpeakerText().view()));
}

void MainWindow::fitColumnsAfterLoad()
{
    ListView* view = m_ui->listView;
    UxListViewControl& list = m_model.list();
    if (list.columnCount() <= CatalogueListBinding::ColumnSuppressed)
        return;
    // The list's width is the layout's, also before the window is shown.
    layout()->activate();
    view->resizeToContents(FittedColumns);
    int wanted[std::size(FittedColumns)];
    int total = 0;
    for (std::size_t i = 0; i < std::size(FittedColumns); ++i) {
        wanted[i] = view->columnWidth(FittedColumns[i]);
        total += wanted[i];
    }
    int room = view->viewport()->width();
    for (int column = 0; column < list.columnCount(); ++column) {
        if (std::find(std::begin(FittedColumns), std::end(FittedColumns), column) ==
                std::end(FittedColumns) &&
            !view->isColumnHidden(column))
            room -= view->columnWidth(column);
    }
    int widths[std::size(FittedColumns)];
    std::copy(std::begin(wanted), std::end(wanted), std::begin(widths));
    if (total > room) {
        // The file name keeps its width as far as the others can still be
        // seen; the characters take what they need of the rest, up to half
        // of it when the suppressed names need the other half.
        const int others = static_cast<int>(std::size(FittedColumns)) - 1;
        widths[0] =
            std::min(wanted[0], std::max(LeastColumnWidth, room - others * LeastColumnWidth));
        int rest = std::max(0, room - widths[0]);
        const int half = rest / 2;
        widths[2] =
            std::max(LeastColumnWidth, std::min(wanted[2], std::max(half, rest - wanted[1])));
        widths[1] = std::max(LeastColumnWidth, std::min(wanted[1], rest - widths[2]));
    }
    for (std::size_t i = 0; i < std::size(FittedColumns); ++i)
        list.setColumnWidth(FittedColumns[i], widths[i]);
}

void MainWindow::fitColumns(std::initializer_list<int> columns)
{
    for (int column : columns)
        m_ui->listView->fitColumnToContents(column);
}

bool MainWindow::showCutCellText(QHelpEvent* event)
{
    ListView* view = m_ui->listView;
    const QModelIndex index = view->indexAt(event->pos());
    const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
    const QRect cell = view->visualRect(index);
    // The text is drawn inside the cell's margins on both sides.
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    if (text.isEmpty() ||
        view->fontMetrics().horizontalAdvance(text) + 2 * margin <= cell.width()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), text, view->viewport(), cell);
    return true;
}

MainWindowCommands::Dialogs MainWindow::dialogs()
{
    MainWindowCommands::Dialogs dialogs;
    dialogs.characterSelection = [this](CharacterSelectionModel& model) {
        return CharacterSelectionDialog::run(this, model);
    };
    dialogs.checkList = [this](CheckListDialogModel& model) {
        return CheckListDialog::run(this, model, m_environment.choosers());
    };
    dialogs.find = [this](FindFileModel& model) { return FindDialog::run(this, model); };
    dialogs.folder = [this](FolderSelectionModel& model) {
        return FolderDialog::run(this, model, m_environment.choosers());
    };
    dialogs.wordCounts = [this](const ScriptInfo& totals) {
        WordCountDialog::show(this, totals, m_environment.notices(), m_app.recordedLines());
    };
    dialogs.about = [this](AboutModel& model) { AboutDialog::show(this, model); };
    dialogs.printSettings = [this](PrintSettingsDialogModel& model) {
        return PrintSettingsDialog::run(this, model, m_environment.choosers());
    };
    dialogs.conversion = [this](ConversionDialogModel& model) {
        ConversionDialog::run(this, model, m_environment.choosers());
    };
    dialogs.deliveredVoices = [this](VoiceCheckDialogModel& model) {
        VoiceCheckDialog::run(this, model, m_environment.choosers());
    };
    dialogs.changeCheck = [this](ChangeCheckDialogModel& model) {
        ChangeCheckDialog::run(this, model, m_environment.choosers());
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
    if (watched == m_ui->listView->viewport() && event->type() == QEvent::ToolTip)
        return showCutCellText(static_cast<QHelpEvent*>(event));
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
    rememberNormalPlacement();
    const QRect normal = m_normalPlacement;
    ProgramStart::windowClosing(m_app, {normal.x(), normal.y(), normal.width(), normal.height()});
    // The records go, and with them the rows and the columns.
    m_app.catalogue().clear();
    m_model.list().clear();
}

void MainWindow::showEvent(QShowEvent* event)
{
    DialogBase::showEvent(event);
    // The folder of the command line was loaded before the list had its
    // width; its columns are fitted once the layout has given it one.
    if (!m_shownOnce) {
        m_shownOnce = true;
        fitColumnsAfterLoad();
    }
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    DialogBase::moveEvent(event);
    rememberNormalPlacement();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    DialogBase::resizeEvent(event);
    rememberNormalPlacement();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString folder = droppedFolder(event->mimeData());
    if (folder.isEmpty())
        return;
    event->acceptProposedAction();
    openFolder(folder);
}
