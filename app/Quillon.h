#pragma once

#include "app/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCString.h"
#include "fc/FCXList.h"
#include "format/PrintFormat.h"

#include <cstdint>
#include <string_view>

class MainWindowModel;

// The application object: what lives for the whole run. The scenario
// folder, the scenario totals, the catalogue of the folder's scenes, the
// print format of the folder, the run settings that the print settings
// dialog confirms (output device, switches, log file, destination folder),
// the list of characters suppressed in all files and the flag word.
//
// Flag word bits: 0 generic script, 1 print log, 4 comment emphasis (the
// run switches, so that flags() & PrinterOptions is the layout engine's
// option word), 30 keep the word totals over the next load, 31 load the
// scenario folder at start.
class Quillon {
public:
    static constexpr uint32_t FlagGenericScript = 1u << 0;
    static constexpr uint32_t FlagPrintLog = 1u << 1;
    static constexpr uint32_t FlagCommentEmphasis = 1u << 4;
    static constexpr uint32_t FlagKeepWordTotals = 1u << 30;
    static constexpr uint32_t FlagLoadAtStart = 1u << 31;
    // Log on and comment emphasis on, generic off.
    static constexpr uint32_t InitialFlags = FlagPrintLog | FlagCommentEmphasis;
    // The bits handed to the layout engine as its option word.
    static constexpr uint32_t PrinterOptions = FlagGenericScript | FlagCommentEmphasis;

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

    // The main window while it is open (not owned).
    MainWindowModel* mainWindow() const { return m_mainWindow; }
    void setMainWindow(MainWindowModel* window) { m_mainWindow = window; }

    // Loads the scenario folder into the main window's list.
    bool loadScenarioFolder(MainWindowModel& window);

    uint32_t flags() const { return m_flags; }
    void setFlags(uint32_t flags) { m_flags = flags; }
    bool hasFlag(uint32_t flag) const { return (m_flags & flag) == flag; }
    void setFlag(uint32_t flag, bool on);
    uint32_t printerOptions() const { return m_flags & PrinterOptions; }

    bool genericScript() const { return hasFlag(FlagGenericScript); }
    void setGenericScript(bool on) { setFlag(FlagGenericScript, on); }
    bool printLog() const { return hasFlag(FlagPrintLog); }
    void setPrintLog(bool on) { setFlag(FlagPrintLog, on); }
    bool commentEmphasis() const { return hasFlag(FlagCommentEmphasis); }
    void setCommentEmphasis(bool on) { setFlag(FlagCommentEmphasis, on); }
    bool keepWordTotals() const { return hasFlag(FlagKeepWordTotals); }
    void setKeepWordTotals(bool on) { setFlag(FlagKeepWordTotals, on); }
    bool loadAtStart() const { return hasFlag(FlagLoadAtStart); }
    void setLoadAtStart(bool on) { setFlag(FlagLoadAtStart, on); }

    // PrintFormat::DevicePrinter, DeviceBmp or DevicePng.
    int outputDevice() const { return m_outputDevice; }
    void setOutputDevice(int device) { m_outputDevice = device; }
    const FCString& logPath() const { return m_logPath; }
    void setLogPath(std::string_view path) { m_logPath.create(256, path); }
    // Empty until a destination is confirmed; then the scenario folder
    // stands for it (destinationOrScenarioFolder).
    const FCString& destinationFolder() const { return m_destinationFolder; }
    void setDestinationFolder(std::string_view folder) { m_destinationFolder.create(256, folder); }
    const FCString& destinationOrScenarioFolder() const;

    // The characters whose scripts are never printed, rebuilt from the print
    // format's suppressed-character text (one name per line).
    const FCXList<FCString>& suppressedCharacters() const { return m_suppressed; }
    void rebuildSuppressedCharacters();
    // Byte-wise; nobody is suppressed while the list is empty.
    bool isSuppressed(std::string_view name) const;

private:
    FCString m_scenarioFolder;
    ScriptInfo m_scenarioTotals;
    ScriptCatalogue m_catalogue;
    PrintFormat m_printFormat;
    MainWindowModel* m_mainWindow = nullptr;
    FCString m_destinationFolder;
    FCString m_logPath;
    FCXList<FCString> m_suppressed;
    int m_outputDevice = PrintFormat::DevicePng;
    uint32_t m_flags = InitialFlags;
};
