#pragma once

#include "fc/FCString.h"
#include "format/OutputDevice.h"
#include "format/TypesettingOptions.h"

#include <cstdint>
#include <string_view>
#include <vector>

// How a voice-recording script is printed: the print mode (three fixed
// presets or a custom format), the faces and weights, sizes and counts, the
// output device, the print log, the destination folder, the characters whose
// scripts are never printed, the switches and the background of user
// comments. Consumers read the effective values (fontSize(), targetFace() and
// so on), never the custom fields, which count only in custom mode.
//
// A plain value: copying copies every field.
class PrintFormat {
public:
    // Print modes. Any other value prints as PRESET-14p.
    static constexpr int ModeCustom = 0;
    static constexpr int ModePreset14 = 1;
    static constexpr int ModePreset16 = 2;
    static constexpr int ModePreset18 = 3;

    // Bits of flags(); the others keep their value and mean nothing here.
    static constexpr uint32_t FlagLog = 1;
    static constexpr uint32_t FlagGeneric = 2;
    static constexpr uint32_t FlagCommentEmphasis = 4;
    static constexpr uint32_t FlagAutoCalc = 1u << 24;

    // Backgrounds of user comments (customModeEmphasis()).
    static constexpr int EmphasisNone = 0;
    static constexpr int EmphasisFill = 1;
    static constexpr int EmphasisMesh2 = 2;
    static constexpr int EmphasisMesh3 = 3;
    static constexpr int EmphasisMesh4 = 4;

    // Faces and weights are indexed: 0 the target character's lines, 1 the
    // other characters' lines, 2 comments and explanations.
    static constexpr int FaceCount = 3;

    PrintFormat();

    // The default print log beside the program, "quillon.log.txt".
    void setDefaultLogName();

    int mode() const { return m_mode; }
    void setMode(int mode) { m_mode = mode; }

    const FCString& defaultFont(int face) const;
    void setDefaultFont(int face, const FCString& name);
    const FCString& customFontName(int face) const;
    int customWeight(int face) const;
    // The dialog sets a custom face always together with its weight.
    void setCustomFont(int face, const FCString& name, int weight);

    int customFontSize() const { return m_customFontSize; }
    void setCustomFontSize(int value) { m_customFontSize = value; }
    int customLineWidth() const { return m_customLineWidth; }
    void setCustomLineWidth(int value) { m_customLineWidth = value; }
    int customLinesPerPage() const { return m_customLinesPerPage; }
    void setCustomLinesPerPage(int value) { m_customLinesPerPage = value; }
    int customCharsPerLine() const { return m_customCharsPerLine; }
    void setCustomCharsPerLine(int value) { m_customCharsPerLine = value; }

    uint32_t flags() const { return m_flags; }
    void setFlags(uint32_t flags) { m_flags = flags; }
    bool hasFlag(uint32_t flag) const { return (m_flags & flag) != 0; }
    void setFlag(uint32_t flag, bool on);
    // The log switch and the log file go together; an absent name clears it.
    void setLog(bool on, const char* name);

    OutputDevice device() const { return m_device; }
    void setDevice(OutputDevice device) { m_device = device; }
    const FCString& logName() const { return m_logName; }
    void setLogName(const FCString& name) { m_logName = name; }
    const FCString& destFolder() const { return m_destFolder; }
    void setDestFolder(const FCString& folder) { m_destFolder = folder; }
    // PDF output: one file per actor rather than one per script.
    bool bundleByActor() const { return m_bundleByActor; }
    void setBundleByActor(bool on) { m_bundleByActor = on; }
    // Line breaking, upright digits and readings; all off by default.
    const TypesettingOptions& typesetting() const { return m_typesetting; }
    void setTypesetting(const TypesettingOptions& options) { m_typesetting = options; }
    // The worker threads of estimates and print runs: 0 for one per core
    // (the default); a value below 0 is taken as 0.
    int jobs() const { return m_jobs; }
    void setJobs(int jobs) { m_jobs = jobs > 0 ? jobs : 0; }

    int customModeEmphasis() const { return m_customModeEmphasis; }
    void setCustomModeEmphasis(int value) { m_customModeEmphasis = value; }
    uint8_t customColEmphasis() const { return m_customColEmphasis; }
    // Only the low 8 bits remain: 256 is 0, 300 is 44.
    void setCustomColEmphasis(int32_t value) { m_customColEmphasis = uint8_t(value & 0xFF); }

    // Effective values of the current mode.
    int fontSize() const;
    int lineWidth() const;
    int linesPerPage() const;
    int charsPerLine() const;
    const FCString& targetFace() const;
    int targetWeight() const;
    const FCString& generalFace() const;
    int generalWeight() const;
    const FCString& commentFace() const;
    int commentWeight() const;

    // Lines per page and characters per line that fit font height f and line
    // pitch w; nothing changes when either is below 1.
    static void autoCalculate(int fontSize, int lineWidth, int& linesPerPage, int& charsPerLine);

    // The characters whose scripts are never printed: as stored, each name
    // followed by "\n", and as a list of the same names. Both are always
    // rebuilt together.
    const FCString& suppressedText() const { return m_suppressedText; }
    void setSuppressedText(const FCString& text);
    void rebuildSuppressed(const std::vector<FCString>& names);
    const std::vector<FCString>& suppressedNames() const { return m_suppressedNames; }
    // Byte-wise and case-sensitive; nobody is suppressed while the list is
    // empty.
    bool isSuppressed(std::string_view name) const;
    bool isSuppressed(const FCString& name) const { return isSuppressed(name.view()); }
    bool isSuppressed(const char* name) const { return isSuppressed(std::string_view(name)); }

private:
    // Which row of the preset table the mode prints with; custom mode has
    // none.
    struct Preset {
        int fontSize;
        int lineWidth;
        int linesPerPage;
        int charsPerLine;
    };
    const Preset& preset() const;
    bool isCustom() const { return m_mode == ModeCustom; }
    static void checkFace(int face);

    int m_mode = ModePreset14;
    FCString m_defaultFont[FaceCount];
    FCString m_customFontName[FaceCount];
    int m_customWeight[FaceCount] = {700, 400, 700};
    int m_customFontSize = 14;
    int m_customLineWidth = 20;
    int m_customLinesPerPage = 43;
    int m_customCharsPerLine = 40;
    uint32_t m_flags = FlagLog;
    OutputDevice m_device = OutputDevice::Png;
    FCString m_logName;
    FCString m_destFolder;
    bool m_bundleByActor = false;
    TypesettingOptions m_typesetting;
    int m_jobs = 0;
    FCString m_suppressedText;
    std::vector<FCString> m_suppressedNames;
    int m_customModeEmphasis = EmphasisNone;
    uint8_t m_customColEmphasis = 128;
};
