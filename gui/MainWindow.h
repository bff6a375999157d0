#pragma once

#include "app/MainWindowCommands.h"
#include "app/MainWindowModel.h"
#include "gui/DialogBase.h"

#include <memory>

class ListView;
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

    explicit MainWindow(Quillon& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainWindowModel& model() { return m_model; }
    MainWindowCommands& commands() { return *m_commands; }
    ListView* listView() const;
    QMenuBar* menuBar() const { return m_menuBar; }

    // Runs a button (fromButton) or a menu command by its id and shows what
    // changed; ids that name no command are ignored.
    void runCommand(int id, bool fromButton);

public slots:
    // The close command ("終了", Esc outside the list, the close box): the
    // window's rectangle is saved, the rows and records go, and the window
    // ends with 2.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void closing();
    void buildMenu();
    void connectButtons();
    void registerAnchors();
    void placeSavedRectangle();
    void showModelTexts();
    void fitColumns(std::initializer_list<int> columns);
    void rowDoubleClicked(int row);
    // "プレビュー..." and Return in the list: the preview of the selected row.
    void openPreview();
    MainWindowCommands::Dialogs dialogs();

    std::unique_ptr<Ui::MainWindow> m_ui;
    Quillon& m_app;
    MainWindowModel m_model;
    std::unique_ptr<MainWindowCommands> m_commands;
    QMenuBar* m_menuBar = nullptr;
    bool m_closed = false;
};
