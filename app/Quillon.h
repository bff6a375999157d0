#pragma once

#include "app/InputHistory.h"
#include "app/WindowConfiguration.h"
#include "convert/ConversionState.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCString.h"
#include "format/PrintFormat.h"
#include "format/RunSettings.h"
#include "format/SuppressedCharacters.h"
#include "reports/ScenarioContext.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

class MainWindowModel;
class Notices;
class Progress;

// The application object: what lives for the whole run. The scenario
// folder, the scenario totals, the catalogue of the folder's scenes, the
// print format of the folder, the run settings that the print settings
// dialog confirms (output device, switches, log file, destination folder),
// the characters suppressed in all files, the input histories, the window
// rectangle and the flag word.
//
// Flag word bits: 0 generic script, 1 print log, 4 comment emphasis (the
// run switches, so that flags() & PrinterOptions is the layout engine's
// option word), 30 keep the word totals over the next load, 31 load the
// scenario folder at start.
class Quillon {
public:
    static constexpr uint32_t FlagGenericScript = RunSettings::GenericScript;
    static constexpr uint32_t FlagPrintLog = RunSettings::PrintLog;
    static constexpr uint32_t FlagCommentEmphasis = RunSettings::CommentEmphasis;
    static constexpr uint32_t FlagKeepWordTotals = 1u << 30;
    static constexpr uint32_t FlagLoadAtStart = 1u << 31;
    static constexpr uint32_t InitialFlags = RunSettings::InitialSwitches;
    static constexpr uint32_t PrinterOptions = RunSettings::PrinterOptions;
    static_assert(((FlagKeepWordTotals | FlagLoadAtStart) & RunSettings::SwitchMask) == 0,
                  "the window's own flags lie apart from the run switches");

    static constexpr const char* LogFileName = "quillon.log.txt";

    // The defaults: PNG files, log on into the program folder's
    // "quillon.log.txt", comment emphasis on, generic off, the scenario
    // folder as destination.
    Quillon();
    virtual ~Quillon();

    Quillon(const Quillon&) = delete;
    Quillon& operator=(const Quillon&) = delete;

    // Always absolute and ending with "/" once set (a relative text is taken
    // against the current directory); an empty text leaves no folder.
    const FCString& scenarioFolder() const { return m_scenarioFolder; }
    void setScenarioFolder(std::string_view folder);

    ScriptInfo& scenarioTotals() { return m_scenarioTotals; }
    const ScriptInfo& scenarioTotals() const { return m_scenarioTotals; }
    ScriptCatalogue& catalogue() { return m_catalogue; }
    const ScriptCatalogue& catalogue() const { return m_catalogue; }
    PrintFormat& printFormat() { return m_printFormat; }
    const PrintFormat& printFormat() const { return m_printFormat; }
    RunSettings& runSettings() { return m_run; }
    const RunSettings& runSettings() const { return m_run; }
    InputHistory& histories() { return m_histories; }
    const InputHistory& histories() const { return m_histories; }
    WindowRectangle& windowRectangle() { return m_windowRectangle; }
    const WindowRectangle& windowRectangle() const { return m_windowRectangle; }

    // What the reports work on, for as long as this object lives.
    ScenarioContext context() const;

    // The main window while it is open (not owned).
    MainWindowModel* mainWindow() const { return m_mainWindow; }
    void setMainWindow(MainWindowModel* window) { m_mainWindow = window; }

    // Loads the scenario folder into the catalogue, showing its progress in
    // progress; display (the main window's folder line and counts) follows
    // the load. After a complete load the folder's print settings are read
    // (and written back in their normal form) and the suppressed characters
    // rebuilt. The keep-word-totals flag holds for this one load and is
    // cleared.
    // Files the load left out (see ScriptCatalogue::skippedFiles, plus a
    // settings file that is no file) are told once per load, whatever its
    // result: by default in notices, otherwise through the reporter set
    // here (the batch tool writes them to its error stream).
    FolderLoad loadScenarioFolder(Progress& progress, Notices& notices,
                                  const ScriptCatalogue::Display& display = {});
    void setSkippedFilesReporter(std::function<void(const SkippedFiles&)> reporter)
    {
        m_skippedFilesReporter = std::move(reporter);
    }

    // The recorded lines the last check of a delivery found in the loaded
    // folder's ticked scenes: none before a check, and none again once
    // another load begins (the word-count dialog shows it as "収録数").
    const std::optional<int>& recordedLines() const { return m_recordedLines; }
    void setRecordedLines(std::optional<int> count) { m_recordedLines = count; }

    uint32_t flags() const { return m_run.switches() | m_shellFlags; }
    void setFlags(uint32_t flags);
    bool hasFlag(uint32_t flag) const { return (flags() & flag) == flag; }
    void setFlag(uint32_t flag, bool on);
    uint32_t printerOptions() const { return m_run.printerOptions(); }

    bool genericScript() const { return m_run.genericScript(); }
    void setGenericScript(bool on) { m_run.setGenericScript(on); }
    bool printLog() const { return m_run.printLog(); }
    void setPrintLog(bool on) { m_run.setPrintLog(on); }
    bool commentEmphasis() const { return m_run.commentEmphasis(); }
    void setCommentEmphasis(bool on) { m_run.setCommentEmphasis(on); }
    bool keepWordTotals() const { return hasFlag(FlagKeepWordTotals); }
    void setKeepWordTotals(bool on) { setFlag(FlagKeepWordTotals, on); }
    bool loadAtStart() const { return hasFlag(FlagLoadAtStart); }
    void setLoadAtStart(bool on) { setFlag(FlagLoadAtStart, on); }

    // The device and the PDF bundle switch of the next run. Like the other
    // run settings, the values a folder's settings file holds for them are
    // read into the print format when the folder loads but reach the run
    // only when the print settings dialog is confirmed; until then the run
    // keeps what the program last confirmed (PNG pages, no bundles).
    OutputDevice outputDevice() const { return m_run.device; }
    void setOutputDevice(OutputDevice device) { m_run.device = device; }
    bool bundleByActor() const { return m_run.bundleByActor; }
    void setBundleByActor(bool on) { m_run.bundleByActor = on; }
    const FCString& logPath() const { return m_run.logPath; }
    void setLogPath(std::string_view path) { m_run.logPath.create(256, path); }
    const FCString& destinationFolder() const { return m_run.destinationFolder; }
    void setDestinationFolder(std::string_view folder)
    {
        m_run.destinationFolder.create(256, folder);
    }
    const FCString& destinationOrScenarioFolder() const
    {
        return m_run.destinationOr(m_scenarioFolder);
    }

    // The characters whose scripts are never printed, rebuilt from the print
    // format's suppressed-character text (one name per line).
    const SuppressedCharacters& suppressedCharacters() const { return m_suppressed; }
    void rebuildSuppressedCharacters();
    bool isSuppressed(std::string_view name) const { return m_suppressed.contains(name); }

    // The conversion's survey findings, name definitions and screenplay
    // header: every conversion dialog works on them, and the last run's stay
    // until the next one.
    ConversionState& conversionState() { return m_conversionState; }
    const ConversionState& conversionState() const { return m_conversionState; }

private:
    FCString m_scenarioFolder;
    ScriptInfo m_scenarioTotals;
    ScriptCatalogue m_catalogue;
    std::function<void(const SkippedFiles&)> m_skippedFilesReporter;
    PrintFormat m_printFormat;
    RunSettings m_run;
    SuppressedCharacters m_suppressed;
    InputHistory m_histories;
    WindowRectangle m_windowRectangle;
    ConversionState m_conversionState;
    MainWindowModel* m_mainWindow = nullptr;
    std::optional<int> m_recordedLines;
    // The flag bits that are not run switches (30 and 31).
    uint32_t m_shellFlags = 0;
};
