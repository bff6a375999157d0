#include "app/Quillon.h"

#include "app/MainWindowModel.h"
#include "fc/FCPathName.h"
#include "format/PrintSettingsStore.h"
#include "ui/UxDialogs.h"

Quillon::Quillon()
{
    m_printFormat.setDefaultLogName();
    m_run.logPath = m_printFormat.logName();
}

Quillon::~Quillon()
{
    // The rows of an open main window refer to the catalogue's records.
    m_catalogue.clear();
}

void Quillon::setScenarioFolder(std::string_view folder)
{
    if (folder.empty()) {
        m_scenarioFolder.clear();
        return;
    }
    FCPathName path{FCString(folder)};
    path.addSeparator();
    m_scenarioFolder = path.string();
}

ScenarioContext Quillon::context() const
{
    return {m_scenarioFolder, m_catalogue, m_scenarioTotals, m_printFormat, m_run, m_suppressed};
}

FolderLoad Quillon::loadScenarioFolder(MainWindowModel& window)
{
    const bool keepTotals = keepWordTotals();
    // The flag holds for one load only.
    setKeepWordTotals(false);

    ScriptCatalogue::Display display;
    display.started = [&window](const FCString& folder) { window.setFolderText(folder.view()); };
    display.counted = [&window](int32_t records, int32_t noSpeaker) {
        window.setTotalCount(records);
        window.setNoSpeakerCount(noSpeaker);
    };
    const FolderLoad result = m_catalogue.loadFolder(m_scenarioFolder, m_scenarioTotals, keepTotals,
                                                     window.list(), display);
    SkippedFiles skipped = m_catalogue.skippedFiles();
    if (result == FolderLoad::Loaded) {
        const FCString settings = PrintSettingsStore::pathIn(m_scenarioFolder);
        if (!PrintSettingsStore::load(m_printFormat, settings.text()))
            skipped.add(PrintSettingsStore::FileName, SkippedFiles::Reason::SettingsNotAFile);
        rebuildSuppressedCharacters();
    }
    if (!skipped.empty()) {
        if (m_skippedFilesReporter)
            m_skippedFilesReporter(skipped);
        else
            UxDialogs::notice(skipped.noticeText(), "Quillon Utility");
    }
    return result;
}

void Quillon::setFlags(uint32_t flags)
{
    m_run.setSwitches(flags);
    m_shellFlags = flags & ~RunSettings::SwitchMask;
}

void Quillon::setFlag(uint32_t flag, bool on)
{
    setFlags(on ? (flags() | flag) : (flags() & ~flag));
}

void Quillon::rebuildSuppressedCharacters()
{
    m_suppressed.rebuild(m_printFormat.suppressedText().view());
}
