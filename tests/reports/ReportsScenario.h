#pragma once

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCPathName.h"
#include "fc/Notices.h"
#include "fc/Progress.h"
#include "format/PrintFormat.h"
#include "format/PrintSettingsStore.h"
#include "format/RunSettings.h"
#include "format/SuppressedCharacters.h"
#include "reports/ScenarioContext.h"

#include <string_view>

// What the reports work on, held the way the application holds it: a
// scenario folder loaded into a catalogue, its print format read from the
// folder, run settings at their defaults.
class ReportsScenario {
public:
    ReportsScenario()
    {
        m_format.setDefaultLogName();
        m_run.logPath = m_format.logName();
    }

    void setScenarioFolder(std::string_view folder)
    {
        FCPathName path{FCString(folder)};
        path.addSeparator();
        m_folder = path.string();
    }
    bool loadScenarioFolder(Progress& progress, Notices& notices)
    {
        if (m_catalogue.loadFolder(m_folder, m_totals, false, progress, notices) !=
            FolderLoad::Loaded)
            return false;
        PrintSettingsStore::load(m_format, PrintSettingsStore::pathIn(m_folder).text());
        rebuildSuppressedCharacters();
        return true;
    }
    void rebuildSuppressedCharacters() { m_suppressed.rebuild(m_format.suppressedText().view()); }

    ScriptCatalogue& catalogue() { return m_catalogue; }
    ScriptInfo& scenarioTotals() { return m_totals; }
    PrintFormat& printFormat() { return m_format; }
    const FCString& scenarioFolder() const { return m_folder; }

    void setOutputDevice(OutputDevice device) { m_run.device = device; }
    void setDestinationFolder(std::string_view folder)
    {
        m_run.destinationFolder = FCString(folder);
    }
    void setLogPath(std::string_view path) { m_run.logPath = FCString(path); }
    void setGenericScript(bool on) { m_run.setGenericScript(on); }
    void setCommentEmphasis(bool on) { m_run.setCommentEmphasis(on); }
    void setPrintLog(bool on) { m_run.setPrintLog(on); }
    void setBundleByActor(bool on) { m_run.bundleByActor = on; }

    operator ScenarioContext() const { return {m_folder, m_totals, m_format, m_run, m_suppressed}; }

private:
    FCString m_folder;
    ScriptCatalogue m_catalogue;
    ScriptInfo m_totals;
    PrintFormat m_format;
    RunSettings m_run;
    SuppressedCharacters m_suppressed;
};
