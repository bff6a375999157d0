#pragma once

#include "app/MainWindowCommands.h"
#include "app/MainWindowModel.h"
#include "gui/DialogBase.h"

#include <memory>

class DesktopEnvironment;
class ListView;
class QMenu;
class QHelpEvent;
class QMenuBar;
class Quillon;

namespace Ui {
class MainWindow;
}

// The program's one main window: the scenario's screenplay files as a
// checkable list, the folder line, the two counts, the buttons and the
// menu. Every button and menu item goes to MainWindowCommands; this class
// only shows the model and wires the window's events to it. The page
// preview ("プレビュー...", Return in the list) is the window's own: a
// modeless window that follows the list and the commands' settings.
class MainWindow : public DialogBase {
    Q_OBJECT

public:
    static constexpr int ListId = 1000;
    static constexpr int PreviewId = 1020;
    static constexpr const char* CommandIdProperty = "commandId";

    // The environment (notices, progress, file choosers) outlives the
    // window.
    MainWindow(Quillon& app, DesktopEnvironment& environment, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainWindowModel& model() { return m_model; }
    MainWindowCommands& commands() { return *m_commands; }
    ListView* listView() const;
    QMenuBar* menuBar() const { return m_menuBar; }

    // Runs a button (fromButton) or a menu command by its id and shows what
    // changed; ids that name no command are ignored.
    void runCommand(int id, bool fromButton);
    // Opens a folder the way the folder command does after its dialog (the
    // recent folders and a folder dropped on the window come here).
    void openFolder(const QString& folder);

    // The window's place and size as saved when it closes: the frame's
    // top-left corner and the client area's size, both as they were when
    // the window was last neither maximised nor minimised.
    QRect normalPlacement() const { return m_normalPlacement; }

    // "最近使ったフォルダ" under the file menu.
    QMenu* recentFoldersMenu() const { return m_recentMenu; }

public slots:
    // The close command ("終了", Esc outside the list, the close box): the
    // window's rectangle is saved, the rows and records go, and the window
    // ends with 2.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void closing();
    void buildMenu();
    void fillRecentFoldersMenu();
    void connectButtons();
    void placeSavedRectangle();
    void rememberNormalPlacement();
    void showModelTexts();
    // The file name, character and suppressed columns take the width of
    // their contents; where the list is too narrow for all three the file
    // name keeps its width and the other two give way.
    void fitColumnsAfterLoad();
    void fitColumns(std::initializer_list<int> columns);
    // A cell too narrow for its text shows the whole text as a tooltip.
    bool showCutCellText(QHelpEvent* event);
    void rowDoubleClicked(int row);
    // "プレビュー..." and Return in the list: the preview of the selected row.
    void openPreview();
    MainWindowCommands::Dialogs dialogs();

    std::unique_ptr<Ui::MainWindow> m_ui;
    Quillon& m_app;
    DesktopEnvironment& m_environment;
    MainWindowModel m_model;
    std::unique_ptr<MainWindowCommands> m_commands;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_recentMenu = nullptr;
    QRect m_normalPlacement;
    bool m_closed = false;
    bool m_shownOnce = false;
};
