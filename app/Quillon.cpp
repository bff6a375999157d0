#include "app/Quillon.h"

#include "fc/FCPathName.h"
#include "fc/Notices.h"
#include "format/PrintSettingsStore.h"

Quillon::Quillon()
{
    m_printFormat.setDefaultLogName();
    m_run.logPath = m_printFormat.logName();
}

Quillon::~Quillon() = default;

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
    return {m_scenarioFolder, m_scenarioTotals, m_printFormat, m_run, m_suppressed};
}

FolderLoad Quillon::loadScenarioFolder(Progress& progress, Notices& notices,
                                       const ScriptCatalogue::Display& display)
{
    // A check's counts belong to the folder it was made for.
    m_recordedLines.reset();
    const bool keepTotals = keepWordTotals();
    // The flag holds for one load only.
    setKeepWordTotals(false);

    m_catalogue.setLoadJobs(m_printFormat.jobs());
    const FolderLoad result = m_catalogue.loadFolder(m_scenarioFolder, m_scenarioTotals, keepTotals,
                                                     progress, notices, display);
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
            notices.notice(skipped.noticeText(), "Quillon Utility");
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
