#include "app/MainWindowCommands.h"

#include "app/AboutModel.h"
#include "app/ChangeCheckDialogModel.h"
#include "app/CharacterSelectionModel.h"
#include "app/CheckListDialogModel.h"
#include "app/ConversionDialogModel.h"
#include "app/FindFileModel.h"
#include "app/FolderSelectionModel.h"
#include "app/MainWindowModel.h"
#include "app/PrintSettingsDialogModel.h"
#include "app/ProgramEnvironment.h"
#include "app/Quillon.h"
#include "app/VoiceCheckDialogModel.h"
#include "app/WindowOperation.h"
#include "fc/Diagnostic.h"
#include "fc/FCXListIterator.h"
#include "format/PrintSettingsStore.h"
#include "platform/FontEngine.h"
#include "platform/Trace.h"
#include "render/LineSelection.h"
#include "reports/CharacterSelection.h"
#include "reports/PageCountEstimate.h"
#include "ui/UxProgressDialog.h"

#include <string>
#include <vector>

MainWindowCommands::MainWindowCommands(Quillon& app, MainWindowModel& window,
                                       ProgramEnvironment& environment, Dialogs dialogs)
    : m_app(app), m_window(window), m_environment(environment), m_dialogs(std::move(dialogs))
{
}

MainWindowCommands::~MainWindowCommands() = default;

bool MainWindowCommands::dispatch(int id, bool fromButton)
{
    // A command that raised was a known one: only those do anything.
    bool known = true;
    (void)WindowOperation::completed([&] { known = run(id, fromButton); });
    return known;
}

bool MainWindowCommands::run(int id, bool fromButton)
{
    if (fromButton) {
        switch (id) {
        case CheckAll:
            checkAll();
            return true;
        case ClearAll:
            clearAll();
            return true;
        case SelectCharacters:
            selectCharacters(true);
            return true;
        case PrintSettings:
            editPrintSettings(PrintSettingsDialogModel::Settings);
            return true;
        case Print:
            print();
            return true;
        default:
            return false;
        }
    }
    switch (id) {
    case MenuOpenFolder:
        openFolder();
        return true;
    case MenuCheckList:
        writeCheckLists();
        return true;
    case MenuFind:
        find();
        return true;
    case MenuSelectCharacters:
        selectCharacters(false);
        return true;
    case MenuWordCounts:
        showWordCounts();
        return true;
    case MenuConvert:
        convertSources();
        return true;
    case MenuDeliveredVoices:
        checkDeliveredVoices();
        return true;
    case MenuChangeCheck:
        checkChanges();
        return true;
    case MenuPageCount:
        estimatePages();
        return true;
    case MenuAbout:
        showAbout();
        return true;
    default:
        return false;
    }
}

void MainWindowCommands::open()
{
    m_app.setMainWindow(&m_window);
    // The list shows the emptied catalogue: no rows, its columns defined.
    UxListViewControl& list = m_window.list();
    list.redrawOff();
    m_app.catalogue().clear();
    list.redrawOn();
    if (m_app.loadAtStart()) {
        m_app.setLoadAtStart(false);
        (void)WindowOperation::completed([&] { (void)loadFolder(); });
    }
}

FolderLoad MainWindowCommands::loadFolder()
{
    UxProgressDialog progress(m_environment.progressView());
    progress.setShowDelay(LoadProgressDelay);
    return m_app.loadScenarioFolder(progress, m_environment.notices(), m_window.loadDisplay());
}

void MainWindowCommands::checkAll()
{
    m_app.catalogue().setAllTicked(true);
}

void MainWindowCommands::clearAll()
{
    m_app.catalogue().setAllTicked(false);
}

bool MainWindowCommands::selectCharacters(bool fromButton)
{
    if (!m_dialogs.characterSelection)
        return false;
    if (m_window.list().nextSelectedRow() < 0) {
        if (fromButton)
            m_environment.notices().notice(CharacterSelection::noSelectionMessage());
        return false;
    }
    return CharacterSelectionModel::selectForEntries(
        m_app.catalogue(), m_window.rows().selectedEntries(), m_dialogs.characterSelection);
}

bool MainWindowCommands::selectCharactersOfFirstSelectedRow()
{
    const int row = m_window.list().nextSelectedRow();
    if (row < 0 || !m_dialogs.characterSelection)
        return false;
    return CharacterSelectionModel::selectForEntry(
        m_app.catalogue(), m_window.rows().entryOfRow(row), m_dialogs.characterSelection);
}

bool MainWindowCommands::openFolder()
{
    if (!m_dialogs.folder)
        return false;
    FolderSelectionModel model(m_app.histories(), m_app.scenarioFolder(), m_environment.notices());
    if (!m_dialogs.folder(model))
        return false;
    // The request holds for the next load, even when this folder is not
    // there.
    if (model.keepWordTotalsRequested())
        m_app.setKeepWordTotals(true);
    return loadChosenFolder(model);
}

bool MainWindowCommands::openFolder(std::string_view folder)
{
    FolderSelectionModel model(m_app.histories(), m_app.scenarioFolder(), m_environment.notices());
    if (!model.accept(folder, false))
        return false;
    return loadChosenFolder(model);
}

bool MainWindowCommands::loadChosenFolder(const FolderSelectionModel& model)
{
    FCString folder;
    if (!model.resolve(folder))
        return false;
    m_app.setScenarioFolder(folder.view());
    bool loaded = false;
    (void)WindowOperation::completed([&] { loaded = loadFolder() == FolderLoad::Loaded; });
    return loaded;
}

std::vector<FCString> MainWindowCommands::recentFolders() const
{
    const std::vector<FCString>& oldestFirst =
        m_app.histories().entries(FolderSelectionModel::HistorySlot);
    std::vector<FCString> newestFirst;
    for (auto it = oldestFirst.rbegin();
         it != oldestFirst.rend() && newestFirst.size() < RecentFolderCount; ++it)
        newestFirst.push_back(*it);
    return newestFirst;
}

int MainWindowCommands::find()
{
    m_lastFound = -1;
    if (!m_dialogs.find)
        return -1;
    FindFileModel model(m_app.histories());
    if (!m_dialogs.find(model))
        return -1;
    m_lastFound = FindFileModel::run(m_window.list(), model.value());
    return m_lastFound;
}

void MainWindowCommands::showWordCounts()
{
    if (m_dialogs.wordCounts)
        m_dialogs.wordCounts(m_app.scenarioTotals());
}

int64_t MainWindowCommands::estimatePages()
{
    PageCountEstimate estimate(m_app.context());
    UxProgressDialog progress(m_environment.progressView());
    const int64_t total = estimate.run(m_app.catalogue(), false, progress);
    if (total != PageCountEstimate::Cancelled)
        m_environment.notices().notice(PageCountEstimate::message(total).view());
    return total;
}

std::optional<CheckListReport::Outcome> MainWindowCommands::writeCheckLists()
{
    if (!m_dialogs.checkList)
        return std::nullopt;
    CheckListDialogModel model(m_app.scenarioFolder(), CheckListOptions(), m_environment.notices());
    if (!m_dialogs.checkList(model))
        return std::nullopt;
    UxProgressDialog progress(m_environment.progressView());
    return CheckListReport::run(m_app.context(), m_app.catalogue(), model.folder(), model.options(),
                                progress, m_environment.notices());
}

void MainWindowCommands::showAbout()
{
    if (!m_dialogs.about)
        return;
    AboutModel model;
    m_dialogs.about(model);
}

bool MainWindowCommands::editPrintSettings(int purpose)
{
    return editPrintSettings(purpose, nullptr);
}

bool MainWindowCommands::editPrintSettings(int purpose, std::optional<ChangeCheck::Source>* source)
{
    if (!m_dialogs.printSettings)
        return false;
    std::vector<FCString> characters;
    FCXListIterator<FCIdString> walk(m_app.scenarioTotals().characters());
    while (const FCIdString* character = walk.next())
        characters.emplace_back(character->view());
    // The list shows the names suppressed in the print format as it stands.
    m_app.rebuildSuppressedCharacters();
    PrintSettingsDialogModel model(
        m_environment.notices(),
        purpose == PrintSettingsDialogModel::PrintStart ? PrintSettingsDialogModel::PrintStart
                                                        : PrintSettingsDialogModel::Settings,
        m_app.printFormat(), m_app.runSettings(), m_app.scenarioFolder(),
        m_app.suppressedCharacters().names(), characters, FontEngine::instance().verticalFaces());
    if (source)
        model.offerChanges(m_app.histories().entries(ChangeCheck::HistorySlot));
    if (!m_dialogs.printSettings(model) || !model.apply(m_app.printFormat(), m_app.runSettings()))
        return false;
    if (source && model.changesOnly())
        *source = model.changesSource();
    m_app.rebuildSuppressedCharacters();
    // Without a loaded folder there is no settings file to keep them in;
    // they hold for this run of the program.
    if (!m_app.scenarioFolder().isEmpty()) {
        try {
            PrintSettingsStore::save(m_app.printFormat(),
                                     PrintSettingsStore::pathIn(m_app.scenarioFolder()).text());
        } catch (const Diagnostic& error) {
            // The file layer has told the user; the settings hold for now.
            Trace::write("MainWindowCommands: settings not saved: " + error.message() + "\n");
        }
    }
    return true;
}

std::optional<PrintRun::Outcome> MainWindowCommands::print(const LineSelection* selection,
                                                           const std::set<std::string>* recorded)
{
    // A selection made elsewhere is printed as it is: no choice of lines.
    std::optional<ChangeCheck::Source> changes;
    if (!editPrintSettings(PrintSettingsDialogModel::PrintStart, selection ? nullptr : &changes))
        return std::nullopt;
    LineSelection pickup;
    std::set<std::string> recordable;
    if (changes) {
        if (!selectChanges(*changes, pickup, recordable))
            return std::nullopt;
        selection = &pickup;
        // Against another folder the record is not what the lines were
        // compared with: a partial run keeps none of them.
        recorded = changes->sincePrint ? &recordable : nullptr;
    }
    PrintRun run(m_app.context());
    run.setLineSelection(selection);
    if (recorded)
        run.setRecordedScenes(*recorded);
    if (m_dialogs.openLog)
        run.setOpener(m_dialogs.openLog);
    UxProgressDialog progress(m_environment.progressView());
    const PrintRun::Outcome outcome = run.printAll(m_app.catalogue(), progress);
    // Pages that reached no file or printer get one notice after the run.
    if (const FCString notice = PrintRun::lostPagesNotice(outcome); !notice.isEmpty())
        m_environment.notices().notice(notice.view());
    if (const FCString notice = PrintRun::recordNotice(outcome); !notice.isEmpty())
        m_environment.notices().notice(notice.view());
    return outcome;
}

bool MainWindowCommands::selectChanges(const ChangeCheck::Source& source, LineSelection& selection,
                                       std::set<std::string>& recordable)
{
    Notices& notices = m_environment.notices();
    std::string oldFolder, message;
    if (!ChangeCheck::oldFolderOf(source, oldFolder, message)) {
        notices.notice(message);
        return false;
    }
    if (!source.sincePrint)
        m_app.histories().add(ChangeCheck::HistorySlot, source.folderText);
    ChangeCheck::Outcome outcome;
    {
        UxProgressDialog progress(m_environment.progressView());
        outcome = ChangeCheck::compare(m_app, oldFolder, progress);
    }
    if (outcome.cancelled)
        return false;
    // As the batch tool does: a scene left uncompared could hide lines to
    // record again, so nothing is printed.
    if (const std::string problem = ChangeCheck::problem(outcome); !problem.empty()) {
        notices.notice(problem);
        return false;
    }
    if (ChangeCheck::select(outcome.changes, selection) == 0) {
        notices.notice(ChangeCheck::nothingToPrint());
        return false;
    }
    recordable = std::move(outcome.recordable);
    return true;
}

void MainWindowCommands::convertSources()
{
    if (!m_dialogs.conversion)
        return;
    ConversionDialogModel model(m_app.conversionState(), m_environment.notices(),
                                m_environment.progressView());
    model.jobs = m_app.printFormat().jobs();
    m_dialogs.conversion(model);
}

void MainWindowCommands::checkDeliveredVoices()
{
    if (!m_dialogs.deliveredVoices)
        return;
    VoiceCheckDialogModel model(m_app, m_environment.notices(), m_environment.progressView(),
                                m_environment.clock());
    model.setMissingLinesPrinter(
        [this](const LineSelection& selection) { (void)print(&selection); });
    m_dialogs.deliveredVoices(model);
}

void MainWindowCommands::checkChanges()
{
    if (!m_dialogs.changeCheck)
        return;
    ChangeCheckDialogModel model(m_app, m_environment.progressView());
    model.setPrinter([this](const LineSelection& selection, const std::set<std::string>* recorded) {
        (void)print(&selection, recorded);
    });
    m_dialogs.changeCheck(model);
}
