#pragma once

#include "app/ChangeCheck.h"
#include "document/ScriptCatalogue.h"
#include "reports/CheckListReport.h"
#include "reports/PrintRun.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class AboutModel;
class ChangeCheckDialogModel;
class CharacterSelectionModel;
class CheckListDialogModel;
class ConversionDialogModel;
class FindFileModel;
class FolderSelectionModel;
class LineSelection;
class MainWindowModel;
class PrintSettingsDialogModel;
class ProgramEnvironment;
class Quillon;
class VoiceCheckDialogModel;
class ScriptInfo;

// What the main window's buttons and menu commands do, without the window.
// The windows they open are the caller's: each is a function that shows a
// model and answers true for OK. The desktop program passes its Qt dialogs,
// the tests pass scripted ones. Notices and progress go through the
// program's environment.
class MainWindowCommands {
public:
    // Buttons.
    static constexpr int Print = 1;
    static constexpr int Exit = 2;
    static constexpr int CheckAll = 1005;
    static constexpr int ClearAll = 1006;
    static constexpr int SelectCharacters = 1007;
    static constexpr int PrintSettings = 1008;
    // Menu commands.
    static constexpr int MenuConvert = 40004;
    static constexpr int MenuDeliveredVoices = 40005;
    static constexpr int MenuChangeCheck = 40007;
    static constexpr int MenuAbout = 40003;
    static constexpr int MenuOpenFolder = 40001;
    static constexpr int MenuWordCounts = 40006;
    static constexpr int MenuSelectCharacters = 40013;
    static constexpr int MenuFind = 40014;
    static constexpr int MenuCheckList = 40016;
    static constexpr int MenuPageCount = 40022;

    struct Dialogs {
        std::function<bool(CharacterSelectionModel&)> characterSelection;
        std::function<bool(CheckListDialogModel&)> checkList;
        std::function<bool(FindFileModel&)> find;
        std::function<bool(FolderSelectionModel&)> folder;
        std::function<void(const ScriptInfo&)> wordCounts;
        std::function<void(AboutModel&)> about;
        std::function<bool(PrintSettingsDialogModel&)> printSettings;
        std::function<void(ConversionDialogModel&)> conversion;
        std::function<void(VoiceCheckDialogModel&)> deliveredVoices;
        std::function<void(ChangeCheckDialogModel&)> changeCheck;
        // Shows the print log once a run has written it.
        PrintRun::Opener openLog;
    };

    MainWindowCommands(Quillon& app, MainWindowModel& window, ProgramEnvironment& environment,
                       Dialogs dialogs);
    virtual ~MainWindowCommands();

    MainWindowCommands(const MainWindowCommands&) = delete;
    MainWindowCommands& operator=(const MainWindowCommands&) = delete;

    // Runs the command of a button (fromButton) or a menu item; false for an
    // id that names no command here (the window ignores those, and closing
    // is the window's). A command the foundation raises in is abandoned:
    // the failure has been shown, the window goes on.
    bool dispatch(int id, bool fromButton);

    // Opening: the list emptied and its columns defined, the scenario folder
    // loaded when the command line named one (the flag is cleared).
    void open();

    void checkAll();
    void clearAll();
    // For the selected rows; the button shows the no-selection notice when
    // none is selected, the menu command shows nothing. True when the
    // dialog ran.
    bool selectCharacters(bool fromButton);
    // The double click: the first selected row alone. True when confirmed.
    bool selectCharactersOfFirstSelectedRow();
    // The folder dialog, then the load of the folder it names.
    bool openFolder();
    // A folder picked without the dialog (from the recent folders, or
    // dropped on the window) goes the dialog's way after its OK: it becomes
    // the newest folder of the history, a folder that is not there is
    // reported, and one that is there is loaded. True when it was loaded.
    bool openFolder(std::string_view folder);
    // A folder load shows its progress only once it has run this long
    // (milliseconds): a folder that loads in a moment shows none.
    static constexpr int LoadProgressDelay = 200;
    // The folders chosen before, newest first, at most this many.
    static constexpr std::size_t RecentFolderCount = 10;
    std::vector<FCString> recentFolders() const;
    // The find dialog, then the row of the file is selected; the row, or -1.
    int find();
    // The row the last find selected, or -1.
    int lastFoundRow() const { return m_lastFound; }
    void showWordCounts();
    // The page-count estimate over the ticked rows and its notice (none
    // after a cancel); the total or -1.
    int64_t estimatePages();
    // The check-list dialog, then the lists it asks for. What the lists
    // came to, or nothing when the dialog was cancelled.
    std::optional<CheckListReport::Outcome> writeCheckLists();
    void showAbout();
    // The print settings dialog in its settings form (purpose 0) or its
    // print-start form (1). On OK the application takes the settings over
    // and they are saved into the scenario folder's settings file. True
    // when confirmed.
    bool editPrintSettings(int purpose);
    // The print-start form of the dialog, then the run over the ticked
    // rows: whole scripts, or with a selection only its lines (see
    // PrintRun::setLineSelection), the print record keeping the scenes of
    // recorded when given. Without a selection the form offers
    // "変更された台詞のみ": confirmed, the changes since the last print or
    // against the older folder are looked for, and the run prints their
    // pickup scripts (a notice and no run when the folder is not there, a
    // scene could not be compared, or nothing is to be recorded again). The
    // outcome of the run, or nothing when none was made.
    std::optional<PrintRun::Outcome> print(const LineSelection* selection = nullptr,
                                           const std::set<std::string>* recorded = nullptr);
    // The conversion dialog over the application's conversion state.
    void convertSources();
    // The delivered-voices dialog over the loaded scenario; its print of
    // the missing lines goes through print().
    void checkDeliveredVoices();
    // The change-check dialog over the loaded scenario; its print of the
    // pickup scripts goes through print().
    void checkChanges();

private:
    bool run(int id, bool fromButton);
    // The print settings dialog; with source, offering the choice of changed
    // lines, whose confirmed source it gets (nothing when not ticked).
    bool editPrintSettings(int purpose, std::optional<ChangeCheck::Source>* source);
    // The pickup scripts of the changes against source into selection, and
    // the scenes a print of them may record; false, the user told why
    // (nothing after a cancel), when there is nothing to print.
    bool selectChanges(const ChangeCheck::Source& source, LineSelection& selection,
                       std::set<std::string>& recordable);
    bool loadChosenFolder(const FolderSelectionModel& model);
    // The scenario folder into the catalogue, the window showing it.
    FolderLoad loadFolder();

    Quillon& m_app;
    MainWindowModel& m_window;
    ProgramEnvironment& m_environment;
    Dialogs m_dialogs;
    int m_lastFound = -1;
};
